// The install flow's state machine with a window, a downloader, a package place, check and process
// and a status file of the test's own: the start, the progress arithmetic, the check and the start
// of the package, the completion and the automatic close, each kind of failure and the retry after
// it, reports of an earlier attempt, the end of a package that never completes, and a stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/InstallFlow.h"
#include "app/PackageCommand.h"
#include "pages/InstallEvents.h"
#include "pages/InstallSettings.h"

using Stage = CInstallFlow::Stage;

namespace {

// The window: records what the flow shows, asks and does, and keeps posted reports until the test
// delivers them, as a message queue would.
class FakeHost : public IInstallFlowHost {
public:
    void ShowProgress(double percent) override { shown.push_back(percent); }
    void ShowPage(int page) override { pages.push_back(page); }
    bool AskAfterFailure(InstallFailure failure) override
    {
        log.push_back("ask");
        asked.push_back(failure);
        return answerOk;
    }
    void FinishInstall() override { log.push_back("finish"); }
    bool IsQuestionOpen() const override { return questionOpen; }
    void PostClose() override { log.push_back("close"); }
    void StartTimer(unsigned int id, unsigned int milliseconds) override { timers[id] = milliseconds; }
    void StopTimer(unsigned int id) override { timers.erase(id); }
    ReportPoster MakeReportPoster() override
    {
        return [this](int code, int attempt) {
            std::lock_guard<std::mutex> lock(queueLock);
            queue.emplace_back(code, attempt);
        };
    }

    std::vector<std::pair<int, int>> Waiting()
    {
        std::lock_guard<std::mutex> lock(queueLock);
        return queue;
    }
    // Hands every waiting report to the flow, in order.
    void Deliver(CInstallFlow& flow)
    {
        std::vector<std::pair<int, int>> reports;
        {
            std::lock_guard<std::mutex> lock(queueLock);
            reports.swap(queue);
        }
        for (const auto& report : reports) flow.OnDownloadReport(report.first, report.second);
    }
    bool TimerRuns(unsigned int id) const { return timers.count(id) != 0; }
    int Count(const char* entry) const
    {
        int n = 0;
        for (const std::string& e : log) n += e == entry ? 1 : 0;
        return n;
    }

