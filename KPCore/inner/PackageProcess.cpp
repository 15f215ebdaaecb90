#include "KPCore/inner/PackageProcess.h"

#include <vector>

#include "KPCore/inner/PathText.h"

namespace {

// A job whose processes end on an unhandled exception instead of waiting in an error dialog that
// nobody may see: such a package would otherwise hold the installer at its last percent.
HANDLE CreatePackageJob()
{
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

}  // namespace

std::wstring PackageProcessCommandLine(const std::wstring& path, const std::wstring& parameters)
{
    return L"\"" + path + L"\" " + parameters;
}

std::unique_ptr<CPackageProcess> CPackageProcess::Start(const std::wstring& path, const std::wstring& parameters,
                                                        DWORD* error, Options options)
{
    DWORD ignored = 0;
    DWORD& result = error ? *error : ignored;
    const std::wstring folder = DirectoryOfPath(path);
    const std::wstring line = PackageProcessCommandLine(path, parameters);
    std::vector<wchar_t> commandLine(line.begin(), line.end());  // CreateProcessW may write into it
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        result = GetLastError();
        return nullptr;
    }

    HANDLE job = options.useJob ? CreatePackageJob() : nullptr;
    if (job && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    if (ResumeThread(process.hThread) == static_cast<DWORD>(-1)) {
        result = GetLastError();
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (job) CloseHandle(job);
        return nullptr;
    }
    CloseHandle(process.hThread);
    result = ERROR_SUCCESS;
    return std::unique_ptr<CPackageProcess>(new CPackageProcess(process.hProcess, job));
}

CPackageProcess::~CPackageProcess()
{
    if (m_job) CloseHandle(m_job);
    CloseHandle(m_process);
}

bool CPackageProcess::HasEnded() const
{
    if (m_job) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        if (QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                      nullptr))
            return accounting.ActiveProcesses == 0;
    }
    return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

std::optional<DWORD> CPackageProcess::ExitCode() const
{
    if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(m_process, &code)) return std::nullopt;
    return code;
}
