#pragma once
#include <cstdint>
#include <functional>

// Returned by the steps that may end the run early when the run goes on.
constexpr int kGoOn = -1;

// The order in which the program brings its services up and down around its one run: the wizard's
// modal window, or the silent install. Each step is a function so that the order and the early
// exits can be checked without Windows; main.cpp fills them with the real calls.
struct StartupSteps {
    std::function<int()> readCommandLine;          // opens the log too; kGoOn or an exit code
    std::function<int()> claimInstance;            // kGoOn, or the exit code when another installer runs
    std::function<std::int32_t()> initializeCom;   // an HRESULT: negative is a failure
    std::function<std::uintptr_t()> startGdiplus;  // the token for stopGdiplus (not checked)
    std::function<void()> setResourceInstance;     // the framework's module for classes and resources
    std::function<void()> measureDisplayDpi;       // the process DPI and global scale
    std::function<void()> loadSkin;                // the skin archive from the program's resources
    std::function<int()> run;                      // the wizard or the silent install: the exit code
    std::function<void(std::uintptr_t token)> stopGdiplus;
    std::function<void()> uninitializeCom;
    std::function<void(int exitCode)> reportExit;  // the last line of the log
};

// Runs the steps in the order above and returns the exit code. A command line or a second
// installer that ends the run does so before anything is brought up. When COM cannot be
// initialised nothing after it runs (no window, no shutdown steps) and the run ends with
// `comFailureCode`.
int RunStartupSequence(const StartupSteps& steps, int comFailureCode);