    std::vector<double> shown;
    std::vector<int> pages;
    std::vector<std::string> log;
    std::vector<InstallFailure> asked;
    std::map<unsigned int, unsigned int> timers;
    bool answerOk = true;
    bool questionOpen = false;

private:
    std::mutex queueLock;
    std::vector<std::pair<int, int>> queue;
};

struct MadeDownload {
    DownloadCallback observer;
    std::wstring url;
    std::wstring savePath;
    int starts = 0;
    bool destroyed = false;
};

class FakeDownloader : public CDownloader {
public:
    FakeDownloader(std::shared_ptr<MadeDownload> made, bool startResult)
        : m_made(std::move(made)), m_result(startResult)
    {
    }
    ~FakeDownloader() { m_made->destroyed = true; }
    bool Start() override
    {
        ++m_made->starts;
        return m_result;
    }

private:
    std::shared_ptr<MadeDownload> m_made;
    bool m_result;
};

// What happened to the package's places, held files and processes, in order.
struct PackageEvents {
    std::vector<std::string> log;
    bool removeSucceeds = true;
    bool ended = false;  // the running package and all it started have ended
};

class FakePlace : public CPackagePlace {
public:
    FakePlace(std::shared_ptr<PackageEvents> events, std::wstring path)
        : m_events(std::move(events)), m_path(std::move(path))
    {
    }
    ~FakePlace() override { m_events->log.push_back("place gone"); }
    const std::wstring& PackagePath() const override { return m_path; }
    bool Remove() override
    {
        m_events->log.push_back(m_events->removeSucceeds ? "removed" : "in use");
        return m_events->removeSucceeds;
    }

private:
    std::shared_ptr<PackageEvents> m_events;
    std::wstring m_path;
};

class FakeHeld : public CHeldPackage {
public:
    explicit FakeHeld(std::shared_ptr<PackageEvents> events) : m_events(std::move(events)) {}
    ~FakeHeld() override { m_events->log.push_back("released"); }

private:
    std::shared_ptr<PackageEvents> m_events;
};

class FakeRunning : public CRunningPackage {
public:
    explicit FakeRunning(std::shared_ptr<PackageEvents> events) : m_events(std::move(events)) {}
    bool HasEnded() const override { return m_events->ended; }

private:
    std::shared_ptr<PackageEvents> m_events;
};

// Calls the observer with `codes` from a thread of its own, as a download worker does.
void ReportFromWorker(const DownloadCallback& observer, std::initializer_list<int> codes)
{
    const std::vector<int> list(codes);
    std::thread worker([&] {
        for (int code : list) observer(code, 0.5, L"");
    });
    worker.join();
}

class InstallFlowStateTest : public ::testing::Test {
protected:
    InstallFlowServices Services()
    {
        InstallFlowServices services;
        services.makePackagePlace = [this]() -> std::unique_ptr<CPackagePlace> {
            if (!placeCanBeMade) return nullptr;
            events->log.push_back("place");
            return std::make_unique<FakePlace>(
                events, L"C:\\ProgramData\\KPCapture\\f" + std::to_wstring(++placesMade) + L"\\package.exe");
        };
        services.makeDownloader = [this](DownloadCallback observer, const std::wstring& url, const std::wstring& path) {
            auto made = std::make_shared<MadeDownload>();
            made->observer = std::move(observer);
            made->url = url;
            made->savePath = path;
            downloads.push_back(made);
            return std::shared_ptr<CDownloader>(std::make_shared<FakeDownloader>(made, downloaderStarts));
        };
        services.checkPackage = [this](const std::wstring& path) -> std::unique_ptr<CHeldPackage> {
            events->log.push_back("check");
            checked.push_back(path);
            if (!packageTrusted) return nullptr;
            return std::make_unique<FakeHeld>(events);
        };
        services.startPackage = [this](const std::wstring& path,
                                       const std::wstring& parameters) -> std::unique_ptr<CRunningPackage> {
            events->log.push_back("start");
            packageStarts.emplace_back(path, parameters);
            if (!packageStartSucceeds) return nullptr;
            return std::make_unique<FakeRunning>(events);
        };
        services.prepareStatusFile = [this] {
            ++prepares;
            if (!statusFileTrusted) return false;
            active = L"0";
            return true;
        };
        services.pollStatusFile = [this] { return active; };
        services.isApplicationInstalled = [this](const std::wstring& appFolder) {
            appFoldersLookedAt.push_back(appFolder);
            return applicationThere;
        };
        services.pauseBeforeCheckMs = pauseBeforeCheckMs;
        services.pauseBeforeStartMs = pauseBeforeStartMs;
        return services;
    }

    // Starts and delivers the whole download of the latest attempt.
    void Download()
    {
        flow.Start(settings);
        ASSERT_FALSE(downloads.empty());
        ReportFromWorker(downloads.back()->observer, {DOWNLOAD_BEGIN, DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
        host.Deliver(flow);
    }

    // Downloads and expects the package to run.
    void DownloadCompletely()
    {
        Download();
        ASSERT_EQ(Stage::Installing, flow.GetStage());
    }

    void Tick(unsigned int timer, int times = 1)
    {
        for (int i = 0; i < times; ++i) flow.OnTimer(timer);
    }

    // Where each attempt is saved: the place's file.
    static std::wstring PlacePath(int n)
    {
        return L"C:\\ProgramData\\KPCapture\\f" + std::to_wstring(n) + L"\\package.exe";
    }

    InstallSettings settings{L"C:\\Program Files\\KPCapture"};
    bool placeCanBeMade = true;
    bool downloaderStarts = true;
    bool packageTrusted = true;
    bool packageStartSucceeds = true;
    unsigned int pauseBeforeCheckMs = 0;
    unsigned int pauseBeforeStartMs = 0;
    int placesMade = 0;
    int prepares = 0;
    bool statusFileTrusted = true;
    bool applicationThere = true;
    std::vector<std::wstring> appFoldersLookedAt;
    std::wstring active = L"error";
    std::shared_ptr<PackageEvents> events = std::make_shared<PackageEvents>();
    std::vector<std::shared_ptr<MadeDownload>> downloads;
    std::vector<std::wstring> checked;
    std::vector<std::pair<std::wstring, std::wstring>> packageStarts;
    FakeHost host;
    CInstallFlow flow{host, Services()};
};

}  // namespace

TEST_F(InstallFlowStateTest, AStartShowsZeroPreparesTheStatusFileAndStartsOneDownloadOfThePackage)
{
    active = L"1";  // left by an earlier run
    flow.Start(settings);
    EXPECT_EQ(std::vector<double>{0.0}, host.shown);
    EXPECT_EQ(1, prepares);
    EXPECT_EQ(L"0", active);
    ASSERT_EQ(1u, downloads.size());
    EXPECT_EQ(PackageUrl(), downloads[0]->url);
    EXPECT_EQ(PlacePath(1), downloads[0]->savePath) << "into a place of its own";
    EXPECT_EQ(flow.GetPackagePath(), downloads[0]->savePath);
    EXPECT_EQ(1, downloads[0]->starts);
    EXPECT_EQ(Stage::Downloading, flow.GetStage());
    EXPECT_TRUE(host.timers.empty());

    // A second start while downloading leaves the running download alone.
    flow.Start(settings);
    EXPECT_EQ(1u, downloads.size());
    EXPECT_FALSE(downloads[0]->destroyed);
    EXPECT_EQ(1, prepares);
}

TEST_F(InstallFlowStateTest, ReportsWaitForTheUiThreadAndEachNotificationIsOnePointUpToSeventy)
{
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_BEGIN, DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS});
    EXPECT_EQ(0.0, flow.GetProgress()) << "nothing changes on the worker's thread";
    // Progress notifications wait as one report, whatever their number.
    const auto waiting = host.Waiting();
    ASSERT_EQ(2u, waiting.size());
    EXPECT_EQ(std::make_pair(static_cast<int>(DOWNLOAD_BEGIN), 1), waiting[0]);
    EXPECT_EQ(std::make_pair(static_cast<int>(DOWNLOAD_PROGRESS), 1), waiting[1]);
    host.Deliver(flow);
    EXPECT_EQ(3.0, flow.GetProgress());
    EXPECT_EQ(3.0, host.shown.back());

