// The downloader against a local HTTPS server (started by tests/net/with-pkgserver.sh).
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/WinDownloader.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Event {
    int code;
    double value;
    std::wstring text;
    DWORD thread;
    Clock::time_point at;
};

// Collects observer calls from the worker thread.
class Recorder {
public:
    DownloadCallback Callback()
    {
        return [this](int code, double value, const wchar_t* text) {
            std::lock_guard<std::mutex> lock(m_lock);
            m_events.push_back({code, value, text ? text : L"<null>", GetCurrentThreadId(), Clock::now()});
            m_changed.notify_all();
        };
    }
    // Waits for 1003 or 1004.
    bool WaitForEnd(std::chrono::seconds limit = std::chrono::seconds(60))
    {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, limit,
                                  [this] { return CountLocked(DOWNLOAD_COMPLETE) + CountLocked(DOWNLOAD_FAILED) > 0; });
    }
    bool WaitFor(int code, std::chrono::seconds limit = std::chrono::seconds(30))
    {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, limit, [&] { return CountLocked(code) > 0; });
    }
    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_events;
    }
    int Count(int code)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return CountLocked(code);
    }

private:
    int CountLocked(int code) const
    {
        int n = 0;
        for (const Event& e : m_events) n += e.code == code;
        return n;
    }
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
};

std::wstring Env(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}

std::wstring ServerUrl(const std::wstring& target)
{
    return L"https://localhost:" + Env(L"KP_TEST_SERVER_PORT") + target;
}

// A fresh path in the temporary folder; the file does not exist.
std::wstring TempFile(const std::wstring& name)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"kpdl-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
    DeleteFileW(path.c_str());
    return path;
}

std::vector<char> ReadAll(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    std::vector<char> bytes;
    if (!file) return bytes;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// How often the server has seen exactly this request line.
int ServerRequests(const std::string& line)
{
    const std::wstring path = Env(L"KP_TEST_SERVER_LOG");
    std::ifstream log(std::string(path.begin(), path.end()));  // an ASCII path
    int n = 0;
    for (std::string got; std::getline(log, got);) n += got == line;
    return n;
}

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// HTTP_E_STATUS_NOT_FOUND and its kind, as the failure report's value.
double HttpFailure(unsigned status) { return static_cast<double>(static_cast<std::int32_t>(0x80190000u | status)); }

class Download : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Env(L"KP_TEST_SERVER_PORT").empty()) << "run me with with-pkgserver.sh"; }

    // Downloads and waits for the end; the downloader is kept for further checks.
    void Run(const std::wstring& url, const std::wstring& savePath,
             CWinDownloader::Limits limits = CWinDownloader::Limits())
    {
        downloader = std::make_unique<CWinDownloader>(recorder.Callback(), url.c_str(), savePath.c_str(), limits);
        started = Clock::now();
        ASSERT_TRUE(downloader->Start());
        ASSERT_TRUE(recorder.WaitForEnd());
    }

    // The single failure of a download that had no success, and nothing after it.
    void ExpectOneFailure(double value, const wchar_t* text)
    {
        const std::vector<Event> events = recorder.Events();
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front().code, DOWNLOAD_BEGIN);
        EXPECT_EQ(events.back().code, DOWNLOAD_FAILED);
        EXPECT_EQ(events.back().value, value);
        EXPECT_EQ(events.back().text, text);
        EXPECT_EQ(recorder.Count(DOWNLOAD_FAILED), 1);
        EXPECT_EQ(recorder.Count(DOWNLOAD_COMPLETE), 0);
    }

    // The server answers `status` with the genuine package as the body.
    void ExpectStatusFails(unsigned status)
    {
        const std::string name = "status" + std::to_string(status) + ".exe";
        const std::wstring path = TempFile(std::wstring(name.begin(), name.end()));
        Run(ServerUrl(L"/" + std::wstring(name.begin(), name.end())), path);
        ExpectOneFailure(HttpFailure(status), L"URLDownloadToFile");
        EXPECT_EQ(ServerRequests("GET /" + name), 3);
        EXPECT_FALSE(Exists(path));
    }

    Recorder recorder;
    std::unique_ptr<CWinDownloader> downloader;
    Clock::time_point started;
};

}  // namespace

