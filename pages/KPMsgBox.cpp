#include "pages/KPMsgBox.h"

#include "pages/WindowLook.h"

CKPMsgBox::CKPMsgBox(int* answer) : CKPObjectWnd(L"KPMsgBox.xml", L"kpmsgbox"), m_answer(answer)
{
    *m_answer = kClosed;
    // A question asked while the program runs must not end the process when it cannot be shown:
    // the window's creation fails instead and ShowMessageBox answers 0.
    SetSoftLayoutFailure(true);
}

CKPMsgBox::~CKPMsgBox() = default;

void CKPMsgBox::InitWindow()
{
    m_pmWnd.SetLayered(true);
    if (SkinUI::CShadowUI* shadow = m_pmWnd.GetShadow()) {
        shadow->SetImage(L"kp_appended\\shadow\\shadow_black.png");
        shadow->SetShadowCorner(SkinUI::UIRect{38, 38, 38, 38});
        shadow->ShowShadow(true);
        shadow->SetSize(16);
        shadow->Create(m_hWnd);
    }
    m_title = SkinUI::BindControl<SkinUI::CTextUI>(m_pm, L"kp_txt_title");
    m_message = SkinUI::BindControl<SkinUI::CTextUI>(m_pm, L"kp_txt_msg");
    m_icon = SkinUI::BindControl<SkinUI::CLabelUI>(m_pm, L"kp_lab_ico");
    m_close = SkinUI::BindControl<SkinUI::CButtonUI>(m_pm, L"closebtn");
    m_ok = SkinUI::BindControl<SkinUI::CButtonUI>(m_pm, L"okBtn");
    m_cancel = SkinUI::BindControl<SkinUI::CButtonUI>(m_pm, L"cancelBtn");
    // A reader announces the box as a dialog: its title, then its message.
    m_pmWnd.SetAccessibleDialog(L"kp_txt_title", L"kp_txt_msg");
}

void CKPMsgBox::SetTexts(const std::wstring& title, const std::wstring& message, const std::wstring& okText,
                         const std::wstring& cancelText, const wchar_t* iconImage, bool showClose)
{
    if (m_ok) {
        if (okText.empty()) m_ok->SetVisible(false);
        else m_ok->SetText(okText);
    }
    if (m_close) m_close->SetVisible(showClose);
    if (m_cancel) {
        if (cancelText.empty()) m_cancel->SetVisible(false);
        else m_cancel->SetText(cancelText);
    }
    if (m_title) m_title->SetText(title);
    if (m_message) m_message->SetText(message);
    if (iconImage && m_icon) m_icon->SetBkImage(iconImage);
    // The box opens with the focus on its first answer.
    if (m_ok && m_ok->IsVisible()) m_ok->SetFocus();
    else if (m_cancel && m_cancel->IsVisible()) m_cancel->SetFocus();
}

void CKPMsgBox::OnClick(SkinUI::TNotifyUI& msg)
{
    if (!msg.pSender) return;
    // Only the buttons answer: a WM_CLOSE from anywhere else carries whatever its sender chose.
    if (msg.pSender->GetName() == L"closebtn") {
        Close(kClosed);
    } else if (m_ok && msg.pSender == m_ok.get()) {
        *m_answer = kOk;
        Close(kOk);
    } else if (m_cancel && msg.pSender == m_cancel.get()) {
        *m_answer = kCancel;
        Close(kCancel);
    }
}

int ShowMessageBox(HWND owner, const std::wstring& caption, const std::wstring& title, const std::wstring& message,
                   const std::wstring& okText, const std::wstring& cancelText, const wchar_t* iconImage, DWORD style,
                   DWORD exStyle, bool showClose)
{
    int answer = CKPMsgBox::kClosed;
    CKPMsgBox* box = CKPObjectWnd::CreateOwnedWindow(new CKPMsgBox(&answer), owner, caption.c_str(), style, exStyle);
    if (!box) return CKPMsgBox::kClosed;
    box->SetTexts(title, message, okText, cancelText, iconImage, showClose);
    // Asked while the keyboard drives the wizard, the box shows its focus ring at once.
    if (SkinUI::CPaintManagerWnd* ownerWindow = SkinUI::CPaintManagerWnd::FromWindow(owner))
        box->ShowFocusCues(ownerWindow->Model().ShowsFocusCues());
    box->CenterWindow();
    box->SetIcon(kProgramIconId);
    // The box deletes itself once its window is gone, before ShowModal returns.
    box->ShowModal();
    return answer;
}
