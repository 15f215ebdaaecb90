#include "pages/KPInstallPage1.h"

#include "KPCore/inner/ProductInfo.h"
#include "pages/InstallEvents.h"
#include "pages/InstallFolderRule.h"
#include "pages/InstallSettings.h"

using SkinUI::TNotifyUI;

const wchar_t kFolderRefusedTitle[] = L"无法使用该安装目录";

CKPInstallPage1::CKPInstallPage1(SkinUI::CPaintManagerUI* paintManager, const PageServices& services)
    : CKPInstallPage(paintManager, services)
{
    MapNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
    MapNotify(L"selectchanged", [this](TNotifyUI& msg) { OnSelectChanged(msg); });
}

void CKPInstallPage1::Init()
{
    verroot1 = Bind<SkinUI::CVerticalLayoutUI>(L"verroot1");
    minbtn1 = Bind<SkinUI::CButtonUI>(L"minbtn1");
    closebtn1 = Bind<SkinUI::CButtonUI>(L"closebtn1");
    gobackbtn = Bind<SkinUI::CButtonUI>(L"gobackbtn");
    installBtn1 = Bind<SkinUI::CButtonUI>(L"installBtn1");
    pathLab = Bind<SkinUI::CLabelUI>(L"pathLab");
    modifyBtn = Bind<SkinUI::CButtonUI>(L"modifyBtn");
    vd_desktop_short_cut = Bind<SkinUI::CLabelUI>(L"vd_desktop_short_cut");
    vd_quick_start_up_lab = Bind<SkinUI::CLabelUI>(L"vd_quick_start_up_lab");
    vd_install_path = Bind<SkinUI::CLabelUI>(L"vd_install_path");
    vd_hor_path_root = Bind<SkinUI::CHorizontalLayoutUI>(L"vd_hor_path_root");
    desktopShortCutOpt = Bind<SkinUI::COptionUI>(L"desktopShortCutOpt");
    addtaskbarOpt = Bind<SkinUI::COptionUI>(L"addtaskbarOpt");

    // The first use of the settings: this creates the default folder on disk.
    const InstallSettings& settings = GetInstallSettings();
    if (pathLab) pathLab->SetText(settings.installDir);
    // Both boxes start as the settings say; the notifications this sends only write the same
    // values back.
    if (desktopShortCutOpt) desktopShortCutOpt->Selected(settings.desktopShortcut);
    if (addtaskbarOpt) addtaskbarOpt->Selected(settings.addToTaskbar);
}

void CKPInstallPage1::OnClick(TNotifyUI& msg)
{
    if (IsFrom(msg, minbtn1)) {
        Minimize();
    } else if (IsFrom(msg, closebtn1)) {
        ConfirmClose();
    } else if (IsFrom(msg, installBtn1)) {
        SendEvent(EVENT_SHOW_PAGE, PAGE_PROGRESS, 0);
    } else if (IsFrom(msg, gobackbtn)) {
        SendEvent(EVENT_SHOW_PAGE, PAGE_WELCOME, 0);
    } else if (IsFrom(msg, modifyBtn)) {
        ChangeInstallFolder();
    }
}

void CKPInstallPage1::OnSelectChanged(TNotifyUI& msg)
{
    // Without this the package would be told " -dsc=true" whatever the box shows.
    InstallSettings& settings = GetInstallSettings();
    if (IsFrom(msg, desktopShortCutOpt)) {
        settings.desktopShortcut = desktopShortCutOpt->IsSelected();
    } else if (IsFrom(msg, addtaskbarOpt)) {
        settings.addToTaskbar = addtaskbarOpt->IsSelected();
    }
}

void CKPInstallPage1::ChangeInstallFolder()
{
    InstallSettings& settings = GetInstallSettings();
    const std::wstring chosen = m_services.chooseFolder(settings.installDir, GetWindow());
    if (chosen.empty()) return;  // cancelled
    const std::wstring installDir = InstallFolderFor(chosen);
    // The folder goes to the package on its command line and the application ends up below it:
    // one that would break either is refused, and the folder chosen before stays.
    FolderRefusal refusal = CheckInstallFolder(installDir);
    if (refusal == FolderRefusal::None && CheckInstallFolder(chosen) == FolderRefusal::IsFile)
        refusal = FolderRefusal::IsFile;
    if (refusal != FolderRefusal::None) {
        m_services.tell(GetWindow(), kFolderRefusedTitle, FolderRefusalText(refusal));
        return;
    }
    settings.installDir = installDir;
    if (pathLab) pathLab->SetText(settings.installDir);
}

std::wstring InstallFolderFor(const std::wstring& chosenFolder)
{
    return chosenFolder + L"\\" + kDefaultInstallFolderName;
}
