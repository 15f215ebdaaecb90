#include <gtest/gtest.h>

#include <vector>

#include "pages/InstallEvents.h"
#include "pages/KpBase.h"

namespace {

struct Recorder : KpBase {
    void OnEvent(int code, int argument, int reserved) override { events.push_back({code, argument, reserved}); }
    std::vector<std::vector<int>> events;
};

}  // namespace

TEST(KpBase, EventsGoToTheOwnerWhenThereIsOneElseToItself)
{
    Recorder window;
    Recorder page;
    page.SendEvent(EVENT_SHOW_PAGE, PAGE_PROGRESS);
    EXPECT_EQ(page.events, (std::vector<std::vector<int>>{{64, 2, 0}}));
    page.SetOwner(&window);
    page.SendEvent(EVENT_SHOW_PAGE, PAGE_OPTIONS);
    EXPECT_EQ(window.events, (std::vector<std::vector<int>>{{64, 1, 0}}));
    EXPECT_EQ(page.events.size(), 1u);
    page.SetOwner(nullptr);
    page.SendEvent(EVENT_START_INSTALL);
    EXPECT_EQ(page.events.back(), (std::vector<int>{65, 0, 0}));
}

TEST(KpBase, TheOwnerIsNotOwnedAndTheDestroyCallbackRuns)
{
    int destroyed = 0;
    auto* owner = new Recorder;
    {
        Recorder page;
        page.SetOwner(owner);
        page.SetDestroyCallback([&destroyed] { ++destroyed; });
    }
    EXPECT_EQ(destroyed, 1);
    owner->SendEvent(1, 2);  // still alive: the page did not delete it
    EXPECT_EQ(owner->events.size(), 1u);
    delete owner;
}
