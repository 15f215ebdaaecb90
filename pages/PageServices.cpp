#include "pages/PageServices.h"

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

void TellWithMessageBox(HWND owner, const std::wstring& title, const std::wstring& message)
{
    ShowMessageBox(owner, kProductName, title, message, L"确定", L"", nullptr, kInstallerWindowStyle,
                   kInstallerWindowExStyle, true);
}

}  // namespace

PageServices RealPageServices()
{
    PageServices services;
    services.askClose = AskCloseWithMessageBox;
    // Both go through the desktop's shell, so the browser and the application run as the signed-in
    // user, not with the installer's elevation. A page that fails to open is not reported: the
    // user sees nothing happen and may try again.
    services.openAddress = [](const std::wstring& address) { OpenAsDesktopUser(address); };
    services.startProgram = [](const std::wstring& path) {
        // In its own folder, where the application expects its files.
        const std::size_t slash = path.find_last_of(L'\\');
        OpenAsDesktopUser(path, slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
    };
    services.chooseFolder = ShowShellFolderDialog;
    services.registerProduct = RegisterInstalledProduct;
    services.tell = TellWithMessageBox;
    return services;
}
