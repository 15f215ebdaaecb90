// Building a window from its layout document, as the window base does it when the window is
// created: parse the document, build the control tree (Window attributes, fonts, defaults, every
// control with its attributes), attach it to the paint manager and lay it out for the first paint.
// Both real documents at 100 % and at 200 %; the parse alone is measured separately.
//
// The skin images are not loaded: the variant probes at 200 % find none, and the process-wide
// image cache remembers that after the first round, as it would remember the found variants.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "ui/builder/DialogBuilder.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/markup/Markup.h"
#include "ui/resources/SkinResources.h"
#include "ui/text/TextCodecs.h"

using namespace SkinUI;

namespace {

const char* const kDocuments[] = {"KPMainFrame.xml", "KPMsgBox.xml"};

std::wstring ReadDocument(int index)
{
    std::ifstream in(std::string(KP_SOURCE_DIR) + "/pages/skin/" + kDocuments[index], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return DecodeUtf8(bytes);
}

int CountControls(CControlUI* root)
{
    int count = 0;
    root->VisitSubtree([&count](CControlUI*) { ++count; });
    return count;
}

void BM_Parse(benchmark::State& state)
{
    const std::wstring text = ReadDocument(static_cast<int>(state.range(0)));
    if (text.empty()) {
        state.SkipWithError("document not found");
        return;
    }
    for (auto _ : state) {
        CMarkup markup;
        benchmark::DoNotOptimize(markup.Load(text));
    }
    state.SetLabel(kDocuments[state.range(0)]);
}

void BM_ParseBuildLayout(benchmark::State& state)
{
    const std::wstring text = ReadDocument(static_cast<int>(state.range(0)));
    if (text.empty()) {
        state.SkipWithError("document not found");
        return;
    }
    const int scale = static_cast<int>(state.range(1));
    CPaintManagerUI::SetProcessDpi(scale * 96 / 100);
    CSkinResources::SetResourceMode(UILIB_FILE);
    CSkinResources::SetResourceFolder(L"/nonexistent-kp-ui-bench/");
    int controls = 0;
    for (auto _ : state) {
        CPaintManagerUI manager;
        CDialogBuilder builder;
        CControlUI* root = builder.Create(text, L"", nullptr, &manager);
        if (!root) {
            state.SkipWithError("the document does not build");
            break;
        }
        manager.AttachDialog(root);
        const UISize size = manager.GetInitSize();
        manager.UpdateLayout(UIRect{0, 0, size.cx, size.cy});
        controls = CountControls(root);
        CPaintManagerUI::RemoveAllShared();
    }
    CPaintManagerUI::SetProcessDpi(96);
    state.SetLabel(std::string(kDocuments[state.range(0)]) + " at " + std::to_string(scale) + " %, " +
                   std::to_string(controls) + " controls");
}

}  // namespace

BENCHMARK(BM_Parse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseBuildLayout)
    ->Args({0, 100})
    ->Args({0, 200})
    ->Args({1, 100})
    ->Args({1, 200})
    ->Unit(benchmark::kMicrosecond);
