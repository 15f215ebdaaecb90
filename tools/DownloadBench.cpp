// Times downloads with the installer's downloader: from Start to the completion report.
// Usage: kp_download_bench.exe SAVE_PATH [--warm-up | --steps] URL [URL...]
// Downloads the URLs one after another in this process, each with a new downloader, and prints one
// line per URL: "<seconds> seconds, <n> progress reports, result <code>". Exit code 0 when all
// completed (1003).
//
// Before anything is timed the process is made to look like the installer's at the moment of the
// click: COM is initialised and a window exists on the main thread (the first window of a Wine
// process waits for the desktop process, which the installer has long done by then).
//   --warm-up  runs the installer's download warm-up first and waits for it (as when the user
//              reads the welcome page for a moment), printing how long it took
//   --steps    runs the warm-up's steps one at a time first, printing each one's time
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <mutex>

#include "KPCore/inner/DllHardening.h"
#include "net/DownloadWarmUp.h"
#include "net/WinDownloader.h"

namespace {

double SecondsOf(const std::function<void()>& work)
{
    const auto begin = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

void BecomeLikeTheInstaller()
{
    const double seconds = SecondsOf([] {
        CoInitialize(nullptr);
        CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    });
    std::printf("setup (COM, first window): %.3f seconds\n", seconds);
}

void RunWarmUpSteps()
{
    const SystemLookup system = [](const wchar_t* dll, const char* function) {
        return SystemProcAddress(dll, function);
    };
    bool ok = false;
    double seconds = SecondsOf([&] { ok = LoadTransferLibraries(system); });
    std::printf("step urlmon and wininet loaded: %.3f seconds%s\n", seconds, ok ? "" : " (failed)");
    seconds = SecondsOf([&] { ok = PrepareTlsProvider(system); });
    std::printf("step TLS provider started: %.3f seconds%s\n", seconds, ok ? "" : " (failed)");
    seconds = SecondsOf([&] { ok = PrepareCertificateChecks(system); });
    std::printf("step certificate stores and chain engine: %.3f seconds%s\n", seconds, ok ? "" : " (failed)");
}

void RunWarmUp()
{
    CDownloadWarmUp warmUp;
    const double seconds = SecondsOf([&] {
        warmUp.Start();
        warmUp.WaitUntilDone(INFINITE);
    });
    std::printf("warm-up: %.3f seconds\n", seconds);
}

// Returns the final code (1003 or 1004).
int TimeOneDownload(const wchar_t* url, const wchar_t* savePath)
{
    std::mutex lock;
    std::condition_variable ended;
    int result = 0;
    int progressReports = 0;
    auto observer = [&](int code, double, const wchar_t*) {
        std::lock_guard<std::mutex> guard(lock);
        if (code == DOWNLOAD_PROGRESS) ++progressReports;
        if (code == DOWNLOAD_COMPLETE || code == DOWNLOAD_FAILED) {
            result = code;
            ended.notify_all();
        }
    };
    CWinDownloader downloader(observer, url, savePath);
    const auto begin = std::chrono::steady_clock::now();
    downloader.Start();
    {
        std::unique_lock<std::mutex> guard(lock);
        ended.wait(guard, [&] { return result != 0; });
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%.3f seconds, %d progress reports, result %d\n", seconds, progressReports, result);
    std::fflush(stdout);
    DeleteFileW(savePath);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kp_download_bench.exe SAVE_PATH [--warm-up | --steps] URL [URL...]\n");
        return 2;
    }
    int first = 2;
    BecomeLikeTheInstaller();
    if (std::wcscmp(argv[2], L"--warm-up") == 0) {
        RunWarmUp();
        ++first;
    } else if (std::wcscmp(argv[2], L"--steps") == 0) {
        RunWarmUpSteps();
        ++first;
    }
    std::fflush(stdout);
    bool allCompleted = true;
    for (int i = first; i < argc; ++i)
        allCompleted = TimeOneDownload(argv[i], argv[1]) == DOWNLOAD_COMPLETE && allCompleted;
    return allCompleted ? 0 : 1;
}