TEST_F(Download, DeliversThePackageWithBeginProgressAndComplete)
{
    const std::wstring path = TempFile(L"ok.exe");
    Run(ServerUrl(L"/pkg.exe"), path);

    const std::vector<Event> events = recorder.Events();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().code, DOWNLOAD_BEGIN);
    EXPECT_EQ(events.front().value, 1.0);
    EXPECT_EQ(events.front().text, L"");
    EXPECT_EQ(events.back().code, DOWNLOAD_COMPLETE);
    EXPECT_EQ(events.back().value, 0.0);
    EXPECT_EQ(events.back().text, L"URLDownloadToFile");
    for (size_t i = 1; i + 1 < events.size(); ++i) {
        EXPECT_EQ(events[i].code, DOWNLOAD_PROGRESS);
        EXPECT_GE(events[i].value, 0.0);
        EXPECT_LE(events[i].value, 1.0);
        EXPECT_EQ(events[i].text, L"");
    }
    EXPECT_GE(recorder.Count(DOWNLOAD_PROGRESS), 1);
    // Every report comes from the one worker thread.
    for (const Event& e : events) {
        EXPECT_NE(e.thread, GetCurrentThreadId());
        EXPECT_EQ(e.thread, events.front().thread);
    }
    EXPECT_EQ(ReadAll(path), ReadAll(Env(L"KP_TEST_PACKAGE")));
    EXPECT_EQ(ServerRequests("GET /pkg.exe"), 1);
    downloader.reset();
    EXPECT_TRUE(Exists(path)) << "a delivered package is kept";
    DeleteFileW(path.c_str());
}

TEST_F(Download, ARefusedConnectionIsTriedThreeTimesThenReportedOnce)
{
    const std::wstring path = TempFile(L"refused.exe");
    Run(L"https://localhost:" + Env(L"KP_TEST_REFUSED_PORT") + L"/pkg.exe", path);
    ExpectOneFailure(static_cast<double>(static_cast<std::int32_t>(INET_E_DOWNLOAD_FAILURE)), L"URLDownloadToFile");
    EXPECT_EQ(recorder.Count(DOWNLOAD_PROGRESS), 0);
    const std::vector<Event> events = recorder.Events();
    // Three pauses of a second each, one after every failed attempt.
    const double elapsed = Seconds(events.front().at, events.back().at);
    EXPECT_GE(elapsed, 2.9);
    EXPECT_LT(elapsed, 10.0);
    EXPECT_FALSE(Exists(path));
}

TEST_F(Download, AnEmptySavePathFailsAtOnceWithoutATransfer)
{
    Run(ServerUrl(L"/pkg.exe?empty-path"), L"");
    ExpectOneFailure(1.0, L"");
    EXPECT_EQ(recorder.Events().size(), 2u);
    EXPECT_LT(Seconds(started, recorder.Events().back().at), 0.9);
    EXPECT_EQ(ServerRequests("GET /pkg.exe?empty-path"), 0);
}

