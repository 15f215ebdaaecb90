#include "app/WizardTestSupport.h"

#include <utility>

#include "pages/WindowLook.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/WindowTestSupport.h"

namespace WizardTest {

bool PrepareFramework()
{
    static const bool ready = [] {
        WindowTest::InitProcessDpi();
        return WindowTest::OpenSkin();
    }();
    return ready;
}

void Pump(int ms) { WindowTest::PumpFor(ms); }

bool PumpUntil(bool (*done)(HWND), HWND window, int timeoutMs)
{
    return WindowTest::PumpUntil([&] { return done(window); }, timeoutMs);
}

int NotifyRecorder::Count(const std::wstring& type) const
{
    int count = 0;
    for (const std::wstring& t : types) count += t == type ? 1 : 0;
    return count;
}

OpenFrame::OpenFrame(MainFrameServices services)
{
    if (!PrepareFramework()) return;
    m_frame = KPMainFrame::Create(nullptr, nullptr, false, L"凯普视频工坊", kInstallerWindowStyle,
                                  kInstallerWindowExStyle, true, std::move(services));
    if (!m_frame) return;
    m_hwnd = m_frame->GetHWND();
    m_frame->SetDestroyCallback([this] { m_deleted = true; });
    WindowTest::PumpUntil([this] {
        return m_frame->GetPaintManager().IsFirstLayoutDone() && m_frame->GetPaintManagerWnd().GetSurface().Width() > 0;
    });
    WindowTest::PumpFor(50);
}

OpenFrame::~OpenFrame()
{
    if (IsOpen()) {
        ::DestroyWindow(m_hwnd);
        WindowTest::PumpFor(20);
    }
}

bool OpenFrame::Click(const wchar_t* name)
{
    if (!IsOpen()) return false;
    // A page shown a moment ago is laid out only at the next paint.
    m_frame->GetPaintManagerWnd().PaintNow();
    SkinUI::CControlUI* control = Find(name);
    if (!control) return false;
    const SkinUI::UIRect rc = control->GetPos();
    if (rc.right <= rc.left || rc.bottom <= rc.top) return false;
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const HWND hwnd = m_hwnd;  // the click may close and delete the frame
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    return true;
}

bool OpenFrame::WaitClosed(int timeoutMs)
{
    return WindowTest::PumpUntil([this] { return !IsOpen(); }, timeoutMs);
}

}  // namespace WizardTest
