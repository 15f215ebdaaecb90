#pragma once
#include <string>

#include "pages/KPInstallPage.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/VerticalLayoutUI.h"

// The completion page ("verroot3", virtual window "install3"): "安装完成" with "立即体验".
// Leaving it through its buttons does the installer's own share of the installation
// (FinishInstall: the uninstall entry and the Start-menu shortcuts).
class CKPInstallPage3 : public CKPInstallPage {
public:
    CKPInstallPage3(SkinUI::CPaintManagerUI* paintManager, const PageServices& services);

    void Init() override;
    // "立即体验": finish, hide the window, close it and start the application.
    // The close button: asks first; "确定" finishes and closes, "取消" and the box's own close
    // button keep the window open. Either way the window never closes before FinishInstall.
    void OnClick(SkinUI::TNotifyUI& msg);

    // Registers the uninstall entry and makes the Start-menu group with its two shortcuts, all for
    // the application folder of the current settings; running it again rewrites the same entry and
    // shortcuts. When a part cannot be written the heading reads kRegistrationFailedTitle instead
    // of "安装完成" and a message box says so; the window then goes on as asked (the application
    // is installed, so "立即体验" still starts it). True when everything was written.
    bool FinishInstall();
    // FinishInstall has run (the window's close then has nothing left to register).
    bool IsInstallFinished() const { return m_finished; }

private:
    SkinUI::ControlRef<SkinUI::CVerticalLayoutUI> verroot3;
    SkinUI::ControlRef<SkinUI::CButtonUI> minbtn3;
    SkinUI::ControlRef<SkinUI::CButtonUI> closebtn3;
    SkinUI::ControlRef<SkinUI::CButtonUI> completeBtn;
    SkinUI::ControlRef<SkinUI::CLabelUI> completeTitle;
    bool m_finished = false;
};

// The heading and the message box's words when the product could not be registered.
extern const wchar_t kRegistrationFailedTitle[];
extern const wchar_t kRegistrationFailedMessage[];
