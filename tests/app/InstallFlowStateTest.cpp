// The install flow's state machine with a window, a downloader and a status file of the test's
// own: the start, the progress arithmetic, the completion and the automatic close, failures and
// retries, reports of an earlier attempt, and a stop during the download.
#include <gtest/gtest.h>

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
    bool AskAfterFailure() override
    {
        log.push_back("ask");
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
        services.makeDownloader = [this](DownloadCallback observer, const std::wstring& url, const std::wstring& path) {
            auto made = std::make_shared<MadeDownload>();
            made->observer = std::move(observer);
            made->url = url;
            made->savePath = path;
            downloads.push_back(made);
            return std::shared_ptr<CDownloader>(std::make_shared<FakeDownloader>(made, downloaderStarts));
        };
        services.makePackagePath = [this] { return L"C:\\Roaming\\KPCapture\\package" + std::to_wstring(++pathsMade) + L".exe"; };
        services.startPackage = [this](const std::wstring& path, const std::wstring& parameters) {
            packageStarts.emplace_back(path, parameters);
            return packageStartSucceeds;
        };
        services.removePackage = [this](const std::wstring& path) { removed.push_back(path); };
        services.prepareStatusFile = [this] {
            ++prepares;
            active = L"0";
        };
        services.pollStatusFile = [this] { return active; };
        return services;
    }

    // Starts, delivers `codes` of the download, and expects the package to run.
    void DownloadCompletely()
    {
        flow.Start(settings);
        ReportFromWorker(downloads.back()->observer, {DOWNLOAD_BEGIN, DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
        host.Deliver(flow);
        ASSERT_EQ(Stage::Installing, flow.GetStage());
    }

    void Tick(unsigned int timer, int times = 1)
    {
        for (int i = 0; i < times; ++i) flow.OnTimer(timer);
    }

    InstallSettings settings{L"C:\\Program Files\\KPCapture"};
    bool downloaderStarts = true;
    bool packageStartSucceeds = true;
    int pathsMade = 0;
    int prepares = 0;
    std::wstring active = L"error";
    std::vector<std::shared_ptr<MadeDownload>> downloads;
    std::vector<std::pair<std::wstring, std::wstring>> packageStarts;
    std::vector<std::wstring> removed;
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
    EXPECT_EQ(L"C:\\Roaming\\KPCapture\\package1.exe", downloads[0]->savePath);
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

TEST_F(InstallFlowStateTest, TheCompletedDownloadStartsThePackageWithTheSettingsOfThatMoment)
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
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(flow.GetPackagePath(), packageStarts[0].first);
    EXPECT_EQ(PackageCommandLine(L"D:\\My Apps\\凯普\\KPCapture", false), packageStarts[0].second);
    EXPECT_EQ(Stage::Installing, flow.GetStage());
    EXPECT_EQ(POLL_STATUS_MS, host.timers[TIMER_POLL_STATUS]);
    EXPECT_TRUE(host.pages.empty());
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
    Tick(TIMER_POLL_STATUS);
    EXPECT_EQ(100.0, host.shown.back());
    EXPECT_EQ(std::vector<int>{PAGE_COMPLETE}, host.pages);
    EXPECT_EQ(Stage::Finished, flow.GetStage());
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

TEST_F(InstallFlowStateTest, AFailureAsksAndAStartAfterItDownloadsAgainIgnoringTheOldAttempt)
{
    host.answerOk = false;
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_FAILED});
    host.Deliver(flow);
    EXPECT_EQ(1, host.Count("ask"));
    EXPECT_TRUE(host.pages.empty()) << "取消 leaves the progress page";
    EXPECT_EQ(0.0, host.shown.back());
    EXPECT_EQ(Stage::Failed, flow.GetStage());

    const DownloadCallback stale = downloads[0]->observer;
    const std::wstring firstPath = flow.GetPackagePath();
    flow.Start(settings);
    ASSERT_EQ(2u, downloads.size()) << "a start after a failure really downloads again";
    EXPECT_TRUE(downloads[0]->destroyed);
    EXPECT_EQ(firstPath, downloads[1]->savePath) << "into the same file";
    EXPECT_EQ(1, pathsMade);
    EXPECT_EQ(2, prepares);

    // The first attempt's worker still reports: nothing of it arrives any more ...
    ReportFromWorker(stale, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    EXPECT_TRUE(host.Waiting().empty());
    // ... and a report of it that was waiting already counts for nothing.
    flow.OnDownloadReport(DOWNLOAD_COMPLETE, 1);
    EXPECT_TRUE(packageStarts.empty());
    EXPECT_EQ(0.0, flow.GetProgress());

    host.answerOk = true;
    ReportFromWorker(downloads[1]->observer, {DOWNLOAD_FAILED});
    host.Deliver(flow);
    EXPECT_EQ(2, host.Count("ask"));
    EXPECT_EQ(std::vector<int>{PAGE_WELCOME}, host.pages) << "确定 goes back to the welcome page";
    // A report after the failure belongs to no running download.
    flow.OnDownloadReport(DOWNLOAD_COMPLETE, 2);
    EXPECT_TRUE(packageStarts.empty());
}

TEST_F(InstallFlowStateTest, ADownloadOrPackageThatCannotStartEndsInTheQuestionAtZero)
{
    downloaderStarts = false;
    flow.Start(settings);
    EXPECT_EQ(1, host.Count("ask"));
    EXPECT_EQ(Stage::Failed, flow.GetStage());

    downloaderStarts = true;
    packageStartSucceeds = false;
    flow.Start(settings);
    ReportFromWorker(downloads.back()->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    host.Deliver(flow);
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(std::vector<std::wstring>{flow.GetPackagePath()}, removed) << "the package that did not run goes";
    EXPECT_EQ(2, host.Count("ask"));
    EXPECT_EQ(0.0, flow.GetProgress());
    EXPECT_EQ(0.0, host.shown.back());
    EXPECT_EQ(Stage::Failed, flow.GetStage());
    EXPECT_FALSE(host.TimerRuns(TIMER_POLL_STATUS)) << "no poll for a package that never ran";
}

TEST_F(InstallFlowStateTest, AStopDuringTheDownloadAbandonsItAndLateReportsGoNowhere)
{
    flow.Start(settings);
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS});
    host.Deliver(flow);
    host.StartTimer(TIMER_AUTO_CLOSE, AUTO_CLOSE_MS);
    flow.Stop();
    EXPECT_TRUE(downloads[0]->destroyed);
    EXPECT_FALSE(host.TimerRuns(TIMER_AUTO_CLOSE));

    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE, DOWNLOAD_FAILED});
    EXPECT_TRUE(host.Waiting().empty());
    EXPECT_TRUE(packageStarts.empty());
    EXPECT_EQ(0, host.Count("ask"));
}
