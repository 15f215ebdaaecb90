// The install flow inside the real main window under Wine, with the real package place and a
// downloader, package check, package start and failure question of the test's own: reports from a
// worker thread take effect only on the UI thread, the progress arithmetic on the page, the package
// start, the status poll, the automatic close, failures and their questions, retries, and a window
// closed during a download.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "KPCore/inner/PackageFolder.h"
#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/UninstallEntry.h"
#include "KPCore/inner/Wow64.h"
#include "app/InstallFlow.h"
#include "app/InstallFlowServices.h"
#include "app/KPMainFrame.h"
#include "app/PackageCommand.h"
#include "app/StatusFile.h"
#include "app/WizardTestSupport.h"
#include "pages/DimmingMask.h"
#include "pages/InstallEvents.h"
#include "pages/InstallSettings.h"
#include "ui/controls/ContainerUI.h"
#include "ui/controls/ProgressUI.h"

using namespace WizardTest;
using Stage = CInstallFlow::Stage;

namespace {

// What the flow did with one downloader it had made.
struct MadeDownload {
    DownloadCallback observer;
    std::wstring url;
    std::wstring savePath;
    DWORD madeOnThread = 0;
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

// Reports `codes` through `observer` from a thread of its own, as a download worker does, and
// returns once that thread has ended.
void ReportFromWorker(const DownloadCallback& observer, std::initializer_list<int> codes)
{
    std::vector<int> list(codes);
    std::thread worker([&] {
        for (int code : list) observer(code, code == DOWNLOAD_PROGRESS ? 0.5 : 0.0, L"");
    });
    worker.join();
}

// A file that tools/sign-demo-package.sh made beside the demo package.
std::wstring DemoPackage(const std::wstring& name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    for (int up = 0; up < 3; ++up)  // ...\tests\app\me.exe -> the build folder
        folder = folder.substr(0, folder.find_last_of(L'\\'));
    return folder + L"\\tools\\demo\\" + name;
}

// An empty folder of this test under the temporary folder.
std::wstring ScratchDir(const std::wstring& name)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"kpflow-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

struct PackageStart {
    std::wstring path;
    std::wstring parameters;
    DWORD thread = 0;
};

struct FailureQuestion {
    HWND owner = nullptr;
    DWORD thread = 0;
    bool maskShown = false;
    InstallFailure failure = InstallFailure::Download;
};

class EndedPackage : public CRunningPackage {
public:
    explicit EndedPackage(const bool& ended) : m_ended(ended) {}
    bool HasEnded() const override { return m_ended; }

private:
    const bool& m_ended;
};

class InstallFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareFramework());
        settings = &GetInstallSettings();
        savedDir = settings->installDir;
        savedShortcut = settings->desktopShortcut;
        statusFile = GetStatusFilePath();
        DeleteFileW(statusFile.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, UninstallSubKey(IsWow64()).c_str());

