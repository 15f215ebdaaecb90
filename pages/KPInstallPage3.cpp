#include "pages/KPInstallPage3.h"

#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ProductRegistration.h"
#include "pages/InstallSettings.h"

const wchar_t kRegistrationFailedTitle[] = L"未能完成注册";
const wchar_t kRegistrationFailedMessage[] = L"卸载信息或开始菜单快捷方式写入失败，请重新运行安装程序";

using SkinUI::TNotifyUI;

CKPInstallPage3::CKPInstallPage3(SkinUI::CPaintManagerUI* paintManager, const PageServices& services)
    : CKPInstallPage(paintManager, services)
{
    MapNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
}

void CKPInstallPage3::Init()
{
    verroot3 = Bind<SkinUI::CVerticalLayoutUI>(L"verroot3");
    minbtn3 = Bind<SkinUI::CButtonUI>(L"minbtn3");
    closebtn3 = Bind<SkinUI::CButtonUI>(L"closebtn3");
    completeBtn = Bind<SkinUI::CButtonUI>(L"completeBtn");
    completeTitle = Bind<SkinUI::CLabelUI>(L"completeTitle");
}

void CKPInstallPage3::OnClick(TNotifyUI& msg)
{
    if (IsFrom(msg, minbtn3)) {
        Minimize();
    } else if (IsFrom(msg, closebtn3)) {
        // The package has installed the application by now: closing keeps it, so the entry and
        // the shortcuts are made before the window goes.
        if (AskToClose() == 1) {
            FinishInstall();
            PostClose();
        }
    } else if (IsFrom(msg, completeBtn)) {
        FinishInstall();
        // Hidden first, so that no installer window stays next to the starting application.
        if (HWND window = GetWindow()) ::ShowWindow(window, SW_HIDE);
        PostClose();
        m_services.startProgram(GetInstallSettings().GetAppFolder() + kAppExeSuffix);
    }
}

bool CKPInstallPage3::FinishInstall()
{
    m_finished = true;
    const std::wstring appFolder = GetInstallSettings().GetAppFolder();
    WriteLog(m_services.log, L"registering the product in " + appFolder);
    const RegistrationResult result = m_services.registerProduct(appFolder);
    WriteLog(m_services.log, DescribeRegistration(result));
    if (result.Succeeded()) return true;
    // The application is there, but the list of installed programs or the Start menu does not
    // know it: the page no longer claims a finished installation, and the user hears why.
    if (completeTitle) completeTitle->SetText(kRegistrationFailedTitle);
    m_services.tell(GetWindow(), kRegistrationFailedTitle, kRegistrationFailedMessage);
    return false;
}
