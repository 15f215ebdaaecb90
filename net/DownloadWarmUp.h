#pragma once
#include <windows.h>

#include <functional>
#include <memory>

// Gets the download stack ready while the user is still reading the welcome page, so that the
// first download of the process does not pay for it after the click on "立即安装".
//
// The first HTTPS download of a process loads the URL moniker and internet libraries, starts the
// TLS provider and opens the certificate stores and the chain engine that check the server's
// certificate. Measured under Wine the certificate part alone is 0.15 s to 0.5 s. All of that is
// local work and is done here ahead of time. Nothing here makes a network request: no address is
// known to it, and the certificate chain it builds may use cached data only.

// Finds a function of a system DLL; null when the DLL or the function is missing. The program
// uses SystemProcAddress (KPCore/inner/DllHardening.h); tests put in their own.
using SystemLookup = std::function<FARPROC(const wchar_t* dllName, const char* functionName)>;

// The three steps of the warm-up; each is true when it could do its work. A missing DLL or
// function only makes its step false.
//
// Loads urlmon.dll and wininet.dll, which the downloader takes from the system folder.
bool LoadTransferLibraries(const SystemLookup& lookup);
// Starts the TLS provider: client credentials of the system's TLS package are made and freed.
bool PrepareTlsProvider(const SystemLookup& lookup);
// Opens the trusted root store and builds the chain of one of its certificates with the default
// chain engine, from the local stores only, so that both stay open for the download's check.
bool PrepareCertificateChecks(const SystemLookup& lookup);

// All three steps with the real system DLLs.
void WarmUpDownloadStack();

// Runs a warm-up on a thread of its own.
//
// Start never waits for the work. The destructor gives unfinished work a short while to end and
// then leaves the thread to finish on its own (it only holds state that it shares with nobody
// else), so closing the installer during a slow warm-up does not hang.
class CDownloadWarmUp {
public:
    using Work = std::function<void()>;

    // How long the destructor waits for unfinished work.
    static constexpr DWORD kExitWaitMs = 2000;

    explicit CDownloadWarmUp(Work work = WarmUpDownloadStack);
    ~CDownloadWarmUp();
    CDownloadWarmUp(const CDownloadWarmUp&) = delete;
    CDownloadWarmUp& operator=(const CDownloadWarmUp&) = delete;

    // Starts the work on its thread and returns at once. False when the thread could not be made
    // or the work has been started before.
    bool Start();
    // Start has made the thread.
    bool IsStarted() const { return m_started; }
    // Waits up to `milliseconds` for the work to end; true when it has ended.
    bool WaitUntilDone(DWORD milliseconds) const;
    // Gives unfinished work up to `milliseconds` to end, then lets the thread go for good (the
    // destructor waits no more). For an owner that shares one wait among several threads.
    void Release(DWORD milliseconds);

    struct Shared;  // what the thread holds: the work and its "done" signal

private:
    std::shared_ptr<Shared> m_shared;
    HANDLE m_thread = nullptr;
    bool m_started = false;  // a warm-up runs once, also after it was let go
};