        frame = std::make_unique<OpenFrame>(Fakes());
        ASSERT_TRUE(frame->Created());
    }

    void TearDown() override
    {
        frame.reset();
        settings->installDir = savedDir;
        settings->desktopShortcut = savedShortcut;
    }

    // The real services but for the downloader, the package check and start, the failure question
    // and the start of the application, which record what they are asked.
    MainFrameServices Fakes()
    {
        MainFrameServices services = RealMainFrameServices();
        services.flow.makeDownloader = [this](DownloadCallback observer, const std::wstring& url,
                                              const std::wstring& path) {
            auto made = std::make_shared<MadeDownload>();
            made->observer = std::move(observer);
            made->url = url;
            made->savePath = path;
            made->madeOnThread = GetCurrentThreadId();
            downloads.push_back(made);
            return std::shared_ptr<CDownloader>(std::make_shared<FakeDownloader>(made, startResult));
        };
        services.flow.checkPackage = [this](const std::wstring& path) -> std::unique_ptr<CHeldPackage> {
            checked.push_back(path);
            return packageTrusted ? std::make_unique<CHeldPackage>() : nullptr;
        };
        services.flow.startPackage = [this](const std::wstring& path,
                                            const std::wstring& parameters) -> std::unique_ptr<CRunningPackage> {
            packageStarts.push_back(PackageStart{path, parameters, GetCurrentThreadId()});
            if (!packageStartSucceeds) return nullptr;
            return std::make_unique<EndedPackage>(packageEnded);
        };
        services.askAfterFailure = [this](HWND owner, InstallFailure failure) {
            FailureQuestion question{owner, GetCurrentThreadId(), false, failure};
            if (frame && frame->Created()) question.maskShown = MaskShown();
            questions.push_back(question);
            return failureAnswer;
        };
        services.pages.startProgram = [this](const std::wstring& path) { programsStarted.push_back(path); };
        // No package installs anything here: the application counts as there.
        services.flow.isApplicationInstalled = [](const std::wstring&) { return true; };
        return services;
    }

    CInstallFlow& Flow() { return frame->Frame().GetInstallFlow(); }
    int Page() { return frame->Frame().GetShownPage(); }
    std::wstring Line() { return frame->Find(L"installproglab")->GetText(); }
    std::wstring LineFor(int percent) { return L"正在安装，请不要关闭 " + std::to_wstring(percent) + L"%"; }

    // The dimming mask: the root's last child, a floating control of the mask's colour.
    bool MaskShown()
    {
        auto* root = dynamic_cast<SkinUI::CContainerUI*>(frame->PM().GetRoot());
        if (!root || root->GetCount() == 0) return false;
        SkinUI::CControlUI* last = root->GetItemAt(root->GetCount() - 1);
        return last && last->IsFloat() && last->GetBkColor() == kDimmingMaskColor;
    }

    void ClickInstall()
    {
        frame->Frame().ShowPage(PAGE_WELCOME);
        ASSERT_TRUE(frame->Click(L"installBtn"));
    }

    void WriteActive(const wchar_t* value)
    {
        ASSERT_TRUE(WritePrivateProfileStringW(L"Install", L"active", value, statusFile.c_str()));
    }

    // Downloads to completion: the package has been started and the status poll runs.
    void DownloadCompletely()
    {
        ClickInstall();
        ASSERT_EQ(1u, downloads.size());
        ReportFromWorker(downloads.back()->observer, {DOWNLOAD_BEGIN, DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
        Pump(30);
        ASSERT_EQ(Stage::Installing, Flow().GetStage());
    }

    bool UninstallEntryExists()
    {
        HKEY key = nullptr;
        const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallSubKey(IsWow64()).c_str(), 0, KEY_READ, &key);
        if (opened == ERROR_SUCCESS) RegCloseKey(key);
        return opened == ERROR_SUCCESS;
    }

    InstallSettings* settings = nullptr;
    std::wstring savedDir;
    bool savedShortcut = true;
    std::wstring statusFile;

    bool startResult = true;
    bool packageTrusted = true;
    bool packageStartSucceeds = true;
    bool packageEnded = false;
    std::vector<std::wstring> checked;
    int failureAnswer = 1;
    std::vector<std::shared_ptr<MadeDownload>> downloads;
    std::vector<PackageStart> packageStarts;
    std::vector<FailureQuestion> questions;
    std::vector<std::wstring> programsStarted;

    std::unique_ptr<OpenFrame> frame;
};

}  // namespace

TEST_F(InstallFlowTest, InstallButtonPreparesTheStatusFileAndStartsOneDownloadOfThePackage)
{
    WritePrivateProfileStringW(L"Install", L"channel", L"error", statusFile.c_str());
    WriteActive(L"1");  // left by an earlier run
    ClickInstall();

    EXPECT_EQ(PAGE_PROGRESS, Page());
    ASSERT_EQ(1u, downloads.size());
    EXPECT_EQ(PackageUrl(), downloads[0]->url);
    EXPECT_EQ(1, downloads[0]->starts);
    EXPECT_EQ(Flow().GetPackagePath(), downloads[0]->savePath);
    // The package goes under a fresh GUID name into a folder of its own under the protected root,
    // which exists by now.
    const std::wstring path = Flow().GetPackagePath();
    const std::wstring folder = DirectoryOfPath(path);
    EXPECT_EQ(PackageRootFolder(), DirectoryOfPath(folder));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.c_str()));
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    ASSERT_EQ(36u, name.size());
    EXPECT_EQ(L".exe", name.substr(32));
    EXPECT_EQ(std::wstring::npos, name.substr(0, 32).find_first_not_of(L"0123456789ABCDEF"));
    // "active" is back to "0", the channel seeded.
    EXPECT_EQ(L"0", PollStatusFile());
    wchar_t channel[64] = {};
    GetPrivateProfileStringW(L"Install", L"channel", L"", channel, 64, statusFile.c_str());
    EXPECT_STREQ(L"360dazido01", channel);
    EXPECT_EQ(LineFor(0), Line());
    EXPECT_EQ(Stage::Downloading, Flow().GetStage());
}

