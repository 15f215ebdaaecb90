// Draws the options page with a given install folder in its path label, as the end-to-end test's
// reference for what KPSetup.exe must show once that folder has been picked:
//   kp_options_page_reference.exe TEXT NAME
// saves the window's picture as NAME.png in the build's screenshot folder and prints the path
// label's place in it as "WxH+X+Y" (pixels). Exit code 0 when both were made.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "app/WizardTestSupport.h"
#include "ui/controls/LabelUI.h"
#include "ui/win/WindowTestSupport.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fputs("usage: kp_options_page_reference.exe TEXT NAME\n", stderr);
        return 2;
    }
    ::CoInitialize(nullptr);
    WizardTest::OpenFrame frame;
    if (!frame.Created()) {
        std::fputs("the main window could not be made (is the skin archive built?)\n", stderr);
        return 1;
    }
    if (!frame.Click(L"customBtn")) return 1;
    auto* pathLab = dynamic_cast<SkinUI::CLabelUI*>(frame.Find(L"pathLab"));
    if (!pathLab) return 1;
    pathLab->SetText(argv[1]);
    frame.Frame().GetPaintManagerWnd().PaintNow();
    WizardTest::Pump(50);

    const SkinUI::UIRect rc = pathLab->GetPos();
    if (rc.right <= rc.left || rc.bottom <= rc.top) return 1;
    const std::wstring wideName = argv[2];
    const std::string name(wideName.begin(), wideName.end());
    WindowTest::SaveScreenshot(frame.Frame().GetPaintManagerWnd().GetSurface(), name);
    std::printf("%dx%d+%d+%d\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
    std::fflush(stdout);
    return 0;
}
