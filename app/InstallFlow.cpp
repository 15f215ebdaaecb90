#include "app/InstallFlow.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <utility>

#include "KPCore/inner/ProductInfo.h"
#include "app/InstallEvents.h"
#include "app/InstallSettings.h"
#include "app/KPMainFrame.h"
#include "app/PackageCommand.h"
#include "app/ProgressMath.h"
#include "app/StatusFile.h"
#include "net/WinDownloader.h"
#include "pages/DimmingMask.h"
#include "pages/KPMsgBox.h"

namespace {

// The failure question has the main window's own look: caption, system menu and frame, raised edge.
constexpr DWORD kFailureBoxStyle = 0x10CC0000;
constexpr DWORD kFailureBoxExStyle = WS_EX_WINDOWEDGE;

InstallFlowServices& Current()
{
    static InstallFlowServices services = RealInstallFlowServices();
    return services;
}

int AskAfterFailureWithMessageBox(HWND owner)
{
    return ShowMessageBox(owner, kProductName, L"下载失败！", L"请检查网络", L"确定", L"取消", nullptr,
                          kFailureBoxStyle, kFailureBoxExStyle, true);
}

}  // namespace

// ---- services ----

const InstallFlowServices& GetInstallFlowServices() { return Current(); }

InstallFlowServices RealInstallFlowServices()
{
    InstallFlowServices services;
    services.makeDownloader = [](DownloadCallback observer, const std::wstring& url, const std::wstring& savePath) {
        return std::shared_ptr<CDownloader>(
            std::make_shared<CWinDownloader>(std::move(observer), url.c_str(), savePath.c_str()));
    };
    services.startPackage = [](const std::wstring& path, const std::wstring& parameters) {
        // Values above 32 mean the program was started.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", path.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
        return result > 32;
    };
    services.askAfterFailure = AskAfterFailureWithMessageBox;
    return services;
}

ScopedInstallFlowServices::ScopedInstallFlowServices(InstallFlowServices services) : m_previous(Current())
{
    const InstallFlowServices real = RealInstallFlowServices();
    if (!services.makeDownloader) services.makeDownloader = real.makeDownloader;
    if (!services.startPackage) services.startPackage = real.startPackage;
    if (!services.askAfterFailure) services.askAfterFailure = real.askAfterFailure;
    Current() = std::move(services);
}

ScopedInstallFlowServices::~ScopedInstallFlowServices() { Current() = std::move(m_previous); }

// ---- CReportLink ----

void CReportLink::Post(int code)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_window) return;
    if (code == DOWNLOAD_PROGRESS && m_pendingProgress++ > 0) return;  // the waiting message carries it
    PostMessageW(m_window, WM_DOWNLOAD_REPORT, static_cast<WPARAM>(code), m_attempt);
}

int CReportLink::TakeProgress()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return std::exchange(m_pendingProgress, 0);
}

void CReportLink::Cut()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_window = nullptr;
}

// ---- CInstallFlow ----

CInstallFlow::CInstallFlow(KPMainFrame& window) : m_window(window) {}

CInstallFlow::~CInstallFlow() { Stop(); }

void CInstallFlow::Start()
{
    // The progress page offers no way to start again; should a start come all the same, the
    // attempt under way goes on undisturbed (a second package must not be started over the first).
    if (m_stage == Stage::Downloading || m_stage == Stage::Installing || m_stage == Stage::Finished) return;

    m_progress = 0.0;
    Show(m_progress);
    if (m_packagePath.empty()) m_packagePath = MakePackagePath();
    // "active" goes back to "0" before anything is fetched, so a "1" left by an earlier run
    // cannot end this attempt early.
    m_statusFolder = GetRoamingDataDir();
    m_statusFile = GetStatusFilePath();
    PrepareStatusFile(m_statusFile);

    // The downloader of an earlier attempt has reported its end; it goes now, and with it any
    // report of it that might still be on its way.
    if (m_link) m_link->Cut();
    m_downloader.reset();
    ++m_attempt;
    m_link = std::make_shared<CReportLink>(m_window.GetHWND(), m_attempt);
    std::shared_ptr<CReportLink> link = m_link;
    DownloadCallback observer = [link](int code, double, const wchar_t*) { link->Post(code); };

    m_stage = Stage::Downloading;
    m_downloader = GetInstallFlowServices().makeDownloader(observer, PackageUrl(), m_packagePath);
    // A download that cannot even begin would otherwise leave the page at 0 % for ever.
    if (!m_downloader || !m_downloader->Start()) Fail();
}