TEST_F(Download, AFileUrlIsUsedAsGivenAndOthersArePercentEncoded)
{
    EXPECT_EQ(PrepareDownloadUrl(L"file:///C:/a b/\u00e9.exe"), L"file:///C:/a b/\u00e9.exe");
    EXPECT_EQ(PrepareDownloadUrl(L"FILE:///C:/a b/\u00e9.exe"), L"FILE:///C:/a+b/%C3%A9.exe");
    EXPECT_EQ(PrepareDownloadUrl(L"https://h/p?ch=1&app=2"), L"https://h/p?ch=1&app=2");

    // A space in a file address still finds the file, so it was not turned into "+".
    const std::wstring folder = TempFile(L"src dir");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring source = folder + L"\\pkg copy.exe";
    ASSERT_TRUE(CopyFileW(Env(L"KP_TEST_PACKAGE").c_str(), source.c_str(), FALSE));
    std::wstring url = L"file:///" + source;
    for (wchar_t& c : url)
        if (c == L'\\') c = L'/';
    const std::wstring path = TempFile(L"from-file.exe");
    Run(url, path);
    EXPECT_EQ(recorder.Events().back().code, DOWNLOAD_COMPLETE);
    EXPECT_EQ(ReadAll(path), ReadAll(source));
    downloader.reset();
    DeleteFileW(path.c_str());
    DeleteFileW(source.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(Download, SpacesAndNonAsciiReachTheServerEncoded)
{
    const std::wstring path = TempFile(L"encoded.exe");
    Run(ServerUrl(L"/spaced name/\u00e9t\u00e9.exe"), path);
    EXPECT_EQ(recorder.Events().back().code, DOWNLOAD_COMPLETE);
    EXPECT_EQ(ServerRequests("GET /spaced+name/%C3%A9t%C3%A9.exe"), 1);
    EXPECT_EQ(ReadAll(path), ReadAll(Env(L"KP_TEST_PACKAGE")));
    downloader.reset();
    DeleteFileW(path.c_str());
}

// The transfer itself succeeds in these cases; what arrived is not a program.
TEST_F(Download, AnErrorPageIsAFailedDownloadAndIsNotKept)
{
    const std::wstring path = TempFile(L"missing.exe");
    Run(ServerUrl(L"/missing.exe"), path);
    ExpectOneFailure(HttpFailure(404), L"URLDownloadToFile");
    EXPECT_EQ(ServerRequests("GET /missing.exe"), 3);
    EXPECT_FALSE(Exists(path));
}

TEST_F(Download, ATruncatedPackageIsAFailedDownloadAndIsNotKept)
{
    const std::wstring path = TempFile(L"truncated.exe");
    Run(ServerUrl(L"/truncated.exe"), path);
    const Event last = recorder.Events().back();
    EXPECT_EQ(last.code, DOWNLOAD_FAILED);
    EXPECT_LT(last.value, 0.0);
    EXPECT_EQ(recorder.Count(DOWNLOAD_FAILED), 1);
    EXPECT_EQ(recorder.Count(DOWNLOAD_COMPLETE), 0);
    EXPECT_FALSE(Exists(path));
}

TEST_F(Download, AnEmptyBodyIsTransferredAsItIsForItsOwnerToJudge)
{
    // The downloader only transfers: whether the file is a program is the package check's business.
    const std::wstring path = TempFile(L"empty.exe");
    Run(ServerUrl(L"/empty.exe"), path);
    EXPECT_EQ(recorder.Events().back().code, DOWNLOAD_COMPLETE);
    EXPECT_EQ(recorder.Count(DOWNLOAD_FAILED), 0);
    ASSERT_TRUE(Exists(path));
    EXPECT_TRUE(ReadAll(path).empty());
    DeleteFileW(path.c_str());
}

TEST_F(Download, ASecondStartDownloadsNothingMore)
{
    const std::wstring path = TempFile(L"twice.exe");
    Run(ServerUrl(L"/pkg.exe?twice"), path);
    const size_t reports = recorder.Events().size();
    EXPECT_TRUE(downloader->Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(recorder.Events().size(), reports);
    EXPECT_EQ(ServerRequests("GET /pkg.exe?twice"), 1);
    downloader.reset();
    DeleteFileW(path.c_str());
}

TEST_F(Download, StartingAgainWhileTheWorkerRunsLeavesItAlone)
{
    const std::wstring path = TempFile(L"again.exe");
    downloader = std::make_unique<CWinDownloader>(recorder.Callback(), ServerUrl(L"/medium.exe").c_str(), path.c_str());
    ASSERT_TRUE(downloader->Start());
    ASSERT_TRUE(recorder.WaitFor(DOWNLOAD_PROGRESS));
    for (int i = 0; i < 5; ++i) downloader->Start();
    ASSERT_TRUE(recorder.WaitForEnd());
    EXPECT_EQ(recorder.Count(DOWNLOAD_BEGIN), 1);
    EXPECT_EQ(recorder.Count(DOWNLOAD_COMPLETE), 1);
    EXPECT_EQ(ServerRequests("GET /medium.exe"), 1);
    downloader.reset();
    DeleteFileW(path.c_str());
}

TEST_F(Download, DestroyingItMidDownloadStopsPromptlyAndDetachesTheObserver)
{
    const std::wstring path = TempFile(L"slow.exe");
    std::atomic<bool> inObserver{false};
    std::atomic<int> calls{0};
    DownloadCallback record = recorder.Callback();
    // A slow observer, so that destruction is likely to meet a call in progress.
    DownloadCallback observer = [&](int code, double value, const wchar_t* text) {
        inObserver = true;
        ++calls;
        record(code, value, text);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        inObserver = false;
    };
    downloader = std::make_unique<CWinDownloader>(observer, ServerUrl(L"/slow.exe").c_str(), path.c_str());
    ASSERT_TRUE(downloader->Start());
    ASSERT_TRUE(recorder.WaitFor(DOWNLOAD_PROGRESS));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const Clock::time_point before = Clock::now();
    downloader.reset();
    const double took = Seconds(before, Clock::now());
    std::printf("destroyed mid-download in %.0f ms\n", took * 1000);
    EXPECT_LT(took, 3.0);
    EXPECT_FALSE(inObserver.load());
    const int callsAtDestruction = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(calls.load(), callsAtDestruction);
    EXPECT_EQ(recorder.Count(DOWNLOAD_COMPLETE) + recorder.Count(DOWNLOAD_FAILED), 0);
    EXPECT_FALSE(Exists(path)) << "an abandoned download leaves no file";
}

TEST_F(Download, DestroyingAnUnstartedDownloaderEndsAtOnceWithoutReports)
{
    const std::wstring path = TempFile(L"unstarted.exe");
    const Clock::time_point before = Clock::now();
    downloader =
        std::make_unique<CWinDownloader>(recorder.Callback(), ServerUrl(L"/pkg.exe?unstarted").c_str(), path.c_str());
    downloader.reset();
    EXPECT_LT(Seconds(before, Clock::now()), 1.0);
    EXPECT_TRUE(recorder.Events().empty());
    EXPECT_EQ(ServerRequests("GET /pkg.exe?unstarted"), 0);
}

TEST_F(Download, DestructionPurgesOnlyItsOwnCacheEntries)
{
    // Another entry in the user's cache, as a browser would have left it.
    const std::wstring other = L"https://example.invalid/user/page.html";
    wchar_t cached[MAX_PATH] = {};
    ASSERT_TRUE(CreateUrlCacheEntryW(other.c_str(), 0, L"html", cached, 0));
    {
        FILE* f = _wfopen(cached, L"wb");
        ASSERT_NE(f, nullptr);
        fputs("<html></html>", f);
        fclose(f);
    }
    FILETIME never = {};
    ASSERT_TRUE(
        CommitUrlCacheEntryW(other.c_str(), cached, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));

    const std::wstring url = ServerUrl(L"/pkg.exe?cached");
    const std::wstring path = TempFile(L"cached.exe");
    Run(url, path);
    ASSERT_EQ(recorder.Events().back().code, DOWNLOAD_COMPLETE);
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    const bool downloadWasCached = GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    EXPECT_TRUE(downloadWasCached) << "the system keeps downloads in its cache";

    downloader.reset();
    size = 0;
    EXPECT_FALSE(GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size) || GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        << "the download's own entry is gone";
    size = 0;
    GetUrlCacheEntryInfoW(other.c_str(), nullptr, &size);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << "the user's entry is kept";
    DeleteUrlCacheEntryW(other.c_str());
    DeleteFileW(path.c_str());
}

TEST_F(Download, DestroyingItWhileTheServerIsSilentDoesNotHang)
{
    const std::wstring path = TempFile(L"stalled.exe");
    downloader =
        std::make_unique<CWinDownloader>(recorder.Callback(), ServerUrl(L"/stalled.exe").c_str(), path.c_str());
    ASSERT_TRUE(downloader->Start());
    ASSERT_TRUE(recorder.WaitFor(DOWNLOAD_PROGRESS));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the server has gone silent
    const size_t reports = recorder.Events().size();

    const Clock::time_point before = Clock::now();
    downloader.reset();
    const double took = Seconds(before, Clock::now());
    std::printf("destroyed with a silent server in %.0f ms\n", took * 1000);
    EXPECT_LT(took, 3.0);
    EXPECT_EQ(recorder.Events().size(), reports);
    EXPECT_FALSE(Exists(path));
}

// A hostile or broken server: whatever arrives, nothing is kept and each attempt counts as failed.
TEST_F(Download, A404FailsEvenWhenTheBodyIsTheGenuinePackage) { ExpectStatusFails(404); }

TEST_F(Download, A500FailsEvenWhenTheBodyIsTheGenuinePackage) { ExpectStatusFails(500); }

TEST_F(Download, ATransferThatFallsSilentIsGivenUpAndTriedAgain)
{
    const std::wstring path = TempFile(L"silent.exe");
    CWinDownloader::Limits limits;
    limits.stall = std::chrono::milliseconds(1500);
    Run(ServerUrl(L"/stalled.exe?silent"), path, limits);
    ExpectOneFailure(static_cast<double>(static_cast<std::int32_t>(INET_E_CONNECTION_TIMEOUT)), L"URLDownloadToFile");
    EXPECT_GE(recorder.Count(DOWNLOAD_PROGRESS), 1) << "the first megabyte arrived";
    EXPECT_EQ(ServerRequests("GET /stalled.exe?silent"), 3);
    // Three silences of 1.5 s and three pauses of 1 s.
    const double elapsed = Seconds(started, recorder.Events().back().at);
    EXPECT_GE(elapsed, 7.0);
    EXPECT_LT(elapsed, 40.0);
    EXPECT_FALSE(Exists(path));
}

TEST_F(Download, AResponseThatNeverEndsIsCutAtTheCap)
{
    const std::wstring path = TempFile(L"endless.exe");
    CWinDownloader::Limits limits;
    limits.maxBytes = 3 * 1024 * 1024;
    Run(ServerUrl(L"/endless.exe"), path, limits);
    ExpectOneFailure(static_cast<double>(static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE))),
                     L"URLDownloadToFile");
    EXPECT_EQ(ServerRequests("GET /endless.exe"), 3);
    EXPECT_FALSE(Exists(path));
}

TEST_F(Download, NothingBeyondTheAnnouncedLengthIsTaken)
{
    const std::wstring path = TempFile(L"longer.exe");
    Run(ServerUrl(L"/longer.exe"), path);
    EXPECT_EQ(recorder.Events().back().code, DOWNLOAD_COMPLETE);
    EXPECT_EQ(ReadAll(path), ReadAll(Env(L"KP_TEST_PACKAGE")));
    downloader.reset();
    DeleteFileW(path.c_str());
}
