#pragma once
#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "KPCore/inner/LogSink.h"
#include "net/Downloader.h"
#include "net/NamedThread.h"

// Downloads one URL into one file on a worker thread of its own (named "ABDEF"), with the system's
// URL moniker service, and reports to its observer on that worker thread.
//
// The transfer is tried three times, pausing a second after each failure. It counts as done only
// when the service reports success AND the server answered with a 2xx status: the service saves an
// error page (a 404 or 500 with any body, even a program) as if it were the file, and reports a
// connection dropped before the announced length as a success, so a saved file shorter or longer
// than announced fails the attempt too. What the file holds is for its owner to judge (the install
// flow checks the package before anything runs it). An attempt is also given up, and its partial
// file deleted, when
// no byte has arrived for a while (30 s by default: a server that hangs) or when the response grows
// beyond the length it announced or beyond a cap (1 GiB by default: a server that never ends).
//
// Destroying it: the destructor first cuts the observer off (after that no observer call is
// running and none will start) and raises the abort, which the worker's side acts on: its progress
// callback aborts the transfer at the next notification, its stall watchdog at once (a silent
// server sends none), and the retry pause ends. The destructor then waits for the worker at most
// kStopWaitMs; a worker still busy after that (a transfer the system does not let go of) is left
// to end by itself and clean up after itself, and the process may end without it. The URL-cache
// entries of the download stay until the downloader is destroyed, and are purged then by the
// worker, never on the destroying thread. So an owner may destroy
// the downloader while a download runs, even one from a server that has gone silent, without
// waiting long, and its observer never runs on a half-destroyed owner. The observer must
// therefore never wait for the thread that destroys the downloader, and must not destroy the
// downloader itself.
class CWinDownloader : public CDownloader {
public:
    // Turns the URL moniker service's notifications into observer calls. Lives inside the
    // downloader: it is not allocated and keeps no reference count.
    class CBindCallback : public IBindStatusCallbackEx, public IHttpNegotiate {
    public:
        // Why the running attempt was given up by this callback rather than by the service.
        enum class Cutoff { None, HttpStatus, Stalled, TooLarge };