TEST_F(InstallFlowTest, ReportsOfTheWorkerTakeEffectOnlyOnTheUiThread)
{
    ClickInstall();
    ASSERT_EQ(1u, downloads.size());
    const DownloadCallback observer = downloads[0]->observer;

    ReportFromWorker(observer, {DOWNLOAD_BEGIN, DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS});
    // The worker has finished its calls, yet neither the flow nor a control has changed: the
    // reports are messages waiting for the UI thread.
    EXPECT_EQ(0.0, Flow().GetProgress());
    EXPECT_EQ(LineFor(0), Line());
    Pump(30);
    EXPECT_EQ(3.0, Flow().GetProgress());
    EXPECT_EQ(LineFor(3), Line());

    ReportFromWorker(observer, {DOWNLOAD_COMPLETE});
    EXPECT_TRUE(packageStarts.empty()) << "the package is started by the UI thread, not by the worker";
    EXPECT_EQ(Stage::Downloading, Flow().GetStage());
    Pump(30);
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(GetCurrentThreadId(), packageStarts[0].thread);
    EXPECT_EQ(Flow().GetPackagePath(), packageStarts[0].path);
    EXPECT_EQ(LineFor(70), Line()) << "3 notifications, then completion: 3 jumps to 70";
    EXPECT_EQ(Stage::Installing, Flow().GetStage());
}

TEST_F(InstallFlowTest, ProgressCountsNotificationsUpToSeventyWhateverTheFraction)
{
    ClickInstall();
    ASSERT_EQ(1u, downloads.size());
    std::vector<int> codes(90, DOWNLOAD_PROGRESS);
    std::thread worker([&] {
        for (int code : codes) downloads[0]->observer(code, 0.01, L"");
    });
    worker.join();
    Pump(50);
    EXPECT_EQ(70.0, Flow().GetProgress());
    EXPECT_EQ(LineFor(70), Line());
    auto* bar = static_cast<SkinUI::CProgressUI*>(frame->Find(L"installPrg"));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(70, bar->GetValue());
}

TEST_F(InstallFlowTest, ThousandsOfNotificationsWaitAsOneMessageAndTheCompletionIsNotLost)
{
    ClickInstall();
    ASSERT_EQ(1u, downloads.size());
    std::thread worker([&] {
        for (int i = 0; i < 20000; ++i) downloads[0]->observer(DOWNLOAD_PROGRESS, 0.5, L"");
        downloads[0]->observer(DOWNLOAD_COMPLETE, 0.0, L"");
    });
    worker.join();
    // A busy UI thread finds two messages waiting, not 20001 (a queue holds 10000 at most).
    std::vector<MSG> waiting;
    MSG message;
    while (PeekMessageW(&message, frame->Hwnd(), WM_DOWNLOAD_REPORT, WM_DOWNLOAD_REPORT, PM_REMOVE))
        waiting.push_back(message);
    ASSERT_EQ(2u, waiting.size());
    EXPECT_EQ(static_cast<WPARAM>(DOWNLOAD_PROGRESS), waiting[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(DOWNLOAD_COMPLETE), waiting[1].wParam);
    DispatchMessageW(&waiting[0]);
    EXPECT_EQ(70.0, Flow().GetProgress()) << "every notification counted";
    DispatchMessageW(&waiting[1]);
    EXPECT_EQ(1u, packageStarts.size());
    EXPECT_EQ(Stage::Installing, Flow().GetStage());
}

TEST_F(InstallFlowTest, ThePackageGetsTheSettingsOfTheMomentTheDownloadCompletes)
{
    settings->installDir = L"C:\\Program Files\\KPCapture";
    settings->desktopShortcut = true;
    ClickInstall();
    ASSERT_EQ(1u, downloads.size());
    // Changed while the download runs.
    settings->installDir = L"D:\\My Apps\\凯普 with  two spaces\\KPCapture";
    settings->desktopShortcut = false;
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_COMPLETE});
    Pump(30);
    ASSERT_EQ(1u, packageStarts.size());
    EXPECT_EQ(L"-instdir=D:\\My Apps\\凯普 with  two spaces\\KPCapture -dsc=false", packageStarts[0].parameters);
}

