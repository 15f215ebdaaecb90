#pragma once
#include <cstdint>
#include <functional>

// The order in which the program brings its services up and down around the one modal run of the
// main window. Each step is a function so that the order and the early exit can be checked without
// Windows; main.cpp fills them with the real calls.
struct StartupSteps {
    std::function<void()> readCommandLine;         // read, but nothing below depends on it
    std::function<std::int32_t()> initializeCom;   // an HRESULT: negative is a failure
    std::function<std::uintptr_t()> startGdiplus;  // the token for stopGdiplus (not checked)
    std::function<void()> setResourceInstance;     // the framework's module for classes and resources
    std::function<void()> measureDisplayDpi;       // the process DPI and global scale
    std::function<void()> loadSkin;                // the skin archive from the program's resources
    std::function<void()> runMainWindow;           // returns once the window is gone
    std::function<void(std::uintptr_t token)> stopGdiplus;
    std::function<void()> uninitializeCom;
};

// Runs the steps in the order above. When COM cannot be initialised nothing after it runs: no
// window, no shutdown steps. The program reports no failure to its caller: the result is always 0.
int RunStartupSequence(const StartupSteps& steps);
