// Feeds arbitrary layout documents to the dialog builder, lays the tree out and drives input over
// it. The sanitizers catch memory and UB faults; the checks below catch a window whose name map
// disagrees with its tree.
//
// Input: the first byte picks the display scale (100, 125, 150 or 200 %); the rest is a UTF-8
// document. Names that are not document text (Include sources) are looked up in a folder that
// does not exist, so nothing outside the input is read.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/builder/DialogBuilder.h"
#include "ui/controls/ContainerUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/resources/SkinResources.h"
#include "ui/text/TextCodecs.h"

using namespace SkinUI;

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

// A window that never shows anything: timers and clock only.
struct NullHost : IUIHost {
    void Invalidate(const UIRect&) override {}
    bool SetTimer(unsigned, unsigned) override { return true; }
    void KillTimer(unsigned) override {}
    void SetCapture() override {}
    void ReleaseCapture() override {}
    void SetCursor(UICursor) override {}
    void ShowToolTip(const std::wstring&, const UIRect&) override {}
    bool IsWindowEnabled() const override { return true; }
    std::uint32_t GetTickCount() const override { return 0; }
};

// Every control the name map answers for is part of the tree under that name.
void CheckNames(CPaintManagerUI& manager, CControlUI* root)
{
    root->VisitSubtree([&](CControlUI* control) {
        if (control->GetName().empty()) return;
        CControlUI* found = manager.FindControl(control->GetName());
        Require(found != nullptr);
        Require(found->GetName() == control->GetName());
        Require(root->IsAncestorOf(found));
    });
}

void Press(CPaintManagerUI& manager, UIPoint pt)
{
    manager.OnMouseMove(pt);
    manager.OnLButtonDown(pt);
    manager.OnLButtonUp(pt);
    manager.OnKeyDown(0x20);
    manager.OnMouseWheel(pt, -120);
}

void FuzzBuilder(const uint8_t* data, size_t size)
{
    if (size == 0) return;
    static const int kDpis[] = {96, 120, 144, 192};
    CPaintManagerUI::SetProcessDpi(kDpis[data[0] % 4]);
    CSkinResources::SetResourceMode(UILIB_FILE);
    CSkinResources::SetResourceFolder(L"/nonexistent-kp-builder-fuzz/");

    std::wstring text = DecodeUtf8(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    if (text.empty() || text[0] != L'<') text.insert(text.begin(), L'<');  // always document text

    NullHost host;
    CPaintManagerUI manager;
    manager.SetHost(&host);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(text, L"", nullptr, &manager);
    if (!root) {
        Require(!builder.GetLastErrorMessage().empty());
        CPaintManagerUI::RemoveAllShared();
        return;
    }
    Require(manager.AttachDialog(root));
    CheckNames(manager, root);
    const UISize size0 = manager.GetInitSize();
    const UIRect client{0, 0, size0.cx > 0 && size0.cx < 5000 ? size0.cx : 700,
                        size0.cy > 0 && size0.cy < 5000 ? size0.cy : 420};
    manager.UpdateLayout(client);
    for (int y = 5; y < client.bottom; y += 47) {
        for (int x = 5; x < client.right; x += 61) Press(manager, UIPoint{x, y});
    }
    manager.UpdateLayout(client);
    CheckNames(manager, root);
    CPaintManagerUI::RemoveAllShared();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBuilder(data, size);
    return 0;
}