    // 90 more notifications, whatever fraction they carry: the bar stops at 70.
    std::thread worker([&] {
        for (int i = 0; i < 90; ++i) downloads[0]->observer(DOWNLOAD_PROGRESS, 0.01, L"");
    });
    worker.join();
    EXPECT_EQ(1u, host.Waiting().size());
    host.Deliver(flow);
    EXPECT_EQ(70.0, flow.GetProgress());
    EXPECT_EQ(Stage::Downloading, flow.GetStage());
}

TEST_F(InstallFlowStateTest, TheCompletedDownloadIsCheckedThenStartedWithTheSettingsOfThatMoment)
{
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS});
    host.Deliver(flow);
    // Changed while the download runs.
    settings.installDir = L"D:\\My Apps\\凯普\\KPCapture";
    settings.desktopShortcut = false;
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_COMPLETE});
    EXPECT_TRUE(packageStarts.empty()) << "the package is started on the UI thread";
    host.Deliver(flow);

    EXPECT_EQ(70.0, flow.GetProgress()) << "2 notifications, then completion: 2 jumps to 70";
    EXPECT_TRUE(downloads[0]->destroyed) << "the finished downloader goes before the check";
    EXPECT_EQ(std::vector<std::wstring>{PlacePath(1)}, checked);
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(PlacePath(1), packageStarts[0].first);
    EXPECT_EQ(PackageCommandLine(L"D:\\My Apps\\凯普\\KPCapture", false), packageStarts[0].second);
    // Checked, held through the start, and let go only once the package runs.
    EXPECT_EQ((std::vector<std::string>{"place", "check", "start", "released"}), events->log);
    EXPECT_EQ(Stage::Installing, flow.GetStage());
    EXPECT_EQ(POLL_STATUS_MS, host.timers[TIMER_POLL_STATUS]);
    EXPECT_TRUE(host.pages.empty());
}

