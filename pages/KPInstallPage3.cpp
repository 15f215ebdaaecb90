#include "pages/KPInstallPage3.h"

#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/ShellLink.h"
#include "KPCore/inner/UninstallRegistration.h"
#include "pages/InstallSettings.h"

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

void CKPInstallPage3::FinishInstall()
{
    m_finished = true;
    const std::wstring appFolder = GetInstallSettings().GetAppFolder();
    const std::wstring application = appFolder + kAppExeSuffix;
    const std::wstring uninstaller = appFolder + kUninstallerExeSuffix;
    RegisterUninstallEntry(appFolder);
    CreateProgramShortcuts(application, uninstaller, appFolder, kProductName,
                           ShortcutDescription(kProductName, appFolder));
}
