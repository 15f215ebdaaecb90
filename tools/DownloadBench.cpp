// Times downloads with the installer's downloader: from Start to the completion report.
// Usage: kp_download_bench.exe SAVE_PATH URL [URL...]
// Downloads the URLs one after another in this process, each with a new downloader, and prints one
// line per URL: "<seconds> seconds, <n> progress reports, result <code>". Exit code 0 when all
// completed (1003).
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "net/WinDownloader.h"

namespace {

// Returns the final code (1003 or 1004).
int TimeOneDownload(const wchar_t* url, const wchar_t* savePath)
{
    std::mutex lock;
    std::condition_variable ended;
    int result = 0;
    int progressReports = 0;
    auto observer = [&](int code, double, const wchar_t*) {
        std::lock_guard<std::mutex> guard(lock);
        if (code == DOWNLOAD_PROGRESS)
            ++progressReports;
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
        std::fprintf(stderr, "usage: kp_download_bench.exe SAVE_PATH URL [URL...]\n");
        return 2;
    }
    bool allCompleted = true;
    for (int i = 2; i < argc; ++i)
        allCompleted = TimeOneDownload(argv[i], argv[1]) == DOWNLOAD_COMPLETE && allCompleted;
    return allCompleted ? 0 : 1;
}