TEST_F(InstallFlowStateTest, TestPausesDelayTheCheckAndTheStartButSkipNeither)
{
    pauseBeforeCheckMs = 2000;
    pauseBeforeStartMs = 3000;
    CInstallFlow paused(host, Services());
    paused.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_COMPLETE});
    host.Deliver(paused);
    EXPECT_EQ(Stage::Checking, paused.GetStage());
    EXPECT_EQ(2000u, host.timers[TIMER_PACKAGE_PAUSE]);
    EXPECT_TRUE(checked.empty());
    paused.OnTimer(TIMER_POLL_STATUS);  // not the pause's timer
    EXPECT_TRUE(checked.empty());

    paused.OnTimer(TIMER_PACKAGE_PAUSE);
    EXPECT_EQ(Stage::Starting, paused.GetStage());
    EXPECT_EQ(3000u, host.timers[TIMER_PACKAGE_PAUSE]);
    EXPECT_EQ((std::vector<std::string>{"place", "check"}), events->log) << "held, not started yet";

    paused.OnTimer(TIMER_PACKAGE_PAUSE);
    EXPECT_EQ(Stage::Installing, paused.GetStage());
    EXPECT_FALSE(host.TimerRuns(TIMER_PACKAGE_PAUSE));
    EXPECT_EQ((std::vector<std::string>{"place", "check", "start", "released"}), events->log);

    // A window closed during a pause leaves nothing held and no place behind.
    CInstallFlow closing(host, Services());
    closing.Start(settings);
    ReportFromWorker(downloads.back()->observer, {DOWNLOAD_COMPLETE});
    host.Deliver(closing);
    closing.OnTimer(TIMER_PACKAGE_PAUSE);
    events->log.clear();
    closing.Stop();
    EXPECT_EQ((std::vector<std::string>{"released", "place gone"}), events->log);
    EXPECT_FALSE(host.TimerRuns(TIMER_PACKAGE_PAUSE));
    closing.OnTimer(TIMER_PACKAGE_PAUSE);
    EXPECT_EQ(1u, packageStarts.size()) << "only the first flow's package ran";
}

TEST_F(InstallFlowStateTest, ThePollCreepsToNinetyNineAndOnlyTheCompletionShowsAHundred)
{
    DownloadCompletely();
    host.shown.clear();
    for (const wchar_t* notYet : {L"0", L"01", L"true", L"error"}) {
        active = notYet;
        Tick(TIMER_POLL_STATUS);
    }
    EXPECT_EQ((std::vector<double>{70, 71, 72, 73}), host.shown);
    Tick(TIMER_POLL_STATUS, 60);
    EXPECT_EQ(99.0, host.shown.back()) << "the page never passes 99 while it waits";
    EXPECT_EQ(Stage::Installing, flow.GetStage());
    EXPECT_TRUE(host.pages.empty());

    active = L"1";
    events->log.clear();
    Tick(TIMER_POLL_STATUS);
    EXPECT_EQ(100.0, host.shown.back());
    EXPECT_EQ(std::vector<int>{PAGE_COMPLETE}, host.pages);
    EXPECT_EQ(Stage::Finished, flow.GetStage());
    EXPECT_EQ((std::vector<std::string>{"removed", "place gone"}), events->log) << "the package goes at once";
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS));
    EXPECT_EQ(AUTO_CLOSE_MS, host.timers[TIMER_AUTO_CLOSE]);
    // A late tick of the poll only stops it; a start now changes nothing.
    host.StartTimer(TIMER_POLL_STATUS, POLL_STATUS_MS);
    Tick(TIMER_POLL_STATUS);
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS));
    flow.Start(settings);
    EXPECT_EQ(1u, downloads.size());
    EXPECT_EQ(Stage::Finished, flow.GetStage());
}

TEST_F(InstallFlowStateTest, TheAutomaticCloseWaitsForAQuestionAndFinishesTheInstallBeforeClosing)
{
    DownloadCompletely();
    active = L"1";
    Tick(TIMER_POLL_STATUS);
    host.questionOpen = true;
    Tick(TIMER_AUTO_CLOSE);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(host.TimerRuns(TIMER_AUTO_CLOSE)) << "the timer comes again";

    host.questionOpen = false;
    Tick(TIMER_AUTO_CLOSE);
    EXPECT_EQ((std::vector<std::string>{"finish", "close"}), host.log);
    EXPECT_FALSE(host.TimerRuns(TIMER_AUTO_CLOSE));
    // Other timers of the window are not the flow's.
    Tick(TIMER_AUTO_CLOSE + 1000);
    EXPECT_EQ(2u, host.log.size());
}

TEST_F(InstallFlowStateTest, APackageStillInUseAtTheCompletionGoesWhenTheFlowStops)
{
    DownloadCompletely();
    events->removeSucceeds = false;
    active = L"1";
    Tick(TIMER_POLL_STATUS);
    ASSERT_EQ(Stage::Finished, flow.GetStage());
    EXPECT_EQ("in use", events->log.back()) << "kept for another try";
    // Tried again on request (a silent run waits for the package to let go)...
    EXPECT_FALSE(flow.RemoveFinishedPlace());
    EXPECT_FALSE(flow.GetPackagePath().empty());
    events->removeSucceeds = true;
    EXPECT_TRUE(flow.RemoveFinishedPlace());
    EXPECT_EQ("place gone", events->log.back());
    EXPECT_TRUE(flow.GetPackagePath().empty());
    // ...or when the flow stops.
    flow.Stop();
    EXPECT_EQ("place gone", events->log.back());
}

