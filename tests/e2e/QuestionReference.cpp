// Draws the question that follows a failed installation attempt, as the end-to-end test's reference
// for the box KPSetup.exe must show:
//   kp_question_reference.exe KIND NAME       KIND: download, verification, start, incomplete,
//                                              statusfile or notinstalled
// saves the box's picture as NAME.png in the build's screenshot folder and prints the place of its
// title and message in it as "WxH+X+Y" (pixels). Exit code 0 when both were made.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "KPCore/inner/ProductInfo.h"
#include "app/FailureQuestion.h"
#include "app/WizardTestSupport.h"
#include "pages/KPMsgBox.h"
#include "pages/WindowLook.h"
#include "ui/win/WindowTestSupport.h"

namespace {

bool KindOf(const std::wstring& name, InstallFailure& kind)
{
    const struct {
        const wchar_t* name;
        InstallFailure kind;
    } kinds[] = {{L"download", InstallFailure::Download},     {L"verification", InstallFailure::Verification},
                 {L"start", InstallFailure::Start},           {L"incomplete", InstallFailure::Incomplete},
                 {L"statusfile", InstallFailure::StatusFile}, {L"notinstalled", InstallFailure::NotInstalled}};
    for (const auto& k : kinds)
        if (name == k.name) {
            kind = k.kind;
            return true;
        }
    return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    InstallFailure kind = InstallFailure::Download;
    if (argc != 3 || !KindOf(argv[1], kind)) {
        std::fputs(
            "usage: kp_question_reference.exe download|verification|start|incomplete|statusfile|notinstalled NAME\n",
            stderr);
        return 2;
    }
    ::CoInitialize(nullptr);
    if (!WizardTest::PrepareFramework()) return 1;
    int answer = CKPMsgBox::kClosed;
    CKPMsgBox* box = CKPObjectWnd::CreateOwnedWindow(new CKPMsgBox(&answer), nullptr, kProductName,
                                                     kInstallerWindowStyle, kInstallerWindowExStyle);
    if (!box) return 1;
    const FailureQuestionText words = FailureQuestionWords(kind);
    box->SetTexts(words.title, words.message, L"确定", L"取消", nullptr, true);
    box->ShowWindow(true, false);
    box->GetPaintManagerWnd().PaintNow();
    WizardTest::Pump(50);

    SkinUI::CControlUI* title = box->GetPaintManager().FindControl(L"kp_txt_title");
    SkinUI::CControlUI* message = box->GetPaintManager().FindControl(L"kp_txt_msg");
    if (!title || !message) return 1;
    const SkinUI::UIRect a = title->GetPos();
    const SkinUI::UIRect b = message->GetPos();
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int right = std::max(a.right, b.right), bottom = std::max(a.bottom, b.bottom);
    if (right <= left || bottom <= top) return 1;
    const std::wstring wideName = argv[2];
    const std::string name(wideName.begin(), wideName.end());
    WindowTest::SaveScreenshot(box->GetPaintManagerWnd().GetSurface(), name);
    std::printf("%dx%d+%d+%d\n", right - left, bottom - top, left, top);
    std::fflush(stdout);
    ::DestroyWindow(box->GetHWND());
    return 0;
}
