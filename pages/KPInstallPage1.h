#pragma once
#include <string>

#include "pages/KPInstallPage.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/HorizontalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/VerticalLayoutUI.h"

// The options page ("verroot1", virtual window "install1"): the install folder with "修改", the
// desktop-shortcut box, "返回" and "立即安装". It edits the process's InstallSettings.
class CKPInstallPage1 : public CKPInstallPage {
public:
    CKPInstallPage1(SkinUI::CPaintManagerUI* paintManager, const PageServices& services);

    // Binds the controls, shows installDir and sets both boxes from the settings.
    void Init() override;
    void OnClick(SkinUI::TNotifyUI& msg);
    // A box that changes changes its setting: desktopShortCutOpt -> desktopShortcut,
    // addtaskbarOpt -> addToTaskbar.
    void OnSelectChanged(SkinUI::TNotifyUI& msg);

private:
    // Asks for a folder; the install folder becomes the chosen one + "\KPCapture", unless
    // CheckInstallFolder refuses that (or the chosen path is a file): then a message box titled
    // kFolderRefusedTitle says why, and the folder stays as it was.
    void ChangeInstallFolder();

    SkinUI::ControlRef<SkinUI::CVerticalLayoutUI> verroot1;
    SkinUI::ControlRef<SkinUI::CButtonUI> minbtn1;
    SkinUI::ControlRef<SkinUI::CButtonUI> closebtn1;
    SkinUI::ControlRef<SkinUI::CButtonUI> gobackbtn;
    SkinUI::ControlRef<SkinUI::CButtonUI> installBtn1;
    SkinUI::ControlRef<SkinUI::COptionUI> desktopShortCutOpt;
    SkinUI::ControlRef<SkinUI::COptionUI> addtaskbarOpt;
    SkinUI::ControlRef<SkinUI::CLabelUI> pathLab;
    SkinUI::ControlRef<SkinUI::CButtonUI> modifyBtn;
    SkinUI::ControlRef<SkinUI::CLabelUI> vd_desktop_short_cut;
    SkinUI::ControlRef<SkinUI::CLabelUI> vd_quick_start_up_lab;
    SkinUI::ControlRef<SkinUI::CLabelUI> vd_install_path;
    SkinUI::ControlRef<SkinUI::CHorizontalLayoutUI> vd_hor_path_root;
};

// The install folder for a folder the user picked: the product's folder inside it. The pick is
// taken as it is (a drive root "D:\" gives "D:\\KPCapture").
std::wstring InstallFolderFor(const std::wstring& chosenFolder);

// The title of the message box that refuses a folder.
extern const wchar_t kFolderRefusedTitle[];
