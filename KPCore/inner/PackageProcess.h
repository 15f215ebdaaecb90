#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// The running setup package, and everything it starts.
//
// The package is started suspended, put into a job of its own, then let run, so the job holds it
// and every process it starts from its first instruction on. "Has everything ended?" is then a
// cheap question to the job that never waits, fit for a poll timer of the UI thread: a package that
// hands over to a child and exits is not mistaken for a finished install, and a package that
// crashes does not leave the installer waiting for ever (the job also makes an unhandled exception
// end the process rather than wait in an error dialog).
//
// Where the job cannot be assigned (Windows 7 does not nest jobs, so it fails there when the
// installer already runs in one) the package runs without it and only its own process is followed.
class CPackageProcess {
public:
    struct Options {
        bool useJob = true;  // false follows the package's own process only, as without a job
    };

    // Starts the program at `path` (the full path, also its application name) with the command line
    // "\"<path>\" <parameters>", in the program's own folder. Null on failure, with the Windows error
    // in `*error`; nothing runs then.
    static std::unique_ptr<CPackageProcess> Start(const std::wstring& path, const std::wstring& parameters,
                                                  DWORD* error, Options options);
    static std::unique_ptr<CPackageProcess> Start(const std::wstring& path, const std::wstring& parameters,
                                                  DWORD* error)
    {
        return Start(path, parameters, error, Options());
    }

    // Lets go of the handles; the processes run on.
    ~CPackageProcess();
    CPackageProcess(const CPackageProcess&) = delete;
    CPackageProcess& operator=(const CPackageProcess&) = delete;

    // True once the package and every process started inside its job have ended (once the package's
    // own process has, without a job). Never waits.
    bool HasEnded() const;
    // The package's own exit code once its process has ended; nullopt while it runs.
    std::optional<DWORD> ExitCode() const;
    // Whether a job follows the package's descendants too.
    bool FollowsDescendants() const { return m_job != nullptr; }
    HANDLE Process() const { return m_process; }

private:
    CPackageProcess(HANDLE process, HANDLE job) : m_process(process), m_job(job) {}
    HANDLE m_process;
    HANDLE m_job;  // null without a job
};

// "\"<path>\" <parameters>": the command line the package is started with.
std::wstring PackageProcessCommandLine(const std::wstring& path, const std::wstring& parameters);
