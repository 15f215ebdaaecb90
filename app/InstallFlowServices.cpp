#include "app/InstallFlowServices.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>

#include "KPCore/inner/PackageFolder.h"
#include "KPCore/inner/PackageProcess.h"
#include "KPCore/inner/ProductInfo.h"
#include "app/LogLine.h"
#include "app/PackageCommand.h"
#include "app/StatusFile.h"
#include "net/PackageTrust.h"
#include "net/WinDownloader.h"

const wchar_t kPauseBeforeCheckVariable[] = L"KPSETUP_PAUSE_BEFORE_CHECK_MS_FOR_TESTING";
const wchar_t kPauseBeforeStartVariable[] = L"KPSETUP_PAUSE_BEFORE_START_MS_FOR_TESTING";

namespace {

// The status file's folder, found and held from one start to the next: while held nobody can
// move it away and put a link in its place.
struct StatusFilePlace {
    std::unique_ptr<CStatusFileFolder> folder;
    std::wstring lastActive;  // the value of "active" last read
};

const wchar_t* ProblemName(StatusFolderProblem problem)
{
    switch (problem) {
    case StatusFolderProblem::NoProfile: return L"no profile folder";
    case StatusFolderProblem::NotCreated: return L"the folder could not be made or opened";
    case StatusFolderProblem::Redirected: return L"the folder or APP.ini is a link";
    case StatusFolderProblem::None: break;
    }
    return L"none";
}

class PackagePlace : public CPackagePlace {
public:
    explicit PackagePlace(std::unique_ptr<CPackageFolder> folder) : m_folder(std::move(folder))
    {
        // A fresh GUID's name: a package cannot rely on a name of its own, and none is ever reused.
        GUID guid{};
        CoCreateGuid(&guid);
        m_path = m_folder->FilePath(PackageFileName(guid.Data1, guid.Data2, guid.Data3, guid.Data4));
    }
    ~PackagePlace() override
    {
        if (!m_folder->Remove()) m_folder->RemoveAtRestart();
    }
    const std::wstring& PackagePath() const override { return m_path; }
    bool Remove() override { return m_folder->Remove(); }

private:
    std::unique_ptr<CPackageFolder> m_folder;
    std::wstring m_path;
};

class HeldPackage : public CHeldPackage {
public:
    explicit HeldPackage(std::unique_ptr<CPackageFile> file) : m_file(std::move(file)) {}

private:
    std::unique_ptr<CPackageFile> m_file;
};

class RunningPackage : public CRunningPackage {
public:
    RunningPackage(std::unique_ptr<CPackageProcess> process, LogSink log)
        : m_process(std::move(process)), m_log(std::move(log))
    {
    }
    ~RunningPackage() override
    {
        LogExitCode();
        // A package that reported completion may take a moment to end; it is no longer followed.
        if (!m_exitLogged) WriteLog(m_log, L"the package is still ending; no longer followed");
    }
    bool HasEnded() const override
    {
        const bool ended = m_process->HasEnded();
        if (ended) LogExitCode();
        return ended;
    }

private:
    // Once, as soon as the package's own process is seen to have ended.
    void LogExitCode() const
    {
        if (m_exitLogged) return;
        const std::optional<DWORD> code = m_process->ExitCode();
        if (!code) return;
        m_exitLogged = true;
        WriteLog(m_log, L"the package ended with exit code " + std::to_wstring(*code) + L" (" + HexCode(*code) + L")");
    }

    std::unique_ptr<CPackageProcess> m_process;
    LogSink m_log;
    mutable bool m_exitLogged = false;
};

// A test's pause from the environment: decimal milliseconds up to kLongestTestPauseMs; anything
// else, or nothing, is no pause.
unsigned int TestPause(const wchar_t* variable)
{
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(variable, text, 16);
    if (length == 0 || length >= 16) return 0;
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text, &end, 10);
    if (end == text || *end != L'\0' || value > kLongestTestPauseMs) return 0;
    return static_cast<unsigned int>(value);
}

std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

}  // namespace

