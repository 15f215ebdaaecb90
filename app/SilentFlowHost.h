#pragma once
#include <functional>
#include <string>

#include "KPCore/inner/LogSink.h"
#include "app/InstallFlowHost.h"

// The install flow's host when nobody watches: no window, no question, no page. The flow runs as
// in the wizard (download, check, start, status poll); where the wizard would show the completion
// page, this host registers the product at once and the run is over; where it would ask after a
// failure, the failure decides the exit code and the run is over. The application is not started.
//
// The timers and the way back from the download worker come from the thread that runs the flow
// (a message-only window on Windows), handed in as functions.
class CSilentFlowHost : public IInstallFlowHost {
public:
    struct Edges {
        std::function<void(unsigned int id, unsigned int milliseconds)> startTimer;
        std::function<void(unsigned int id)> stopTimer;
        std::function<ReportPoster()> makeReportPoster;
        // The uninstall entry and the shortcuts; true when both were made.
        std::function<bool()> registerProduct;
        LogSink log;
    };

    explicit CSilentFlowHost(Edges edges) : m_edges(std::move(edges)) {}
    virtual ~CSilentFlowHost() = default;

    // Once the run is over: nothing more is to be done but to stop the flow and end.
    bool IsDone() const { return m_done; }
    // The exit code of the run (ExitCode.h); meaningful once done.
    int GetExitCode() const { return m_exitCode; }

    void ShowProgress(double percent) override;
    void ShowPage(int page) override;
    bool AskAfterFailure(InstallFailure failure) override;
    void FinishInstall() override;
    bool IsQuestionOpen() const override { return false; }
    void PostClose() override { m_done = true; }
    void StartTimer(unsigned int id, unsigned int milliseconds) override;
    void StopTimer(unsigned int id) override;
    ReportPoster MakeReportPoster() override;

private:
    void End(int exitCode);

    Edges m_edges;
    bool m_done = false;
    bool m_registered = false;
    int m_exitCode = 0;
    int m_loggedTenth = -1;
};
