// The main window's document shown by the framework (without the wizard's logic): prints the time
// from process start to its first complete frame, the time of a full repaint (median of 40), and
// the peak working set.
// With --stages it first does, each timed on its own, what the window's start does at this scale:
// read the four page backgrounds from the skin archive, decode them, then build the window (its
// document, with those images already decoded) and put its first frame on the screen. The
// start-up figures of such a run are not the ones to compare.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "pages/KPObjectWnd.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/image/DpiVariant.h"
#include "ui/image/ImageCache.h"
#include "ui/image/ImageDecoder.h"
#include "ui/image/ImageLoader.h"
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

// Reads and decodes the page backgrounds that the document names, as drawn at `scalePercent`, and
// prints the time of each step; the decoded images stay in the framework's image cache.
void MeasurePageImages(int scalePercent)
{
    double readMs = 0;
    double decodeMs = 0;
    size_t bytes = 0;
    size_t pixels = 0;
    for (int page = 1; page <= 4; ++page) {
        std::wstring name = L"Install uninstall\\table_bg_install_0" + std::to_wstring(page) + L".png";
        if (scalePercent != 100) name = SkinUI::MakeDpiVariantName(name, scalePercent);
        const double start = MillisecondsSinceProcessStart();
        std::vector<unsigned char> data;
        if (!SkinUI::ReadImageBytes(name, L"", data)) continue;
        const double read = MillisecondsSinceProcessStart();
        auto image = SkinUI::DecodeImage(data.data(), data.size(), 0);
        const double decoded = MillisecondsSinceProcessStart();
        readMs += read - start;
        decodeMs += decoded - read;
        bytes += data.size();
        if (image) pixels += static_cast<size_t>(image->width) * image->height;
    }
    std::printf("stage-read-backgrounds-ms %.1f (%zu bytes)\n", readMs, bytes);
    std::printf("stage-decode-backgrounds-ms %.1f (%zu pixels)\n", decodeMs, pixels);
    // What the window will ask for: loaded through the cache, so its build finds them decoded.
    const double start = MillisecondsSinceProcessStart();
    for (int page = 1; page <= 4; ++page) {
        double imageScale = 1.0;
        const std::wstring name = L"Install uninstall\\table_bg_install_0" + std::to_wstring(page) + L".png";
        if (scalePercent == 100) {
            SkinUI::GetImage(name, L"", 0);
        } else {
            SkinUI::ResolveDpiVariant(name, L"", 0, scalePercent, imageScale);
        }
    }
    std::printf("stage-cache-backgrounds-ms %.1f\n", MillisecondsSinceProcessStart() - start);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool stages = argc > 1 && std::string(argv[1]) == "--stages";
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

    if (stages) MeasurePageImages(::MulDiv(dpi, 100, 96));
    const size_t loadsBefore = SkinUI::CImageCache::Instance().LoadCount();

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
    std::printf("first-frame-after-create-ms %.1f\n", g_firstFrame - afterCreate);
    std::printf("images-loaded-by-window %zu\n", SkinUI::CImageCache::Instance().LoadCount() - loadsBefore);
    std::printf("repaint-ms %.2f\n", repaint[repaint.size() / 2]);
    std::printf("working-set-mb at-main %.1f after-skin %.1f after-create %.1f after-first-frame %.1f\n",
                mainWorkingSet, skinWorkingSet, createWorkingSet, frameWorkingSet);
    std::printf("peak-working-set-mb %.1f\n", memory.PeakWorkingSetSize / (1024.0 * 1024.0));
    std::fflush(stdout);
    ::DestroyWindow(window.GetHWND());
    return 0;
}