InstallFlowServices RealInstallFlowServices(LogSink log)
{
    InstallFlowServices services;
    services.makePackagePlace = [log]() -> std::unique_ptr<CPackagePlace> {
        DWORD error = ERROR_SUCCESS;
        std::unique_ptr<CPackageFolder> folder = CPackageFolder::Create(PackageRootFolder(), &error);
        if (!folder) {
            WriteLog(log, L"no folder for the package: error " + std::to_wstring(error));
            return nullptr;
        }
        auto place = std::make_unique<PackagePlace>(std::move(folder));
        WriteLog(log, L"the package goes to " + place->PackagePath());
        return place;
    };
    services.makeDownloader = [log](DownloadCallback observer, const std::wstring& url, const std::wstring& savePath) {
        WriteLog(log, L"downloading " + url);
        CWinDownloader::Limits limits;
        limits.log = log;
        // The observer is told the result as well, so the log has it even for a download that
        // never began a transfer.
        DownloadCallback logged = [observer, log](int code, double value, const wchar_t* text) {
            if (code == DOWNLOAD_COMPLETE) WriteLog(log, L"download complete");
            if (code == DOWNLOAD_FAILED)
                WriteLog(log, L"download failed: " + HexCode(static_cast<unsigned long>(static_cast<long>(value))));
            observer(code, value, text);
        };
        return std::shared_ptr<CDownloader>(
            std::make_shared<CWinDownloader>(std::move(logged), url.c_str(), savePath.c_str(), limits));
    };
    services.checkPackage = [log](const std::wstring& path) -> std::unique_ptr<CHeldPackage> {
        auto file = std::make_unique<CPackageFile>(path);
        const PackageCheck check = file->Verify(BuiltInSignerPins());
        std::wstring line = L"package check: " + Widen(PackageVerdictName(check.verdict));
        if (check.detail != 0) line += L" (" + HexCode(static_cast<unsigned long>(check.detail)) + L")";
        if (!check.signer.empty()) line += L"; signed by " + check.signer;
        WriteLog(log, line);
        if (check.verdict != PackageVerdict::Trusted) return nullptr;
        return std::make_unique<HeldPackage>(std::move(file));
    };
    services.startPackage = [log](const std::wstring& path,
                                  const std::wstring& parameters) -> std::unique_ptr<CRunningPackage> {
        WriteLog(log, L"starting " + PackageProcessCommandLine(path, parameters));
        DWORD error = ERROR_SUCCESS;
        std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(path, parameters, &error);
        if (!process) {
            WriteLog(log, L"the package did not start: error " + std::to_wstring(error));
            return nullptr;
        }
        WriteLog(log, std::wstring(L"the package runs, process ") + std::to_wstring(GetProcessId(process->Process())) +
                          (process->FollowsDescendants() ? L", with everything it starts" : L", alone"));
        return std::make_unique<RunningPackage>(std::move(process), log);
    };
    auto place = std::make_shared<StatusFilePlace>();
    services.prepareStatusFile = [place, log] {
        place->folder.reset();
        StatusFolderProblem problem = StatusFolderProblem::None;
        place->folder = CStatusFileFolder::Open(GetRoamingDataDir(), &problem);
        if (!place->folder || !place->folder->Prepare()) {
            WriteLog(log, std::wstring(L"the status file is not used: ") +
                              ProblemName(place->folder ? StatusFolderProblem::Redirected : problem));
            place->folder.reset();
            return false;
        }
        WriteLog(log, L"status file prepared: active = \"" + place->folder->Poll() + L"\"");
        place->lastActive = L"0";
        return true;
    };
    services.pollStatusFile = [place, log] {
        std::wstring active = place->folder ? place->folder->Poll() : std::wstring(kStatusDefault);
        // A change is worth a line; the same value every 108 ms is not.
        if (active != place->lastActive) {
            WriteLog(log, L"status file: active = \"" + active + L"\"");
            place->lastActive = active;
        }
        return active;
    };
    services.isApplicationInstalled = [log](const std::wstring& appFolder) {
        // A file, not a folder or a link of that name.
        const DWORD attributes = GetFileAttributesW((appFolder + kAppExeSuffix).c_str());
        const bool installed = attributes != INVALID_FILE_ATTRIBUTES &&
                               (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        WriteLog(log, appFolder + kAppExeSuffix + (installed ? L": installed" : L": missing"));
        return installed;
    };
    services.pauseBeforeCheckMs = TestPause(kPauseBeforeCheckVariable);
    services.pauseBeforeStartMs = TestPause(kPauseBeforeStartVariable);
    return services;
}
