#pragma once
#include <windows.h>

#include <string>

#include "pages/KPObjectWnd.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/TextUI.h"
#include "ui/core/ControlRef.h"

// The installer's skinned question box, built from "KPMsgBox.xml": a title line, a message, an
// icon, an OK, a Cancel and a close button. ShowMessageBox creates one per question; the box
// deletes itself when its window is gone.
class CKPMsgBox : public CKPObjectWnd {
public:
    // Results of ShowMessageBox.
    enum Result { kClosed = 0, kOk = 1, kCancel = 2 };

    // The answer goes to `answer` (kClosed until a button gives another), which must outlive the
    // box's window: the box deletes itself when its window is gone.
    explicit CKPMsgBox(int* answer);
    ~CKPMsgBox() override;

    void InitWindow() override;
    // Shows the focus ring from the start (the box was asked for while the keyboard was in use).
    void ShowFocusCues(bool show) { m_pm.SetFocusCues(show); }
    void OnClick(SkinUI::TNotifyUI& msg) override;

    // Fills the box before it is shown (steps 3 to 5 of ShowMessageBox).
    void SetTexts(const std::wstring& title, const std::wstring& message, const std::wstring& okText,
                  const std::wstring& cancelText, const wchar_t* iconImage, bool showClose);

private:
    int* m_answer;
    SkinUI::ControlRef<SkinUI::CTextUI> m_title;
    SkinUI::ControlRef<SkinUI::CTextUI> m_message;
    SkinUI::ControlRef<SkinUI::CLabelUI> m_icon;
    SkinUI::ControlRef<SkinUI::CButtonUI> m_close;
    SkinUI::ControlRef<SkinUI::CButtonUI> m_ok;
    SkinUI::ControlRef<SkinUI::CButtonUI> m_cancel;
};

// Shows a modal message box over `owner` and returns 1 for OK, 2 for Cancel and 0 when it was
// closed any other way (its close button, Alt+F4, a WM_CLOSE from the system or another process,
// whatever that message carries, or its owner closing it on the way out), which every caller
// takes as Cancel. An empty OK or
// Cancel text hides that button; `iconImage` (an image attribute) replaces the tips icon when not
// null. When the box cannot be created (no layout, no window) the result is 0 and nothing is shown.
int ShowMessageBox(HWND owner, const std::wstring& caption, const std::wstring& title, const std::wstring& message,
                   const std::wstring& okText, const std::wstring& cancelText, const wchar_t* iconImage, DWORD style,
                   DWORD exStyle, bool showClose);
