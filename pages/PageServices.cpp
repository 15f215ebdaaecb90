#include "pages/PageServices.h"

#include <shellapi.h>

#include "KPCore/inner/FolderPicker.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ShellOpen.h"
#include "pages/KPMsgBox.h"
#include "pages/WindowLook.h"

namespace {

int AskCloseWithMessageBox(HWND owner)
{
    return ShowMessageBox(owner, kProductName, L"确定关闭？", L"关闭后将中断安装流程", L"确定", L"取消", nullptr,
                          kInstallerWindowStyle, kInstallerWindowExStyle, true);
}

}  // namespace

PageServices RealPageServices()
{
    PageServices services;
    services.askClose = AskCloseWithMessageBox;
    // A page that fails to open is not reported: the user sees nothing happen and may try again.
    services.openAddress = [](const std::wstring& address) { OpenWithShell(address); };
    services.startProgram = [](const std::wstring& path) {
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    services.chooseFolder = ShowShellFolderDialog;
    return services;
}
