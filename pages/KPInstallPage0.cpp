#include "pages/KPInstallPage0.h"

#include "pages/InstallEvents.h"
#include "pages/VendorAddress.h"

using SkinUI::TNotifyUI;

CKPInstallPage0::CKPInstallPage0(SkinUI::CPaintManagerUI* paintManager, const PageServices& services)
    : CKPInstallPage(paintManager, services)
{
    MapNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
    MapNotify(L"selectchanged", [this](TNotifyUI& msg) { OnSelectChanged(msg); });
}

void CKPInstallPage0::Init()
{
    verroot0 = Bind<SkinUI::CVerticalLayoutUI>(L"verroot0");
    minbtn = Bind<SkinUI::CButtonUI>(L"minbtn");
    closebtn = Bind<SkinUI::CButtonUI>(L"closebtn");
    protocalOpt = Bind<SkinUI::COptionUI>(L"protocalOpt");
    installBtn = Bind<SkinUI::CButtonUI>(L"installBtn");
    kp_btn_protocal = Bind<SkinUI::CButtonUI>(L"kp_btn_protocal");
    customBtn = Bind<SkinUI::CButtonUI>(L"customBtn");
}

void CKPInstallPage0::OnClick(TNotifyUI& msg)
{
    if (IsFrom(msg, minbtn)) {
        Minimize();
    } else if (IsFrom(msg, closebtn)) {
        ConfirmClose();
    } else if (IsFrom(msg, installBtn)) {
        SendEvent(EVENT_SHOW_PAGE, PAGE_PROGRESS, 0);
    } else if (IsFrom(msg, customBtn)) {
        SendEvent(EVENT_SHOW_PAGE, PAGE_OPTIONS, 0);
    } else if (IsFrom(msg, kp_btn_protocal)) {
        m_services.openAddress(AgreementAddress());
    }
}

void CKPInstallPage0::OnSelectChanged(TNotifyUI& msg)
{
    if (!IsFrom(msg, protocalOpt) || !GetOwner()) return;
    // A disabled button ignores clicks, so without the agreement nothing moves on.
    const bool agreed = protocalOpt->IsSelected();
    if (installBtn) installBtn->SetEnabled(agreed);
    if (customBtn) customBtn->SetEnabled(agreed);
}

std::wstring AgreementAddress() { return VendorAddress(L"/agreement.html"); }
