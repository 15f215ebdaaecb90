// The install flow run by the silent host, with a downloader, package and status file of the
// test's own: each way a run can end and the exit code it ends with.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ExitCode.h"
#include "app/InstallFlow.h"
#include "app/SilentFlowHost.h"
#include "pages/InstallSettings.h"

namespace {

class NoDownloader : public CDownloader {
public:
    bool Start() override { return true; }
};

class Place : public CPackagePlace {
public:
    const std::wstring& PackagePath() const override { return m_path; }
    bool Remove() override { return true; }

private:
    std::wstring m_path = L"C:\\ProgramData\\KPCapture\\p\\package.exe";
};

class Held : public CHeldPackage {};

class Running : public CRunningPackage {
public:
    explicit Running(const bool& ended) : m_ended(ended) {}
    bool HasEnded() const override { return m_ended; }

private:
    const bool& m_ended;
};

class SilentFlowHostTest : public ::testing::Test {
protected:
    CSilentFlowHost::Edges Edges()
    {
        CSilentFlowHost::Edges edges;
        edges.startTimer = [this](unsigned int id, unsigned int ms) { timers[id] = ms; };
        edges.stopTimer = [this](unsigned int id) { timers.erase(id); };
        edges.makeReportPoster = [this]() -> ReportPoster {
            return [this](int code, int attempt) { posted.emplace_back(code, attempt); };
        };
        edges.registerProduct = [this] {
            ++registrations;
            return registrationSucceeds;
        };
        edges.log = [this](const std::wstring& line) { log.push_back(line); };
        return edges;
    }

    InstallFlowServices Services()
    {
        InstallFlowServices services;
        services.makePackagePlace = [] { return std::unique_ptr<CPackagePlace>(new Place); };
        services.makeDownloader = [this](DownloadCallback observer, const std::wstring&, const std::wstring&) {
            this->observer = std::move(observer);
            return std::shared_ptr<CDownloader>(std::make_shared<NoDownloader>());
        };
        services.checkPackage = [this](const std::wstring&) {
            return trusted ? std::unique_ptr<CHeldPackage>(new Held) : nullptr;
        };
        services.startPackage = [this](const std::wstring&, const std::wstring& parameters) {
            started.push_back(parameters);
            return starts ? std::unique_ptr<CRunningPackage>(new Running(ended)) : nullptr;
        };
        services.prepareStatusFile = [this] {
            active = L"0";
            return true;
        };
        services.isApplicationInstalled = [](const std::wstring&) { return true; };
        services.pollStatusFile = [this] { return active; };
        return services;
    }

    // What the message-only window does: hands the posted reports to the flow.
    void Deliver()
    {
        std::vector<std::pair<int, int>> reports;
        reports.swap(posted);
        for (const auto& report : reports) flow.OnDownloadReport(report.first, report.second);
    }
    void Download(int lastCode)
    {
        flow.Start(settings);
        observer(DOWNLOAD_BEGIN, 1.0, L"");
        observer(DOWNLOAD_PROGRESS, 0.5, L"");
        observer(lastCode, 0.0, L"");
        Deliver();
    }
    // Poll ticks until the run is over (at most `ticks`).
    void Poll(int ticks)
    {
        for (int i = 0; i < ticks && !host.IsDone(); ++i) flow.OnTimer(TIMER_POLL_STATUS);
    }

    InstallSettings settings{L"D:\\Apps Here\\KP"};
    DownloadCallback observer;
    std::vector<std::pair<int, int>> posted;
    std::map<unsigned int, unsigned int> timers;
    std::vector<std::wstring> started;
    std::vector<std::wstring> log;
    std::wstring active = L"error";
    bool trusted = true;
    bool starts = true;
    bool ended = false;
    bool registrationSucceeds = true;
    int registrations = 0;
    CSilentFlowHost host{Edges()};
    CInstallFlow flow{host, Services()};
};

}  // namespace

TEST_F(SilentFlowHostTest, ACompletedPackageIsRegisteredAtOnceAndTheRunEndsWithZero)
{
    Download(DOWNLOAD_COMPLETE);
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(L"-instdir=D:\\Apps Here\\KP -dsc=true", started[0]);
    Poll(5);
    EXPECT_FALSE(host.IsDone()) << "the package still runs";
    active = L"1";
    Poll(1);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitInstalled, host.GetExitCode());
    EXPECT_EQ(1, registrations);
    // No three seconds of a completion page nobody sees; and a late auto-close registers nothing twice.
    flow.OnTimer(TIMER_AUTO_CLOSE);
    EXPECT_EQ(1, registrations);
    EXPECT_EQ(kExitInstalled, host.GetExitCode());
}

TEST_F(SilentFlowHostTest, AFailedRegistrationEndsWithFour)
{
    registrationSucceeds = false;
    Download(DOWNLOAD_COMPLETE);
    active = L"1";
    Poll(1);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitRegistrationFailed, host.GetExitCode());
}

TEST_F(SilentFlowHostTest, AFailedDownloadEndsWithOneAndNothingLeadsBackToTheWizard)
{
    Download(DOWNLOAD_FAILED);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitDownloadFailed, host.GetExitCode());
    EXPECT_EQ(CInstallFlow::Stage::Failed, flow.GetStage()) << "nothing went back to the welcome page";
    EXPECT_EQ(0, registrations);
}

TEST_F(SilentFlowHostTest, APackageThatDoesNotVerifyIsNeverStartedAndEndsWithTwo)
{
    trusted = false;
    Download(DOWNLOAD_COMPLETE);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitNotVerified, host.GetExitCode());
    EXPECT_TRUE(started.empty());
}

TEST_F(SilentFlowHostTest, APackageThatFailsToStartOrToCompleteEndsWithThree)
{
    starts = false;
    Download(DOWNLOAD_COMPLETE);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitPackageFailed, host.GetExitCode());
}

TEST_F(SilentFlowHostTest, APackageThatEndsWithoutCompletingEndsWithThreeAfterTheGrace)
{
    Download(DOWNLOAD_COMPLETE);
    ended = true;
    Poll(PACKAGE_END_GRACE_TICKS - 1);
    EXPECT_FALSE(host.IsDone());
    Poll(1);
    ASSERT_TRUE(host.IsDone());
    EXPECT_EQ(kExitPackageFailed, host.GetExitCode());
    EXPECT_EQ(0, registrations);
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), L"failed: the package ended without reporting completion"));
}
