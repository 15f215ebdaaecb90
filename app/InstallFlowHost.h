#pragma once
#include <functional>

// A function that any thread may call to have the install flow's OnDownloadReport(code, attempt)
// run later on the UI thread.
using ReportPoster = std::function<void(int code, int attempt)>;

// Why an installation attempt failed; each has a question of its own (FailureQuestionWords).
enum class InstallFailure {
    Download,      // the package could not be fetched
    Verification,  // the fetched file is not the vendor's genuine signed package
    Start,         // the package could not be given a place or be started
    Incomplete,    // the package and all it started ended without reporting completion
    StatusFile,    // the status file has no trustworthy place: no profile folder, or a link there
    NotInstalled,  // "active" reads "1" but the application is not in its folder
};

// What the install flow asks of the window it lives in. Every call comes on the UI thread; only
// the poster that MakeReportPoster returns is called from a download worker.
class IInstallFlowHost {
public:
    // The progress page shows `percent` (any value; the page cuts it to a whole percent).
    virtual void ShowProgress(double percent) = 0;
    // Switches straight to wizard page `page`: selecting a page this way is no event, so nothing
    // starts by itself.
    virtual void ShowPage(int page) = 0;
    // Asks the question of `failure` over the dimmed window and waits for the answer; true for
    // "确定", false for "取消" or the box's close button.
    virtual bool AskAfterFailure(InstallFailure failure) = 0;
    // The installer's own share of the installation: the uninstall entry and the Start-menu
    // shortcuts for the application the package has installed.
    virtual void FinishInstall() = 0;
    // A question box runs over the window (it is disabled meanwhile), so it must not close yet.
    virtual bool IsQuestionOpen() const = 0;
    // Closes the window once the message being handled is done.
    virtual void PostClose() = 0;
    // Window timers: OnTimer(id) of the flow runs every `milliseconds` until stopped. Stopping a
    // timer that does not run, or once the window is gone, does nothing.
    virtual void StartTimer(unsigned int id, unsigned int milliseconds) = 0;
    virtual void StopTimer(unsigned int id) = 0;
    // The way from a download worker back to the UI thread, asked for at each start.
    virtual ReportPoster MakeReportPoster() = 0;

protected:
    ~IInstallFlowHost() = default;
};
