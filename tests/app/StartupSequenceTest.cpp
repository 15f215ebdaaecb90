#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/StartupSequence.h"

namespace {

// Steps that write their names into a log; COM answers with `comResult`.
StartupSteps RecordingSteps(std::vector<std::string>& log, std::int32_t comResult, std::uintptr_t token,
                            std::uintptr_t* stoppedToken, int commandLine = kGoOn, int instance = kGoOn, int run = 0)
{
    StartupSteps steps;
    steps.readCommandLine = [&log, commandLine] {
        log.push_back("commandline");
        return commandLine;
    };
    steps.claimInstance = [&log, instance] {
        log.push_back("instance-claim");
        return instance;
    };
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
    steps.run = [&log, run] {
        log.push_back("window");
        return run;
    };
    steps.stopGdiplus = [&log, stoppedToken](std::uintptr_t t) {
        log.push_back("gdiplus-off");
        *stoppedToken = t;
    };
    steps.uninitializeCom = [&log] { log.push_back("com-off"); };
    steps.reportExit = [&log](int code) { log.push_back("exit " + std::to_string(code)); };
    return steps;
}

}  // namespace

TEST(StartupSequence, BringsServicesUpRunsTheWindowAndShutsDownInReverse)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 0;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 0 /* S_OK */, 0x5A5A, &stopped), 3));
    const std::vector<std::string> expected = {"commandline", "instance-claim", "com",    "gdiplus",     "instance",
                                               "dpi",         "skin",           "window", "gdiplus-off", "com-off",
                                               "exit 0"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ(0x5A5Au, stopped) << "GDI+ is shut down with the token it gave";
}

TEST(StartupSequence, ComAlreadyInitialisedCountsAsSuccess)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 0;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 1 /* S_FALSE */, 7, &stopped), 3));
    EXPECT_EQ(11u, log.size());
}

TEST(StartupSequence, FailingComEndsTheRunAtOnceWithItsCodeAndNoWindow)
{
    for (std::int32_t failure : {static_cast<std::int32_t>(0x80004005u), static_cast<std::int32_t>(0x8007000Eu)}) {
        std::vector<std::string> log;
        std::uintptr_t stopped = 0;
        EXPECT_EQ(3, RunStartupSequence(RecordingSteps(log, failure, 7, &stopped), 3));
        const std::vector<std::string> expected = {"commandline", "instance-claim", "com", "exit 3"};
        EXPECT_EQ(expected, log);
    }
}

TEST(StartupSequence, ABadCommandLineOrASecondInstallerEndsTheRunBeforeAnythingStarts)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 0;
    EXPECT_EQ(6, RunStartupSequence(RecordingSteps(log, 0, 7, &stopped, 6), 3));
    EXPECT_EQ((std::vector<std::string>{"commandline", "exit 6"}), log);

    log.clear();
    EXPECT_EQ(5, RunStartupSequence(RecordingSteps(log, 0, 7, &stopped, kGoOn, 5), 3));
    EXPECT_EQ((std::vector<std::string>{"commandline", "instance-claim", "exit 5"}), log);

    // The run's own code comes back after the shutdown steps.
    log.clear();
    EXPECT_EQ(4, RunStartupSequence(RecordingSteps(log, 0, 7, &stopped, kGoOn, kGoOn, 4), 3));
    EXPECT_EQ("exit 4", log.back());
}

TEST(StartupSequence, AFailedGdiplusStartIsNotChecked)
{
    std::vector<std::string> log;
    std::uintptr_t stopped = 99;
    EXPECT_EQ(0, RunStartupSequence(RecordingSteps(log, 0, 0, &stopped), 3));
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "window"));
    EXPECT_EQ(0u, stopped);
}