TEST_F(InstallFlowTest, PollCreepsToNinetyNineAndOnlyAnExactOneCompletes)
{
    WriteActive(L"0");
    DownloadCompletely();
    // (Blanks around a value are removed by the profile functions themselves; the comparison of
    // what they return is tested with the status-file rules.)
    for (const wchar_t* notYet : {L"01", L"true", L"1.0", L"error", L"I"}) {
        WriteActive(notYet);
        SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
        EXPECT_EQ(PAGE_PROGRESS, Page()) << "\"active\" = \"" << notYet << "\" is not finished";
    }
    // 5 ticks so far showed 70..74; the page never passes 99 however long it waits.
    EXPECT_EQ(LineFor(74), Line());
    for (int i = 0; i < 60; ++i) SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
    EXPECT_EQ(LineFor(99), Line());
    EXPECT_EQ(Stage::Installing, Flow().GetStage());

    WriteActive(L"1");
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
    EXPECT_EQ(LineFor(100), Line());
    EXPECT_EQ(PAGE_COMPLETE, Page());
    EXPECT_EQ(Stage::Finished, Flow().GetStage());
}

// While the package installs, the status file's folder is held: nobody can move it away (to put a
// junction in its place), and a file removed from it reads as not finished.
TEST_F(InstallFlowTest, TheStatusFolderIsHeldWhileThePackageInstalls)
{
    DownloadCompletely();
    const std::wstring folder = GetRoamingDataDir();
    EXPECT_FALSE(MoveFileW(folder.c_str(), (folder + L".moved").c_str())) << "the folder could be moved away";
    ASSERT_TRUE(DeleteFileW(statusFile.c_str()));
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
    EXPECT_EQ(Stage::Installing, Flow().GetStage()) << "no file reads as not finished";
    WriteActive(L"1");
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
    EXPECT_EQ(PAGE_COMPLETE, Page());
    MoveFileW((folder + L".moved").c_str(), folder.c_str());
}

TEST_F(InstallFlowTest, TheRealPollTimerFindsAQuickPackageWithinItsFirstTicks)
{
    DownloadCompletely();
    WriteActive(L"1");  // the package was done before the first tick
    Pump(400);
    EXPECT_EQ(PAGE_COMPLETE, Page());
    EXPECT_EQ(LineFor(100), Line());
}

TEST_F(InstallFlowTest, TheCompletionPageClosesByItselfAfterThreeSecondsAndRegistersTheProduct)
{
    DownloadCompletely();
    WriteActive(L"1");
    const DWORD shown = GetTickCount();
    Pump(300);
    ASSERT_EQ(PAGE_COMPLETE, Page());
    ASSERT_FALSE(UninstallEntryExists());

    Pump(2400);
    EXPECT_TRUE(frame->IsOpen()) << "the completion page stays for 3 seconds";
    // Registering and making the shortcuts takes a moment under Wine before the window goes.
    EXPECT_TRUE(frame->WaitClosed(6000));
    EXPECT_GE(GetTickCount() - shown, 2700u);
    // Closing by itself did the installer's share: the uninstall entry and the Start-menu group ...
    EXPECT_TRUE(UninstallEntryExists());
    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE));
    const ProgramShortcutPaths links = PlanProgramShortcuts(programs, kProductName);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(links.applicationLink.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(links.uninstallerLink.c_str()));
    // ... but only "立即体验" starts the application.
    EXPECT_TRUE(programsStarted.empty());
}

