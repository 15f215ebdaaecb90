#pragma once
#include <windows.h>

#include "pages/KPInstallPage.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/VerticalLayoutUI.h"

// The progress page ("verroot2", virtual window "install2"): the bar and the line under it. The
// install flow decides the percentage and pushes it here with SetProgress.
class CKPInstallPage2 : public CKPInstallPage {
public:
    CKPInstallPage2(SkinUI::CPaintManagerUI* paintManager, const PageServices& services);

    // Binds the controls and empties the bar; the line keeps the layout's text until the first
    // SetProgress.
    void Init() override;
    void OnClick(SkinUI::TNotifyUI& msg);

    // Shows the whole percent of `value` in the line and the bar. The line shows any number; the
    // bar ignores one outside its range and keeps its value.
    void SetProgress(double value);

    // Every timer message of the main window comes here too. Nothing to do; always 0.
    int OnTimer(UINT message, WPARAM timerId, LPARAM timerData, BOOL& handled);

private:
    SkinUI::ControlRef<SkinUI::CVerticalLayoutUI> verroot2;
    SkinUI::ControlRef<SkinUI::CButtonUI> minbtn2;
    SkinUI::ControlRef<SkinUI::CButtonUI> closebtn2;
    SkinUI::ControlRef<SkinUI::CProgressUI> installPrg;
    SkinUI::ControlRef<SkinUI::CLabelUI> installproglab;
};
