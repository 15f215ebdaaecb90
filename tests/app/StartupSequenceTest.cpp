#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/StartupSequence.h"

namespace {

// Steps that write their names into a log; COM answers with `comResult`.
StartupSteps RecordingSteps(std::vector<std::string>& log, std::int32_t comResult, std::uintptr_t token,
                            std::uintptr_t* stoppedToken)
{
    StartupSteps steps;
    steps.readCommandLine = [&log] { log.push_back("commandline"); };
    steps.initializeCom = [&log, comResult] {
        log.push_back("com");
        return comResult;
    };
    steps.startGdiplus = [&log, token] {
        log.push_back("gdiplus");
        return token;
    };
    steps.setResourceInstance = [&log] { log.push_back("instance"); };
    steps.measureDisplayDpi = [&log] { log.push_back("dpi"); };
    steps.loadSkin = [&log] { log.push_back("skin"); };
    steps.runMainWindow = [&log] { log.push_back("window"); };
    steps.stopGdiplus = [&log, stoppedToken](std::uintptr_t t) {
        log.push_back("gdiplus-off");
        *stoppedToken = t;
    };
    steps.uninitializeCom = [&log] { log.push_back("com-off"); };
    return steps;
}

}  // namespace

TEST(StartupSequence, BringsServicesUpRunsTheWindowAndShutsDownInReverse)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 0;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 0 /* S_OK */, 0x5A5A, &stopped)));
    const std::vector<std::string> expected = {"commandline", "com",    "gdiplus",     "instance", "dpi",
                                               "skin",        "window", "gdiplus-off", "com-off"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ(0x5A5Au, stopped) << "GDI+ is shut down with the token it gave";
}

TEST(StartupSequence, ComAlreadyInitialisedCountsAsSuccess)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 0;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 1 /* S_FALSE */, 7, &stopped)));
    EXPECT_EQ(9u, log.size());
}

TEST(StartupSequence, FailingComEndsTheRunAtOnceWithExitCodeZeroAndNoWindow)
{
    for (std::int32_t failure : {static_cast<std::int32_t>(0x80004005u), static_cast<std::int32_t>(0x8007000Eu)}) {
        std::vector<std::string> log;
        std::uintptr_t stopped = 0;
        EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, failure, 7, &stopped)));
        const std::vector<std::string> expected = {"commandline", "com"};
        EXPECT_EQ(expected, log);
    }
}

TEST(StartupSequence, AFailedGdiplusStartIsNotChecked)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 99;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 0, 0, &stopped)));
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "window"));
    EXPECT_EQ(0u, stopped);
}