TEST_F(InstallFlowTest, TheAutomaticCloseWaitsForAQuestionOverTheWindow)
{
    DownloadCompletely();
    WriteActive(L"1");
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_POLL_STATUS, 0);
    ASSERT_EQ(PAGE_COMPLETE, Page());
    // A modal question disables the window; the close waits until it has been answered.
    EnableWindow(frame->Hwnd(), FALSE);
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_AUTO_CLOSE, 0);
    Pump(50);
    EXPECT_TRUE(frame->IsOpen());
    EnableWindow(frame->Hwnd(), TRUE);
    SendMessageW(frame->Hwnd(), WM_TIMER, TIMER_AUTO_CLOSE, 0);
    EXPECT_TRUE(frame->WaitClosed(1000));
}

TEST_F(InstallFlowTest, AFailedDownloadAsksOnTheUiThreadUnderTheMaskAndOkGoesBackToTheWelcomePage)
{
    ClickInstall();
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS, DOWNLOAD_FAILED});
    EXPECT_TRUE(questions.empty()) << "the worker never shows the question";
    Pump(30);
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(GetCurrentThreadId(), questions[0].thread);
    EXPECT_EQ(frame->Hwnd(), questions[0].owner);
    EXPECT_EQ(InstallFailure::Download, questions[0].failure);
    EXPECT_TRUE(questions[0].maskShown);
    EXPECT_FALSE(MaskShown()) << "the mask goes with the question";
    EXPECT_EQ(PAGE_WELCOME, Page());
    EXPECT_EQ(0.0, Flow().GetProgress());
    EXPECT_EQ(LineFor(0), Line());
    EXPECT_TRUE(packageStarts.empty());
    EXPECT_EQ(Stage::Failed, Flow().GetStage());
}

TEST_F(InstallFlowTest, CancelOrCloseOnTheQuestionLeavesTheProgressPageAtZero)
{
    for (int answer : {2, 0}) {
        failureAnswer = answer;
        ClickInstall();
        ReportFromWorker(downloads.back()->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_FAILED});
        Pump(30);
        EXPECT_EQ(PAGE_PROGRESS, Page()) << answer;
        EXPECT_EQ(LineFor(0), Line()) << answer;
    }
    EXPECT_EQ(2u, questions.size());
}

TEST_F(InstallFlowTest, AStartAfterAFailureDownloadsAgainWithAFreshDownloaderIntoAFreshFolder)
{
    ClickInstall();
    const std::wstring firstPath = Flow().GetPackagePath();
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_FAILED});
    Pump(30);
    ASSERT_EQ(PAGE_WELCOME, Page());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DirectoryOfPath(firstPath).c_str()));
    const DownloadCallback stale = downloads[0]->observer;

    ClickInstall();
    ASSERT_EQ(2u, downloads.size()) << "a second start must really download again";
    EXPECT_TRUE(downloads[0]->destroyed);
    EXPECT_EQ(1, downloads[1]->starts);
    EXPECT_NE(DirectoryOfPath(firstPath), DirectoryOfPath(downloads[1]->savePath));
    EXPECT_EQ(Stage::Downloading, Flow().GetStage());

    // A late report of the first attempt does not count for the second.
    ReportFromWorker(stale, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    Pump(30);
    EXPECT_EQ(0.0, Flow().GetProgress());
    EXPECT_TRUE(packageStarts.empty());

    ReportFromWorker(downloads[1]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    Pump(30);
    EXPECT_EQ(1u, packageStarts.size());
    EXPECT_EQ(Stage::Installing, Flow().GetStage());
}

TEST_F(InstallFlowTest, AStartWhileDownloadingLeavesTheRunningDownloadAlone)
{
    ClickInstall();
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_PROGRESS});
    Pump(30);
    frame->Frame().OnEvent(EVENT_SHOW_PAGE, PAGE_PROGRESS, 0);
    EXPECT_EQ(1u, downloads.size());
    EXPECT_FALSE(downloads[0]->destroyed);
    EXPECT_EQ(2.0, Flow().GetProgress());
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_COMPLETE});
    Pump(30);
    EXPECT_EQ(1u, packageStarts.size());
}

