#include "app/InstallFlowServices.h"

#include <windows.h>
#include <objbase.h>

#include <cwchar>
#include <string>
#include <utility>

#include "KPCore/inner/PackageFolder.h"
#include "KPCore/inner/PackageProcess.h"
#include "KPCore/inner/ProductInfo.h"
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
};

const char* ProblemName(StatusFolderProblem problem)
{
    switch (problem) {
    case StatusFolderProblem::NoProfile: return "no profile folder";
    case StatusFolderProblem::NotCreated: return "the folder could not be made or opened";
    case StatusFolderProblem::Redirected: return "the folder or APP.ini is a link";
    case StatusFolderProblem::None: break;
    }
    return "none";
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
    explicit RunningPackage(std::unique_ptr<CPackageProcess> process) : m_process(std::move(process)) {}
    bool HasEnded() const override { return m_process->HasEnded(); }

private:
    std::unique_ptr<CPackageProcess> m_process;
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

void Log(const std::string& line) { OutputDebugStringA(("KPSetup: " + line + "\n").c_str()); }

}  // namespace

InstallFlowServices RealInstallFlowServices()
{
    InstallFlowServices services;
    services.makePackagePlace = []() -> std::unique_ptr<CPackagePlace> {
        DWORD error = ERROR_SUCCESS;
        std::unique_ptr<CPackageFolder> folder = CPackageFolder::Create(PackageRootFolder(), &error);
        if (!folder) {
            Log("no folder for the package: error " + std::to_string(error));
            return nullptr;
        }
        return std::make_unique<PackagePlace>(std::move(folder));
    };
    services.makeDownloader = [](DownloadCallback observer, const std::wstring& url, const std::wstring& savePath) {
        return std::shared_ptr<CDownloader>(
            std::make_shared<CWinDownloader>(std::move(observer), url.c_str(), savePath.c_str()));
    };
    services.checkPackage = [](const std::wstring& path) -> std::unique_ptr<CHeldPackage> {
        auto file = std::make_unique<CPackageFile>(path);
        const PackageCheck check = file->Verify(BuiltInSignerPins());
        if (check.verdict != PackageVerdict::Trusted) {
            Log(std::string("the package is refused: ") + PackageVerdictName(check.verdict) + " (" +
                std::to_string(check.detail) + ")");
            return nullptr;
        }
        return std::make_unique<HeldPackage>(std::move(file));
    };
    services.startPackage = [](const std::wstring& path,
                               const std::wstring& parameters) -> std::unique_ptr<CRunningPackage> {
        DWORD error = ERROR_SUCCESS;
        std::unique_ptr<CPackageProcess> process = CPackageProcess::Start(path, parameters, &error);
        if (!process) {
            Log("the package did not start: error " + std::to_string(error));
            return nullptr;
        }
        return std::make_unique<RunningPackage>(std::move(process));
    };
    auto place = std::make_shared<StatusFilePlace>();
    services.prepareStatusFile = [place] {
        place->folder.reset();
        StatusFolderProblem problem = StatusFolderProblem::None;
        place->folder = CStatusFileFolder::Open(GetRoamingDataDir(), &problem);
        if (!place->folder || !place->folder->Prepare()) {
            Log(std::string("the status file is not used: ") +
                ProblemName(place->folder ? StatusFolderProblem::Redirected : problem));
            place->folder.reset();
            return false;
        }
        return true;
    };
    services.pollStatusFile = [place] { return place->folder ? place->folder->Poll() : std::wstring(kStatusDefault); };
    services.isApplicationInstalled = [](const std::wstring& appFolder) {
        // A file, not a folder or a link of that name.
        const DWORD attributes = GetFileAttributesW((appFolder + kAppExeSuffix).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    };
    services.pauseBeforeCheckMs = TestPause(kPauseBeforeCheckVariable);
    services.pauseBeforeStartMs = TestPause(kPauseBeforeStartVariable);
    return services;
}
