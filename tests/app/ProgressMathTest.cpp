// The percentages of the progress page: one point per download notification up to 70, 70 at the
// download's end, one point per status poll up to 99.
#include <gtest/gtest.h>

#include <vector>

#include "app/ProgressMath.h"

namespace {

double AfterNotifications(int count)
{
    double progress = 0.0;
    for (int i = 0; i < count; ++i) progress = ProgressAfterNotification(progress);
    return progress;
}

// What the page shows over `ticks` status polls, starting from `progress`.
std::vector<double> ShownOverTicks(double progress, int ticks)
{
    std::vector<double> shown;
    for (int i = 0; i < ticks; ++i) {
        const PollStep step = ProgressAtPollTick(progress);
        if (step.show) shown.push_back(step.shown);
        progress = step.next;
    }
    return shown;
}

}  // namespace

TEST(ProgressMath, EachNotificationIsOnePointUpToSeventy)
{
    EXPECT_EQ(1.0, AfterNotifications(1));
    EXPECT_EQ(37.0, AfterNotifications(37));
    EXPECT_EQ(69.0, AfterNotifications(69));
    EXPECT_EQ(70.0, AfterNotifications(70));
    EXPECT_EQ(70.0, AfterNotifications(71));
    EXPECT_EQ(70.0, AfterNotifications(5000));
    // The comparison is made before the increment: a value just under 70 still gains a whole point.
    EXPECT_EQ(70.5, ProgressAfterNotification(69.5));
    EXPECT_EQ(70.5, ProgressAfterNotification(70.5));
}

TEST(ProgressMath, ACompletedDownloadJumpsToSeventy)
{
    EXPECT_EQ(5.0, AfterNotifications(5));
    EXPECT_EQ(70.0, ProgressAtDownloadComplete()) << "5 notifications, then completion: 5 jumps to 70";
}

TEST(ProgressMath, PollsShowTheValueBeforeTheIncrementAndRestAtNinetyNine)
{
    const std::vector<double> shown = ShownOverTicks(ProgressAtDownloadComplete(), 200);
    ASSERT_EQ(30u, shown.size()) << "70 to 99, then nothing more is shown";
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(70.0 + static_cast<double>(i), shown[i]);
    EXPECT_EQ(99.0, shown.back());

    const PollStep atHundred = ProgressAtPollTick(100.0);
    EXPECT_FALSE(atHundred.show);
    EXPECT_EQ(100.0, atHundred.next);
    // A poll that follows a failed download (progress 0) counts up from 0.
    EXPECT_EQ((std::vector<double>{0.0, 1.0, 2.0}), ShownOverTicks(0.0, 3));
}
