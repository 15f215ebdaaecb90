#pragma once
#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "net/Downloader.h"
#include "net/NamedThread.h"

// Downloads one URL into one file on a worker thread of its own (named "ABDEF"), with the system's
// URL moniker service, and reports to its observer on that worker thread.
//
// The transfer is tried three times, pausing a second after each failure. It counts as done only
// when the service reports success AND the file is a complete Windows executable: servers answer a
// missing file with an error page that the service saves as if it were the file.
//
// Detaching the observer: the destructor first cuts the observer off (after that no observer call
// is running and none will start), then aborts the transfer (at once through the binding, and at
// its next progress notification in any case), cuts the retry pause short and waits for the
// worker. So an owner may destroy the downloader while a download runs, even one from a server that
// has gone silent, and its observer never runs on a half-destroyed owner. The observer must
// therefore never wait for the thread that destroys the downloader, and must not destroy the
// downloader itself.
class CWinDownloader : public CDownloader {
public:
    // Turns the URL moniker service's notifications into observer calls. Lives inside the
    // downloader: it is not allocated and keeps no reference count.
    class CBindCallback : public IBindStatusCallbackEx {
    public:
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

        // Installs the observer copy. Only before the worker runs: the copy is read without a lock.
        void SetObserver(const DownloadCallback& observer);
        // Calls the observer unless it has been detached; true when it was called.
        bool Report(int code, double value, const wchar_t* text);
        // Raises the abort flag, aborts the running transfer, and returns once no observer call is
        // running; none starts after.
        void Detach();
        // Lets go of the binding of a transfer that has ended.
        void ForgetBinding();
        bool Aborted() const { return m_abort.load(); }
        // Sleeps, but wakes early on Detach. False when the wait ended because of an abort.
        bool PauseUnlessAborted(DWORD milliseconds);

        // The addresses this download has fetched (its URL and every redirection target), so that
        // exactly its own URL-cache entries can be removed.
        void RememberUrl(const std::wstring& url);
        const std::vector<std::wstring>& FetchedUrls() const { return m_fetchedUrls; }

    private:
        DownloadCallback m_observer;
        std::atomic<bool> m_abort{false};
        std::mutex m_lock;
        std::condition_variable m_changed;
        int m_callsRunning = 0;
        std::vector<std::wstring> m_fetchedUrls;  // worker thread only, until it has been joined
        // The running transfer, kept so that Detach can abort it while the server sends nothing
        // (the service then calls no OnProgress, and would wait for the server indefinitely).
        IBinding* m_binding = nullptr;
    };

    CWinDownloader(DownloadCallback observer, const wchar_t* url, const wchar_t* savePath);
    ~CWinDownloader();
    CWinDownloader(const CWinDownloader&) = delete;
    CWinDownloader& operator=(const CWinDownloader&) = delete;

    // Lets the worker run. The worker body runs once per downloader: a later Start downloads
    // nothing more. Call it from one thread only.
    bool Start() override;

private:
    static unsigned long DownloadProc(void* downloader);

    CBindCallback m_bindCallback;
    DownloadCallback m_observer;
    std::wstring m_savePath;
    std::wstring m_url;
    CNamedThread m_thread;
    bool m_started = false;  // the observer copy is installed by the first Start only
};

// The URL as it is handed to the transfer: "file:///" addresses unchanged, every other address
// percent-encoded as UTF-8 (a space becomes "+").
std::wstring PrepareDownloadUrl(const std::wstring& url);

// S_OK when the file at `path` is a complete Windows executable; otherwise removes the file and
// returns HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT), or the error of opening it.
HRESULT CheckDownloadedExecutable(const std::wstring& path);

// Deletes the URL-cache entries of the given addresses (cookies excepted). Other entries, the
// user's own browsing among them, stay.
void PurgeUrlCache(const std::vector<std::wstring>& urls);
