// The main window's document shown by the framework (without the wizard's logic): prints the time
// from process start to its first complete frame, the time of a full repaint (median of 40), and
// the peak working set.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "pages/KPObjectWnd.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/resources/SkinResources.h"
#include "ui/win/ResourceWin.h"

namespace {

double g_firstFrame = -1;

// Notes the time of the first frame that covers the whole client area.
void NoteFirstFullFrame(HWND window, const SkinUI::UIRect& dirty)
{
    RECT client = {};
    ::GetClientRect(window, &client);
    if (g_firstFrame < 0 && dirty.Width() == client.right && dirty.Height() == client.bottom)
        g_firstFrame = MillisecondsSinceProcessStart();
}

class CMainWindow : public CKPObjectWnd {
public:
    CMainWindow() : CKPObjectWnd(L"KPMainFrame.xml", L"kpmainframe", SkinUI::TWindowHooks{&NoteFirstFullFrame, {}}) {}
    SkinUI::CPaintManagerWnd& Window() { return m_pmWnd; }
};

// The working set now, in MB: printed at each stage so the peak can be traced to a stage.
double WorkingSetMb()
{
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    return memory.WorkingSetSize / (1024.0 * 1024.0);
}

}  // namespace

int main()
{
    const double atMain = MillisecondsSinceProcessStart();
    const double mainWorkingSet = WorkingSetMb();
    ::SetProcessDPIAware();
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    SkinUI::CPaintManagerUI::SetProcessDpi(dpi);

    // The skin as the installer has it: the archive in the program's own resources.
    const bool skinOpen = SkinUI::LoadSkinFromResource(::GetModuleHandleW(nullptr));
    const double afterSkin = MillisecondsSinceProcessStart();
    const double skinWorkingSet = WorkingSetMb();
    if (!skinOpen) {
        std::printf("no skin resource\n");
        return 2;
    }

    CMainWindow window;
    const double beforeCreate = MillisecondsSinceProcessStart();
    if (!window.Create(nullptr, L"凯普视频工坊", 0x10CC0000, 0x100)) return 3;
    const double afterCreate = MillisecondsSinceProcessStart();
    const double createWorkingSet = WorkingSetMb();
    window.CenterWindow();
    MSG msg;
    while (g_firstFrame < 0 && ::GetMessageW(&msg, nullptr, 0, 0) > 0) SkinUI::CWindowWnd::DispatchOne(msg);
    const double frameWorkingSet = WorkingSetMb();

    std::vector<double> repaint;
    for (int i = 0; i < 40; ++i) {
        repaint.push_back(std::chrono::duration<double, std::milli>(window.Window().RepaintAll()).count());
    }
    std::sort(repaint.begin(), repaint.end());
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
    RECT rc = {};
    ::GetWindowRect(window.GetHWND(), &rc);
    std::printf("window %ldx%ld\n", rc.right - rc.left, rc.bottom - rc.top);
    std::printf("main-ms %.1f\n", atMain);
    std::printf("skin-open-ms %.1f\n", afterSkin);
    std::printf("create-starts-ms %.1f\n", beforeCreate);
    std::printf("create-ms %.1f\n", afterCreate - beforeCreate);
    std::printf("first-frame-ms %.1f\n", g_firstFrame);
    std::printf("repaint-ms %.2f\n", repaint[repaint.size() / 2]);
    std::printf("working-set-mb at-main %.1f after-skin %.1f after-create %.1f after-first-frame %.1f\n",
                mainWorkingSet, skinWorkingSet, createWorkingSet, frameWorkingSet);
    std::printf("peak-working-set-mb %.1f\n", memory.PeakWorkingSetSize / (1024.0 * 1024.0));
    std::fflush(stdout);
    ::DestroyWindow(window.GetHWND());
    return 0;
}