        CBindCallback() = default;
        virtual ~CBindCallback();
        CBindCallback(const CBindCallback&) = delete;
        CBindCallback& operator=(const CBindCallback&) = delete;

        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
        HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
        HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
        HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                             LPCWSTR statusText) override;
        HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
        HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
        HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                                  STGMEDIUM* medium) override;
        HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* object) override;
        HRESULT STDMETHODCALLTYPE GetBindInfoEx(DWORD* bindFlags, BINDINFO* bindInfo, DWORD* bindFlags2,
                                                DWORD* reserved) override;
        // IHttpNegotiate: the service tells the response's status and headers here.
        HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                       LPWSTR* additionalHeaders) override;
        HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                                             LPWSTR* additionalRequestHeaders) override;

        // Installs the observer copy. Only before the worker runs: the copy is read without a lock.
        void SetObserver(const DownloadCallback& observer);
        // Calls the observer unless it has been detached; true when it was called.
        bool Report(int code, double value, const wchar_t* text);
        // Raises the abort flag and wakes the worker's pause and watchdog, and returns once no
        // observer call is running; none starts after. The transfer itself is aborted from the
        // worker's side (OnProgress, OnStartBinding, WatchForStall), never from the caller's.
        void Detach();
        // Lets go of the binding of a transfer that has ended.
        void ForgetBinding();
        bool Aborted() const { return m_abort.load(); }
        // Returns once Detach has been called.
        void WaitForDetach();
        // Sleeps, but wakes early on Detach. False when the wait ended because of an abort.
        bool PauseUnlessAborted(DWORD milliseconds);

        // Starts the bookkeeping of one attempt: no status yet, nothing received, `maxBytes` allowed.
        void BeginAttempt(std::uint64_t maxBytes);
        // Gives the attempt up, aborting the transfer, once no byte has arrived for `limit`, or
        // aborts it as soon as the download is detached; returns then, or when the attempt ends
        // (EndAttempt). Runs on a thread of its own beside the transfer.
        void WatchForStall(std::chrono::milliseconds limit);
        // Ends the attempt; WatchForStall returns.
        void EndAttempt();
        Cutoff AttemptCutoff() const { return static_cast<Cutoff>(m_cutoff.load()); }
        // The length the response announced; UINT64_MAX when it announced none.
        std::uint64_t AnnouncedLength() const { return m_announced.load(); }
        // The response's HTTP status; 0 when the service told none (a file address).
        DWORD HttpStatus() const { return m_httpStatus.load(); }
        // The bytes the attempt received; read once the transfer has returned.
        std::uint64_t ReceivedBytes() const { return m_received; }

        // The addresses this download has fetched (its URL and every redirection target), so that
        // exactly its own URL-cache entries can be removed.
        void RememberUrl(const std::wstring& url);
        const std::vector<std::wstring>& FetchedUrls() const { return m_fetchedUrls; }

    private:
        // Gives the attempt up for `why` (the first reason stays) and aborts its transfer.
        void CutOff(Cutoff why);
        void AbortBinding();
        void ReadStatusFromBinding();

        DownloadCallback m_observer;
        std::atomic<bool> m_abort{false};
        // The running attempt. The status and the cut-off are read by the worker after the transfer.
        std::atomic<int> m_cutoff{0};
        std::atomic<DWORD> m_httpStatus{0};
        std::atomic<std::uint64_t> m_maxBytes{UINT64_MAX};  // no cap outside an attempt
        std::atomic<std::uint64_t> m_announced{UINT64_MAX};
        bool m_attemptRunning = false;                     // under m_lock
        std::chrono::steady_clock::time_point m_lastByte;  // under m_lock
        std::uint64_t m_received = 0;                      // service thread only
        std::mutex m_lock;
        std::condition_variable m_changed;
        int m_callsRunning = 0;
        std::vector<std::wstring> m_fetchedUrls;  // worker thread only, until it has been joined
        // The running transfer, kept so that the watchdog can abort it while the server sends
        // nothing (the service then calls no OnProgress, and would wait for the server
        // indefinitely).
        IBinding* m_binding = nullptr;
    };

    struct Limits {
        std::chrono::milliseconds stall{30000};  // longest wait for the next byte
        std::uint64_t maxBytes = 1ull << 30;     // largest response accepted (below 4 GiB)
        // Told on the worker thread, one line per attempt: its HTTP status, bytes, time and result.
        LogSink log;
    };

    // How long the destructor waits for the worker before leaving it to end by itself.
    static constexpr unsigned long kStopWaitMs = 2000;

    CWinDownloader(DownloadCallback observer, const wchar_t* url, const wchar_t* savePath, Limits limits);
    CWinDownloader(DownloadCallback observer, const wchar_t* url, const wchar_t* savePath)
        : CWinDownloader(std::move(observer), url, savePath, Limits())
    {
    }
    ~CWinDownloader();
    CWinDownloader(const CWinDownloader&) = delete;
    CWinDownloader& operator=(const CWinDownloader&) = delete;

    // Lets the worker run. The worker body runs once per downloader: a later Start downloads
    // nothing more. Call it from one thread only.
    bool Start() override;

private:
    // What the worker works with. The worker holds it too, so it outlives a downloader destroyed
    // before the worker has ended.
    struct Job {
        CBindCallback callback;
        DownloadCallback observer;
        std::wstring savePath;
        std::wstring url;
        Limits limits;
    };

    static unsigned long Run(Job& job);
    static HRESULT AttemptResult(const CBindCallback& callback, HRESULT transfer);

    std::shared_ptr<Job> m_job;
    std::unique_ptr<CNamedThread> m_thread;
    bool m_started = false;  // the observer copy is installed by the first Start only
};

// The URL as it is handed to the transfer: "file:///" addresses unchanged, every other address
// percent-encoded as UTF-8 (a space becomes "+").
std::wstring PrepareDownloadUrl(const std::wstring& url);

// Deletes the URL-cache entries of the given addresses (cookies excepted). Other entries, the
// user's own browsing among them, stay.
void PurgeUrlCache(const std::vector<std::wstring>& urls);