void CInstallFlow::OnDownloadReport(int code, int attempt)
{
    if (attempt != m_attempt || m_stage != Stage::Downloading) return;
    switch (code) {
    case DOWNLOAD_PROGRESS:
        // Each notification is one point, however many came since the last message.
        for (int n = m_link->TakeProgress(); n > 0; --n) m_progress = ProgressAfterNotification(m_progress);
        Show(m_progress);
        break;
    case DOWNLOAD_COMPLETE:
        m_progress = ProgressAtDownloadComplete();
        Show(m_progress);
        StartPackage();
        break;
    case DOWNLOAD_FAILED:
        Fail();
        break;
    default:  // DOWNLOAD_BEGIN: nothing to show yet
        break;
    }
}

void CInstallFlow::StartPackage()
{
    // The settings of this moment: the options page may have changed them since the start.
    const InstallSettings& settings = GetInstallSettings();
    const std::wstring parameters = PackageCommandLine(settings.installDir, settings.desktopShortcut);
    if (!GetInstallFlowServices().startPackage(m_packagePath, parameters)) {
        // A package that does not run will never report completion: without this the page would
        // creep to 99 % and wait for ever.
        DeleteFileW(m_packagePath.c_str());
        Fail();
        return;
    }
    m_stage = Stage::Installing;
    SetTimer(m_window.GetHWND(), TIMER_POLL_STATUS, POLL_STATUS_MS, nullptr);
}

void CInstallFlow::Fail()
{
    m_stage = Stage::Failed;
    m_progress = 0.0;
    Show(m_progress);
    int answer = 0;
    {
        CDimmingMask mask(m_window.GetPaintManager());
        answer = GetInstallFlowServices().askAfterFailure(m_window.GetHWND());
    }
    // Straight to the welcome page: selecting it is no event, so nothing starts by itself.
    if (answer == CKPMsgBox::kOk) m_window.ShowPage(PAGE_WELCOME);
}

void CInstallFlow::OnTimer(UINT_PTR timerId)
{
    if (timerId == TIMER_POLL_STATUS) {
        PollStatus();
    } else if (timerId == TIMER_AUTO_CLOSE) {
        AutoClose();
    }
}

void CInstallFlow::PollStatus()
{
    if (m_stage != Stage::Installing) {
        KillTimer(m_window.GetHWND(), TIMER_POLL_STATUS);
        return;
    }
    // The file's place is known since the start; each tick only makes sure its folder is still
    // there (the package, or the user, may have removed it), which keeps a tick cheap.
    if (!PathFileExistsW(m_statusFolder.c_str())) EnsureDirectory(m_statusFolder);
    if (IsInstallFinished(PollStatusFile(m_statusFile))) {
        m_stage = Stage::Finished;
        m_progress = kFinishedPercent;
        Show(m_progress);
        KillTimer(m_window.GetHWND(), TIMER_POLL_STATUS);
        m_window.SendEvent(EVENT_SHOW_PAGE, PAGE_COMPLETE, 0);
        SetTimer(m_window.GetHWND(), TIMER_AUTO_CLOSE, AUTO_CLOSE_MS, nullptr);
        return;
    }
    // No time-out: a package may take long; the page rests at 99 % until it is done.
    const PollStep step = ProgressAtPollTick(m_progress);
    if (step.show) Show(step.shown);
    m_progress = step.next;
}

void CInstallFlow::AutoClose()
{
    // While a question box runs over the window (the completion page's close question), the
    // window stays until it has been answered; the timer comes again.
    if (!IsWindowEnabled(m_window.GetHWND())) return;
    KillTimer(m_window.GetHWND(), TIMER_AUTO_CLOSE);
    // The package has installed the application: closing by itself must not lose the entry in
    // the list of installed programs and the Start-menu shortcuts. Only "立即体验" starts the
    // application.
    m_window.GetCompletionPage().FinishInstall();
    PostMessageW(m_window.GetHWND(), WM_CLOSE, 0, 0);
}

void CInstallFlow::Stop()
{
    if (m_link) m_link->Cut();
    // Abandons a running transfer and waits for the worker, which by now can only be finishing:
    // it reports nothing more and removes a file it did not finish.
    m_downloader.reset();
    HWND window = m_window.GetHWND();
    if (window && IsWindow(window)) {
        KillTimer(window, TIMER_POLL_STATUS);
        KillTimer(window, TIMER_AUTO_CLOSE);
    }
}

void CInstallFlow::Show(double progress) { m_window.GetProgressPage().SetProgress(progress); }

std::wstring MakePackagePath()
{
    const std::wstring folder = GetRoamingDataDir();
    EnsureDirectory(folder);
    // A failure leaves the record zeroed: the name is then all zeros, still a usable name.
    GUID guid{};
    CoCreateGuid(&guid);
    return folder + L"\\" + PackageFileName(guid.Data1, guid.Data2, guid.Data3, guid.Data4);
}