TEST_F(InstallFlowStateTest, AFailureAsksAndAStartAfterItDownloadsAgainIntoAFreshPlace)
{
    host.answerOk = false;
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_FAILED});
    host.Deliver(flow);
    EXPECT_EQ(std::vector<InstallFailure>{InstallFailure::Download}, host.asked);
    EXPECT_TRUE(host.pages.empty()) << "取消 leaves the progress page";
    EXPECT_EQ(0.0, host.shown.back());
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_TRUE(downloads[0]->destroyed);
    EXPECT_EQ("place gone", events->log.back()) << "removed before the question";

    const DownloadCallback stale = downloads[0]->observer;
    flow.Start(settings);
    ASSERT_EQ(2u, downloads.size()) << "a start after a failure really downloads again";
    EXPECT_EQ(PlacePath(2), downloads[1]->savePath) << "into a fresh place";
    EXPECT_EQ(2, prepares);

    // The first attempt's worker still reports: nothing of it arrives any more ...
    ReportFromWorker(stale, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    EXPECT_TRUE(host.Waiting().empty());
    // ... and a report of it that was waiting already counts for nothing.
    flow.OnDownloadReport(DOWNLOAD_COMPLETE, 1);
    EXPECT_TRUE(checked.empty());
    EXPECT_EQ(0.0, flow.GetProgress());

    host.answerOk = true;
    ReportFromWorker(downloads[1]->observer, {DOWNLOAD_FAILED});
    host.Deliver(flow);
    EXPECT_EQ(2, host.Count("ask"));
    EXPECT_EQ(std::vector<int>{PAGE_WELCOME}, host.pages) << "确定 goes back to the welcome page";
    // A report after the failure belongs to no running download.
    flow.OnDownloadReport(DOWNLOAD_COMPLETE, 2);
    EXPECT_TRUE(checked.empty());
}

TEST_F(InstallFlowStateTest, APackageThatFailsTheCheckNeverRunsAndTheRetryKeepsTheChoices)
{
    settings.installDir = L"D:\\Apps\\KPCapture";
    settings.desktopShortcut = false;
    packageTrusted = false;
    Download();
    EXPECT_EQ(std::vector<InstallFailure>{InstallFailure::Verification}, host.asked);
    EXPECT_TRUE(packageStarts.empty());
    EXPECT_EQ((std::vector<std::string>{"place", "check", "place gone"}), events->log);
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_EQ(InstallFailure::Verification, flow.GetLastFailure());
    EXPECT_EQ(std::vector<int>{PAGE_WELCOME}, host.pages);
    EXPECT_EQ(0.0, host.shown.back());
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS));

    // "立即安装" again: a new download, and the package gets the choices made before the failure.
    packageTrusted = true;
    DownloadCompletely();
    EXPECT_EQ(2u, downloads.size());
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(PlacePath(2), packageStarts[0].first);
    EXPECT_EQ(PackageCommandLine(L"D:\\Apps\\KPCapture", false), packageStarts[0].second);
}

TEST_F(InstallFlowStateTest, NoPlaceNoDownloaderOrNoStartEachEndInTheirQuestionAtZero)
{
    placeCanBeMade = false;
    flow.Start(settings);
    EXPECT_TRUE(downloads.empty()) << "nothing is fetched without a protected place";
    EXPECT_EQ(Stage::Failed, flow.GetStage());

    placeCanBeMade = true;
    downloaderStarts = false;
    flow.Start(settings);
    EXPECT_EQ(Stage::Failed, flow.GetStage());

    downloaderStarts = true;
    packageStartSucceeds = false;
    events->log.clear();
    Download();
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ((std::vector<std::string>{"place", "check", "start", "released", "place gone"}), events->log)
        << "the package that did not run goes";
    EXPECT_EQ((std::vector<InstallFailure>{InstallFailure::Start, InstallFailure::Download, InstallFailure::Start}),
              host.asked);
    EXPECT_EQ(0.0, flow.GetProgress());
    EXPECT_EQ(0.0, host.shown.back());
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS)) << "no poll for a package that never ran";
}

