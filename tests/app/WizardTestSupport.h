#pragma once
// The installer's main window, opened for real under Wine, for the tests of the window and its
// pages: creation, clicks on named controls, message pumping, notification recording.
#include <windows.h>

#include <string>
#include <vector>

#include "app/KPMainFrame.h"
#include "ui/core/ControlUI.h"
#include "ui/core/NotifyUI.h"

namespace WizardTest {

// Opens the built skin.zip and gives the framework the screen's DPI (once per process).
bool PrepareFramework();

// Runs the thread's messages for `ms` milliseconds, or until `done` is true.
void Pump(int ms);
bool PumpUntil(bool (*done)(HWND), HWND window, int timeoutMs = 5000);

// Records the notifications of a window.
class NotifyRecorder : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::TNotifyUI& msg) override { types.push_back(msg.sType); }
    int Count(const std::wstring& type) const;
    std::vector<std::wstring> types;
};

// A main window made with KPMainFrame::Create (not modal, shown) with `services`, laid out and on
// the screen. The window owns and deletes itself; when it is still there at the end of the test it
// is destroyed without a question.
class OpenFrame {
public:
    explicit OpenFrame(MainFrameServices services = RealMainFrameServices());
    ~OpenFrame();
    OpenFrame(const OpenFrame&) = delete;
    OpenFrame& operator=(const OpenFrame&) = delete;

    bool Created() const { return m_frame != nullptr; }
    // Still a window (false once it closed).
    bool IsOpen() const { return ::IsWindow(m_hwnd) != FALSE; }
    // The frame object has been deleted (its final message ran).
    bool Deleted() const { return m_deleted; }
    HWND Hwnd() const { return m_hwnd; }
    KPMainFrame& Frame() { return *m_frame; }
    SkinUI::CPaintManagerUI& PM() { return m_frame->GetPaintManager(); }

    SkinUI::CControlUI* Find(const wchar_t* name) { return PM().FindControl(name); }
    // A left click in the middle of the named control, through the window's mouse messages (sent,
    // so it has been handled when this returns). False when the control is missing or not laid out.
    bool Click(const wchar_t* name);
    // Pumps until the window is gone (or `timeoutMs`); true when it is.
    bool WaitClosed(int timeoutMs = 5000);

private:
    KPMainFrame* m_frame = nullptr;
    HWND m_hwnd = nullptr;
    bool m_deleted = false;
};

}  // namespace WizardTest
