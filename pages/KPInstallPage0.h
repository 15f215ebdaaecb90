#pragma once
#include <string>

#include "pages/KPInstallPage.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/VerticalLayoutUI.h"

// The welcome page ("verroot0", virtual window "install0"): "立即安装", the agreement check box with
// its link "同意《用户协议》", the custom-install link and the title bar's minimise and close buttons.
class CKPInstallPage0 : public CKPInstallPage {
public:
    CKPInstallPage0(SkinUI::CPaintManagerUI* paintManager, const PageServices& services);

    void Init() override;
    void OnClick(SkinUI::TNotifyUI& msg);
    // The agreement box enables or disables both ways on ("立即安装" and the custom link).
    void OnSelectChanged(SkinUI::TNotifyUI& msg);

private:
    SkinUI::ControlRef<SkinUI::CVerticalLayoutUI> verroot0;
    SkinUI::ControlRef<SkinUI::CButtonUI> minbtn;
    SkinUI::ControlRef<SkinUI::CButtonUI> closebtn;
    SkinUI::ControlRef<SkinUI::COptionUI> protocalOpt;
    SkinUI::ControlRef<SkinUI::CButtonUI> installBtn;
    SkinUI::ControlRef<SkinUI::CButtonUI> kp_btn_protocal;
    SkinUI::ControlRef<SkinUI::CButtonUI> customBtn;
};

// The licence agreement on the vendor's web server, over HTTPS from the package's host.
std::wstring AgreementAddress();
