#include "app/SilentFlowHost.h"

#include "app/ExitCode.h"
#include "pages/InstallEvents.h"

namespace {

const wchar_t* FailureName(InstallFailure failure)
{
    switch (failure) {
    case InstallFailure::Download: return L"the download failed";
    case InstallFailure::Verification: return L"the package did not verify";
    case InstallFailure::Start: return L"the package could not be given its place or be started";
    case InstallFailure::Incomplete: return L"the package ended without reporting completion";
    case InstallFailure::StatusFile: return L"the status file has no trustworthy place (no profile folder, or a link)";
    case InstallFailure::NotInstalled: return L"the status file reads 1, but the application is not installed";
    }
    return L"the installation failed";
}

}  // namespace

void CSilentFlowHost::ShowProgress(double percent)
{
    // Every tenth of the way is enough to see where a run stood; the flow shows far more often.
    const int tenth = static_cast<int>(percent) / 10;
    if (tenth == m_loggedTenth) return;
    m_loggedTenth = tenth;
    WriteLog(m_edges.log, L"progress " + std::to_wstring(tenth * 10) + L" %");
}

void CSilentFlowHost::ShowPage(int page)
{
    // The completion page: the package has reported completion.
    if (page == PAGE_COMPLETE && !m_done) FinishInstall();
}

bool CSilentFlowHost::AskAfterFailure(InstallFailure failure)
{
    WriteLog(m_edges.log, std::wstring(L"failed: ") + FailureName(failure));
    End(ExitCodeOf(failure));
    // Nothing leads back to the welcome page: there is nobody to try again.
    return false;
}

void CSilentFlowHost::FinishInstall()
{
    if (m_registered) return;
    m_registered = true;
    const bool registered = m_edges.registerProduct && m_edges.registerProduct();
    End(registered ? kExitInstalled : kExitRegistrationFailed);
}

void CSilentFlowHost::StartTimer(unsigned int id, unsigned int milliseconds)
{
    if (m_edges.startTimer) m_edges.startTimer(id, milliseconds);
}

void CSilentFlowHost::StopTimer(unsigned int id)
{
    if (m_edges.stopTimer) m_edges.stopTimer(id);
}

ReportPoster CSilentFlowHost::MakeReportPoster() { return m_edges.makeReportPoster(); }

void CSilentFlowHost::End(int exitCode)
{
    if (m_done) return;
    m_done = true;
    m_exitCode = exitCode;
}