TEST_F(InstallFlowStateTest, APackageThatEndsWithoutCompletingFailsAfterTheGracePeriod)
{
    DownloadCompletely();
    Tick(TIMER_POLL_STATUS, 100);
    EXPECT_EQ(Stage::Installing, flow.GetStage()) << "a package (or a child it handed over to) may run long";

    events->ended = true;
    Tick(TIMER_POLL_STATUS, static_cast<int>(PACKAGE_END_GRACE_TICKS) - 1);
    EXPECT_EQ(Stage::Installing, flow.GetStage()) << "\"active\" may still turn \"1\"";
    EXPECT_TRUE(host.asked.empty());
    Tick(TIMER_POLL_STATUS);
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_EQ(std::vector<InstallFailure>{InstallFailure::Incomplete}, host.asked);
    EXPECT_EQ("place gone", events->log.back());
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS));
    EXPECT_EQ(0.0, host.shown.back());

    // The same end, but "1" comes within the grace period: completed.
    events->ended = false;
    DownloadCompletely();
    events->ended = true;
    Tick(TIMER_POLL_STATUS, static_cast<int>(PACKAGE_END_GRACE_TICKS) - 1);
    active = L"1";
    Tick(TIMER_POLL_STATUS);
    EXPECT_EQ(Stage::Finished, flow.GetStage());
    EXPECT_EQ(1u, host.asked.size());
    EXPECT_GE(PACKAGE_END_GRACE_TICKS * POLL_STATUS_MS, PACKAGE_END_GRACE_MS);
}

TEST_F(InstallFlowStateTest, AStopDuringTheDownloadAbandonsItAndLateReportsGoNowhere)
{
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS});
    host.Deliver(flow);
    host.StartTimer(TIMER_AUTO_CLOSE, AUTO_CLOSE_MS);
    flow.Stop();
    EXPECT_TRUE(downloads[0]->destroyed);
    EXPECT_EQ("place gone", events->log.back());
    EXPECT_FALSE(host.TimerRuns(TIMER_AUTO_CLOSE));

    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE, DOWNLOAD_FAILED});
    EXPECT_TRUE(host.Waiting().empty());
    EXPECT_TRUE(checked.empty());
    EXPECT_EQ(0, host.Count("ask"));
}

// A status file behind a link (or without a profile folder) is never written: the attempt ends in
// its own question before anything is fetched, and a later start tries again from the beginning.
TEST_F(InstallFlowStateTest, AnUntrustedStatusFileEndsTheAttemptBeforeAnyDownload)
{
    statusFileTrusted = false;
    active = L"1";
    flow.Start(settings);
    EXPECT_EQ(1, prepares);
    EXPECT_EQ(L"1", active) << "nothing was written";
    EXPECT_TRUE(downloads.empty());
    EXPECT_TRUE(events->log.empty()) << "no place was made for a package";
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_EQ(std::vector<InstallFailure>{InstallFailure::StatusFile}, host.asked);

    statusFileTrusted = true;
    DownloadCompletely();
    EXPECT_EQ(2, prepares);
}

// "active" = "1" with no application in its folder (another process wrote it, or the package
// claims more than it did) is no completion: while the package runs it may still be putting the
// application there; once it has ended the attempt fails with its own question.
TEST_F(InstallFlowStateTest, AOneWithoutTheApplicationIsNoCompletion)
{
    DownloadCompletely();
    applicationThere = false;
    active = L"1";
    Tick(TIMER_POLL_STATUS, 5);
    EXPECT_EQ(Stage::Installing, flow.GetStage());
    ASSERT_FALSE(appFoldersLookedAt.empty());
    EXPECT_EQ(L"C:\\Program Files\\KPCapture\\KPCapture", appFoldersLookedAt.back());
    events->ended = true;
    Tick(TIMER_POLL_STATUS, static_cast<int>(PACKAGE_END_GRACE_TICKS));
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_EQ(std::vector<InstallFailure>{InstallFailure::NotInstalled}, host.asked);
    EXPECT_EQ(std::count(host.pages.begin(), host.pages.end(), PAGE_COMPLETE), 0) << "no completion page";
    EXPECT_FALSE(host.TimerRuns(TIMER_AUTO_CLOSE));

    // The application arriving while the package still runs completes as usual.
    events->ended = false;
    DownloadCompletely();
    active = L"1";
    Tick(TIMER_POLL_STATUS, 3);
    EXPECT_EQ(Stage::Installing, flow.GetStage());
    applicationThere = true;
    Tick(TIMER_POLL_STATUS);
    EXPECT_EQ(Stage::Finished, flow.GetStage());
}