TEST_F(InstallFlowTest, ADownloaderThatCannotStartShowsTheFailureQuestion)
{
    startResult = false;
    ClickInstall();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(PAGE_WELCOME, Page());
    EXPECT_EQ(Stage::Failed, Flow().GetStage());
}

TEST_F(InstallFlowTest, APackageThatCannotBeStartedShowsItsQuestionAndLeavesNoFolder)
{
    packageStartSucceeds = false;
    ClickInstall();
    const std::wstring path = Flow().GetPackagePath();
    ASSERT_TRUE(CopyFileW(DemoPackage(L"KPCaptureSetup.exe").c_str(), path.c_str(), FALSE));
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE});
    Pump(300);  // about three poll periods
    ASSERT_EQ(1u, packageStarts.size());
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(InstallFailure::Start, questions[0].failure);
    EXPECT_EQ(PAGE_WELCOME, Page());
    EXPECT_EQ(0.0, Flow().GetProgress());
    EXPECT_EQ(LineFor(0), Line());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DirectoryOfPath(path).c_str()))
        << "the package that did not run is removed with its folder";
    // A start now downloads afresh, into a new folder.
    ClickInstall();
    ASSERT_EQ(2u, downloads.size());
    EXPECT_NE(DirectoryOfPath(path), DirectoryOfPath(downloads[1]->savePath));
}

TEST_F(InstallFlowTest, TheRealCheckRefusesAForeignPackageAndStartsOnlyTheGenuineOne)
{
    // The program's own check and start, on the demo package as the downloader would leave it.
    frame.reset();
    MainFrameServices real = Fakes();
    real.flow.checkPackage = RealInstallFlowServices().checkPackage;
    real.flow.startPackage = RealInstallFlowServices().startPackage;
    frame = std::make_unique<OpenFrame>(std::move(real));
    ASSERT_TRUE(frame->Created());
    WriteActive(L"0");
    const std::wstring installDir = ScratchDir(L"real-check");
    settings->installDir = installDir;
    settings->desktopShortcut = false;

    ClickInstall();
    std::wstring path = Flow().GetPackagePath();
    ASSERT_TRUE(CopyFileW(DemoPackage(L"KPCaptureSetup-foreign.exe").c_str(), path.c_str(), FALSE));
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_COMPLETE});
    Pump(100);
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(InstallFailure::Verification, questions[0].failure);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DirectoryOfPath(path).c_str()));
    EXPECT_EQ(PAGE_WELCOME, Page());

    ClickInstall();
    path = Flow().GetPackagePath();
    ASSERT_TRUE(CopyFileW(DemoPackage(L"KPCaptureSetup.exe").c_str(), path.c_str(), FALSE));
    ReportFromWorker(downloads[1]->observer, {DOWNLOAD_COMPLETE});
    Pump(100);
    ASSERT_EQ(Stage::Installing, Flow().GetStage());
    for (int i = 0; i < 300 && Page() != PAGE_COMPLETE; ++i) Pump(100);
    EXPECT_EQ(PAGE_COMPLETE, Page()) << "the genuine package ran and reported completion";
    EXPECT_EQ(1u, questions.size());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((installDir + L"\\KPCapture\\install.log").c_str()));
    // The package has ended by the time the window goes; nothing of it is left.
    frame.reset();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DirectoryOfPath(path).c_str()));
}

TEST_F(InstallFlowTest, ClosingDuringADownloadAbandonsItAndLateReportsGoNowhere)
{
    ClickInstall();
    ReportFromWorker(downloads[0]->observer, {DOWNLOAD_PROGRESS});
    Pump(30);
    const std::shared_ptr<MadeDownload> made = downloads[0];
    PostMessageW(frame->Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(frame->WaitClosed());
    EXPECT_TRUE(frame->Deleted());
    EXPECT_TRUE(made->destroyed) << "the window's end abandons the download";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DirectoryOfPath(made->savePath).c_str()))
        << "and removes the package's folder";

    // A worker still holding the observer reports into a window that is gone: nothing happens.
    ReportFromWorker(made->observer, {DOWNLOAD_PROGRESS, DOWNLOAD_COMPLETE, DOWNLOAD_FAILED});
    Pump(50);
    EXPECT_TRUE(packageStarts.empty());
    EXPECT_TRUE(questions.empty());
}
