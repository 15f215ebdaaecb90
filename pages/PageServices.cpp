#include "pages/PageServices.h"

#include <shellapi.h>

#include <utility>

#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ShellOpen.h"
#include "pages/KPMsgBox.h"

namespace {

PageServices& Current()
{
    static PageServices services = RealPageServices();
    return services;
}

int AskCloseWithMessageBox(HWND owner)
{
    return ShowMessageBox(owner, kProductName, L"确定关闭？", L"关闭后将中断安装流程", L"确定", L"取消", nullptr,
                          0x10CC0000, WS_EX_WINDOWEDGE, true);
}

}  // namespace

const PageServices& GetPageServices() { return Current(); }

PageServices RealPageServices()
{
    PageServices services;
    services.askClose = AskCloseWithMessageBox;
    // A page that fails to open is not reported: the user sees nothing happen and may try again.
    services.openAddress = [](const std::wstring& address) { OpenWithShell(address); };
    services.startProgram = [](const std::wstring& path) {
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    return services;
}

ScopedPageServices::ScopedPageServices(PageServices services) : m_previous(Current())
{
    const PageServices real = RealPageServices();
    if (!services.askClose) services.askClose = real.askClose;
    if (!services.openAddress) services.openAddress = real.openAddress;
    if (!services.startProgram) services.startProgram = real.startProgram;
    Current() = std::move(services);
}

ScopedPageServices::~ScopedPageServices() { Current() = std::move(m_previous); }
