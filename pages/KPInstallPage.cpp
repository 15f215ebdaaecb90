#include "pages/KPInstallPage.h"

#include "pages/DimmingMask.h"
#include "pages/InstallEvents.h"
#include "ui/win/PaintManagerWnd.h"

CKPInstallPage::CKPInstallPage(SkinUI::CPaintManagerUI* paintManager, const PageServices& services)
    : m_paintManager(paintManager), m_services(services)
{
}

CKPInstallPage::~CKPInstallPage() = default;

void CKPInstallPage::OnEvent(int code, int argument, int reserved)
{
    if (code == EVENT_POST_TO_UI && GetOwner()) GetOwner()->OnEvent(code, argument, reserved);
}

HWND CKPInstallPage::GetWindow() const
{
    auto* host = m_paintManager ? dynamic_cast<SkinUI::CPaintManagerWnd*>(m_paintManager->GetHost()) : nullptr;
    return host ? host->GetPaintWindow() : nullptr;
}

void CKPInstallPage::Minimize() const
{
    if (HWND window = GetWindow()) ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

int CKPInstallPage::AskToClose() const
{
    // The window stays dimmed behind the box until it is answered.
    CDimmingMask mask(*m_paintManager);
    return m_services.askClose(GetWindow());
}

void CKPInstallPage::ConfirmClose() const
{
    if (AskToClose() == 1) PostClose();
}

// Without a window a null handle would post WM_CLOSE to the thread itself.
void CKPInstallPage::PostClose() const
{
    if (HWND window = GetWindow()) ::PostMessageW(window, WM_CLOSE, 0, 0);
}
