#include "pages/KPInstallPage2.h"

#include "pages/ProgressText.h"

using SkinUI::TNotifyUI;

CKPInstallPage2::CKPInstallPage2(SkinUI::CPaintManagerUI* paintManager, const PageServices& services)
    : CKPInstallPage(paintManager, services)
{
    MapNotify(L"click", [this](TNotifyUI& msg) { OnClick(msg); });
}

void CKPInstallPage2::Init()
{
    verroot2 = Bind<SkinUI::CVerticalLayoutUI>(L"verroot2");
    minbtn2 = Bind<SkinUI::CButtonUI>(L"minbtn2");
    closebtn2 = Bind<SkinUI::CButtonUI>(L"closebtn2");
    installPrg = Bind<SkinUI::CProgressUI>(L"installPrg");
    installproglab = Bind<SkinUI::CLabelUI>(L"installproglab");
    if (installPrg) installPrg->SetValue(0);
}

void CKPInstallPage2::OnClick(TNotifyUI& msg)
{
    if (IsFrom(msg, minbtn2)) {
        Minimize();
    } else if (IsFrom(msg, closebtn2)) {
        ConfirmClose();
    }
}

void CKPInstallPage2::SetProgress(double value)
{
    const int percent = TruncatePercent(value);
    if (installproglab) installproglab->SetText(ProgressLine(percent));
    if (installPrg) installPrg->SetValue(percent);
}

int CKPInstallPage2::OnTimer(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
