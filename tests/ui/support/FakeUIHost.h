#pragma once
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/core/NotifyUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/core/UIHost.h"

// A window stand-in for the paint manager's tests: records what the manager asks of it.
struct FakeUIHost : SkinUI::IUIHost {
    std::vector<SkinUI::UIRect> invalidated;
    std::map<unsigned, unsigned> timers;  // native id -> elapse
    int captures = 0;
    int releases = 0;
    SkinUI::UICursor cursor = SkinUI::UICursor::Arrow;
    std::wstring toolTip;
    SkinUI::UIRect toolTipRect;
    bool enabled = true;
    std::uint32_t now = 1000;

    void Invalidate(const SkinUI::UIRect& rc) override { invalidated.push_back(rc); }
    bool SetTimer(unsigned nativeId, unsigned elapseMs) override
    {
        timers[nativeId] = elapseMs;
        return true;
    }
    void KillTimer(unsigned nativeId) override { timers.erase(nativeId); }
    void SetCapture() override { ++captures; }
    void ReleaseCapture() override { ++releases; }
    void SetCursor(SkinUI::UICursor c) override { cursor = c; }
    void ShowToolTip(const std::wstring& text, const SkinUI::UIRect& rc) override
    {
        toolTip = text;
        toolTipRect = rc;
    }
    bool IsWindowEnabled() const override { return enabled; }
    std::uint32_t GetTickCount() const override { return now; }

    struct TAccessEvent {
        SkinUI::CControlUI* control;
        SkinUI::AccEvent event;
    };
    std::vector<TAccessEvent> accessEvents;
    void OnAccessibleEvent(SkinUI::CControlUI* control, SkinUI::AccEvent event) override
    {
        accessEvents.push_back(TAccessEvent{control, event});
    }
    int CountAccessEvents(const SkinUI::CControlUI* control, SkinUI::AccEvent event) const
    {
        return static_cast<int>(std::count_if(accessEvents.begin(), accessEvents.end(), [&](const TAccessEvent& e) {
            return e.control == control && e.event == event;
        }));
    }
};

// Keeps every notification it receives.
struct RecordingNotifier : SkinUI::INotifyUI {
    std::vector<SkinUI::TNotifyUI> messages;

    void Notify(SkinUI::TNotifyUI& msg) override { messages.push_back(msg); }

    std::vector<std::wstring> Types() const
    {
        std::vector<std::wstring> types;
        for (const auto& m : messages) types.push_back(m.sType);
        return types;
    }
    int Count(const std::wstring& type) const
    {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                              [&type](const SkinUI::TNotifyUI& m) { return m.sType == type; }));
    }
    void Clear() { messages.clear(); }
};

// Sets the process DPI for one test and restores 96 afterwards.
struct ScopedProcessDpi {
    explicit ScopedProcessDpi(int dpi) { SkinUI::CPaintManagerUI::SetProcessDpi(dpi); }
    ~ScopedProcessDpi() { SkinUI::CPaintManagerUI::SetProcessDpi(96); }
};

inline SkinUI::UIPoint CenterOf(const SkinUI::UIRect& rc)
{
    return SkinUI::UIPoint{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

#include "ui/builder/DialogBuilder.h"

// A window built from a layout document, attached, laid out in `client` and watched by a
// recording notifier.
struct TestWindow {
    FakeUIHost host;
    RecordingNotifier notifier;
    SkinUI::CPaintManagerUI manager;  // declared last: destroyed first, while the host still exists
    SkinUI::CControlUI* root = nullptr;
    std::wstring error;

    explicit TestWindow(const std::wstring& document, SkinUI::UIRect client = SkinUI::UIRect{0, 0, 400, 300})
    {
        manager.SetHost(&host);
        SkinUI::CDialogBuilder builder;
        root = builder.Create(document, L"", nullptr, &manager);
        error = builder.GetLastErrorMessage();
        if (root) {
            manager.AttachDialog(root);
            manager.AddNotifier(&notifier);
            manager.UpdateLayout(client);
        }
    }

    template <typename T>
    T* Find(const std::wstring& name) const
    {
        return dynamic_cast<T*>(manager.FindControl(name));
    }

    void Click(SkinUI::UIPoint pt)
    {
        manager.OnMouseMove(pt);
        manager.OnLButtonDown(pt);
        manager.OnLButtonUp(pt);
    }
};
