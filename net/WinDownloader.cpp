#include "net/WinDownloader.h"

#include <wininet.h>

#include <cstdint>
#include <cwchar>
#include <thread>

#include "KPCore/inner/DllHardening.h"
#include "net/HttpResponse.h"
#include "net/TextEncoding.h"

namespace {

constexpr int kAttempts = 3;
constexpr DWORD kPauseAfterFailureMs = 1000;
constexpr wchar_t kTransferName[] = L"URLDownloadToFile";
const HRESULT kStalled = INET_E_CONNECTION_TIMEOUT;
const HRESULT kTooLarge = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
const HRESULT kCutShort = HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);

// HTTP_E_STATUS_NOT_FOUND (0x80190194) and its kind: the status in the low word.
HRESULT HttpStatusResult(DWORD status) { return static_cast<HRESULT>(0x80190000u | (status & 0xFFFFu)); }

bool CarriesBytes(ULONG statusCode)
{
    return statusCode == BINDSTATUS_BEGINDOWNLOADDATA || statusCode == BINDSTATUS_DOWNLOADINGDATA ||
           statusCode == BINDSTATUS_ENDDOWNLOADDATA;
}

void RemoveFile(const std::wstring& path) { DeleteFileW(path.c_str()); }

// "attempt 2 of 3: HTTP 404, 0 bytes in 15 ms, result 0x80190194".
std::wstring DescribeAttempt(int attempt, DWORD httpStatus, std::uint64_t bytes, std::uint64_t milliseconds,
                             HRESULT result)
{
    wchar_t text[160];
    std::swprintf(text, sizeof text / sizeof text[0],
                  L"attempt %d of %d: HTTP %lu, %llu bytes in %llu ms, result 0x%08lX", attempt, kAttempts,
                  static_cast<unsigned long>(httpStatus), static_cast<unsigned long long>(bytes),
                  static_cast<unsigned long long>(milliseconds), static_cast<unsigned long>(result));
    return text;
}

// S_OK when the saved file has the length the response announced (or none was announced).
HRESULT CheckSavedLength(const std::wstring& path, std::uint64_t announced)
{
    if (announced == UINT64_MAX) return S_OK;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return HRESULT_FROM_WIN32(GetLastError());
    const std::uint64_t size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return size == announced ? S_OK : kCutShort;
}

// urlmon and wininet are not on every Windows' list of known DLLs, so the program does not import
// them (a copy planted beside it would be loaded instead): they come from the system folder at run
// time. A missing function fails like a transfer or a cache search that found nothing.
HRESULT DownloadToFile(const wchar_t* url, const wchar_t* savePath, IBindStatusCallback* callback)
{
    static const auto download = SystemFunction<decltype(&URLDownloadToFileW)>(L"urlmon.dll", "URLDownloadToFileW");
    return download ? download(nullptr, url, savePath, 0, callback) : E_NOTIMPL;
}

struct UrlCacheFunctions {
    decltype(&FindFirstUrlCacheEntryW) findFirst =
        SystemFunction<decltype(&FindFirstUrlCacheEntryW)>(L"wininet.dll", "FindFirstUrlCacheEntryW");
    decltype(&FindNextUrlCacheEntryW) findNext =
        SystemFunction<decltype(&FindNextUrlCacheEntryW)>(L"wininet.dll", "FindNextUrlCacheEntryW");
    decltype(&DeleteUrlCacheEntryW) deleteEntry =
        SystemFunction<decltype(&DeleteUrlCacheEntryW)>(L"wininet.dll", "DeleteUrlCacheEntryW");
    decltype(&FindCloseUrlCache) findClose =
        SystemFunction<decltype(&FindCloseUrlCache)>(L"wininet.dll", "FindCloseUrlCache");

    bool Complete() const { return findFirst && findNext && deleteEntry && findClose; }
};

const UrlCacheFunctions& UrlCache()
{
    static const UrlCacheFunctions functions;
    return functions;
}

}  // namespace

// ---- CBindCallback ----

CWinDownloader::CBindCallback::~CBindCallback()
{
    m_abort = true;
    m_observer = nullptr;
    ForgetBinding();
}

// Answers for the interfaces the service asks about: through IHttpNegotiate it learns that this
// callback wants the response's status. IBindStatusCallbackEx is not offered, so the service keeps
// calling GetBindInfo, which sets the URL's code page.
HRESULT CWinDownloader::CBindCallback::QueryInterface(REFIID riid, void** object)
{
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    if (IsEqualIID(riid, IID_IHttpNegotiate)) {
        *object = static_cast<IHttpNegotiate*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CWinDownloader::CBindCallback::AddRef() { return 0; }
ULONG CWinDownloader::CBindCallback::Release() { return 0; }
// The binding is kept for Detach; the answer stays "not implemented", which the service ignores.
HRESULT CWinDownloader::CBindCallback::OnStartBinding(DWORD, IBinding* binding)
{
    if (!binding) return E_NOTIMPL;
    binding->AddRef();
    IBinding* earlier = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        earlier = m_binding;
        m_binding = binding;
    }
    if (earlier) earlier->Release();
    if (m_abort || m_cutoff.load() != 0)  // Detach or a cut-off came before the binding existed
        binding->Abort();
    return E_NOTIMPL;
}
HRESULT CWinDownloader::CBindCallback::GetPriority(LONG*) { return E_NOTIMPL; }
HRESULT CWinDownloader::CBindCallback::OnLowResource(DWORD) { return E_NOTIMPL; }

HRESULT CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                                  LPCWSTR statusText)
{
    if (m_abort || m_cutoff.load() != 0) return E_ABORT;
    if (statusCode == BINDSTATUS_REDIRECTING && statusText) RememberUrl(statusText);
    if (CarriesBytes(statusCode)) {
        ReadStatusFromBinding();
        if (m_httpStatus.load() != 0 && !IsSuccessStatus(m_httpStatus.load())) {
            CutOff(Cutoff::HttpStatus);
            return E_ABORT;
        }
        const std::uint64_t received = static_cast<std::uint32_t>(progress);
        if (received > m_maxBytes.load()) {
            CutOff(Cutoff::TooLarge);
            return E_ABORT;
        }
        if (received > m_received) {
            m_received = received;
            std::lock_guard<std::mutex> lock(m_lock);
            m_lastByte = std::chrono::steady_clock::now();
        }
    }
    if (progressMax > 0) {
        const double fraction = static_cast<double>(static_cast<std::uint32_t>(progress)) /
                                static_cast<double>(static_cast<std::uint32_t>(progressMax));
        Report(DOWNLOAD_PROGRESS, fraction, L"");
    }
    return S_OK;
}

HRESULT CWinDownloader::CBindCallback::OnStopBinding(HRESULT, LPCWSTR)
{
    ForgetBinding();
    return E_NOTIMPL;
}

void CWinDownloader::CBindCallback::ForgetBinding()
{
    IBinding* binding = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        std::swap(binding, m_binding);
    }
    if (binding) binding->Release();
}

HRESULT CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* bindInfo)
{
    if (bindInfo) bindInfo->dwCodePage = 65001;  // the URL is UTF-8
    return E_NOTIMPL;
}

HRESULT CWinDownloader::CBindCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
HRESULT CWinDownloader::CBindCallback::OnObjectAvailable(REFIID, IUnknown*) { return E_NOTIMPL; }
HRESULT CWinDownloader::CBindCallback::GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) { return E_NOTIMPL; }

HRESULT CWinDownloader::CBindCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders)
{
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
}

// An error status ends the attempt here, before its body is saved; a length announced below the cap
// becomes the cap, so a body longer than announced is not taken either.
HRESULT CWinDownloader::CBindCallback::OnResponse(DWORD status, LPCWSTR responseHeaders, LPCWSTR,
                                                  LPWSTR* additionalRequestHeaders)
{
    if (additionalRequestHeaders) *additionalRequestHeaders = nullptr;
    m_httpStatus = status;
    if (!IsSuccessStatus(status)) {
        CutOff(Cutoff::HttpStatus);
        return E_ABORT;
    }
    if (responseHeaders) {
        const std::optional<std::uint64_t> announced = ContentLengthOf(responseHeaders);
        if (announced) m_announced = *announced;
        if (announced && *announced < m_maxBytes.load()) m_maxBytes = *announced;
    }
    return S_OK;
}

// Where the service does not call OnResponse, the binding still knows the status.
void CWinDownloader::CBindCallback::ReadStatusFromBinding()
{
    if (m_httpStatus.load() != 0) return;
    IBinding* binding = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        binding = m_binding;
        if (binding) binding->AddRef();
    }
    if (!binding) return;
    IWinInetHttpInfo* info = nullptr;
    if (SUCCEEDED(binding->QueryInterface(IID_IWinInetHttpInfo, reinterpret_cast<void**>(&info))) && info) {
        DWORD status = 0;
        DWORD size = sizeof status;
        DWORD flags = 0;
        if (info->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &flags, nullptr) == S_OK)
            m_httpStatus = status;
        info->Release();
    }
    binding->Release();
}

void CWinDownloader::CBindCallback::BeginAttempt(std::uint64_t maxBytes)
{
    m_cutoff = 0;
    m_httpStatus = 0;
    m_maxBytes = maxBytes;
    m_announced = UINT64_MAX;
    m_received = 0;
    std::lock_guard<std::mutex> lock(m_lock);
    m_attemptRunning = true;
    m_lastByte = std::chrono::steady_clock::now();
}

void CWinDownloader::CBindCallback::EndAttempt()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_attemptRunning = false;
    }
    m_changed.notify_all();
}

void CWinDownloader::CBindCallback::WatchForStall(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(m_lock);
    while (m_attemptRunning) {
        if (m_abort) {
            lock.unlock();
            AbortBinding();
            return;
        }
        // Each byte moves the deadline; the wait is simply renewed when it has moved.
        const auto deadline = m_lastByte + limit;
        if (std::chrono::steady_clock::now() >= deadline) {
            lock.unlock();
            CutOff(Cutoff::Stalled);
            return;
        }
        m_changed.wait_until(lock, deadline);
    }
}

void CWinDownloader::CBindCallback::CutOff(Cutoff why)
{
    int none = 0;
    m_cutoff.compare_exchange_strong(none, static_cast<int>(why));
    AbortBinding();
}

void CWinDownloader::CBindCallback::AbortBinding()
{
    IBinding* binding = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        binding = m_binding;
        if (binding) binding->AddRef();
    }
    // The service hands the abort over to the worker's apartment; the worker's transfer then ends
    // with E_ABORT.
    if (binding) {
        binding->Abort();
        binding->Release();
    }
}

void CWinDownloader::CBindCallback::SetObserver(const DownloadCallback& observer) { m_observer = observer; }

bool CWinDownloader::CBindCallback::Report(int code, double value, const wchar_t* text)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_abort || !m_observer) return false;
        ++m_callsRunning;
    }
    m_observer(code, value, text);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        --m_callsRunning;
    }
    m_changed.notify_all();
    return true;
}

void CWinDownloader::CBindCallback::Detach()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_abort = true;
    m_changed.notify_all();  // ends a pause between attempts and wakes the watchdog
    m_changed.wait(lock, [this] { return m_callsRunning == 0; });
}

void CWinDownloader::CBindCallback::WaitForDetach()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return m_abort.load(); });
}

bool CWinDownloader::CBindCallback::PauseUnlessAborted(DWORD milliseconds)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return !m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_abort.load(); });
}

void CWinDownloader::CBindCallback::RememberUrl(const std::wstring& url) { m_fetchedUrls.push_back(url); }

// ---- CWinDownloader ----

CWinDownloader::CWinDownloader(DownloadCallback observer, const wchar_t* url, const wchar_t* savePath, Limits limits)
    : m_job(std::make_shared<Job>())
{
    m_job->observer = std::move(observer);
    m_job->savePath = savePath ? savePath : L"";
    m_job->url = url ? url : L"";
    m_job->limits = limits;
    std::shared_ptr<Job> job = m_job;
    m_thread = std::make_unique<CNamedThread>([job](void*) { return Run(*job); }, nullptr, L"ABDEF");
}

CWinDownloader::~CWinDownloader()
{
    m_job->callback.Detach();
    // A worker that was never started would wait forever; started now, it sees the abort and ends.
    if (!m_started) m_thread->Resume();
    if (!m_thread->JoinFor(kStopWaitMs)) CNamedThread::Abandon(std::move(m_thread));
}

bool CWinDownloader::Start()
{
    // Installing the copy again while the worker calls it would be a data race; it is the same
    // observer anyway.
    if (!m_started) {
        m_job->callback.SetObserver(m_job->observer);
        m_started = true;
    }
    return m_thread->Resume();
}

// The attempt's outcome: the callback's reason when it cut the attempt off (the service then reports
// only an abort), else an error status the service reported as success, else the service's result.
HRESULT CWinDownloader::AttemptResult(const CBindCallback& callback, HRESULT transfer)
{
    switch (callback.AttemptCutoff()) {
    case CBindCallback::Cutoff::HttpStatus: return HttpStatusResult(callback.HttpStatus());
    case CBindCallback::Cutoff::Stalled: return kStalled;
    case CBindCallback::Cutoff::TooLarge: return kTooLarge;
    case CBindCallback::Cutoff::None: break;
    }
    if (transfer == S_OK && callback.HttpStatus() != 0 && !IsSuccessStatus(callback.HttpStatus()))
        return HttpStatusResult(callback.HttpStatus());
    return transfer;
}

unsigned long CWinDownloader::Run(Job& job)
{
    CBindCallback& callback = job.callback;
    const std::wstring& savePath = job.savePath;

    CoInitialize(nullptr);
    callback.Report(DOWNLOAD_BEGIN, 1.0, L"");
    if (savePath.empty()) {
        callback.Report(DOWNLOAD_FAILED, 1.0, L"");
        CoUninitialize();
        return 0;
    }

    const std::wstring url = PrepareDownloadUrl(job.url);
    callback.RememberUrl(url);
    HRESULT result = E_ABORT;
    for (int attempt = 0; attempt < kAttempts && !callback.Aborted(); ++attempt) {
        callback.BeginAttempt(job.limits.maxBytes);
        const auto began = std::chrono::steady_clock::now();
        std::thread watchdog([&callback, &job] { callback.WatchForStall(job.limits.stall); });
        result = DownloadToFile(url.c_str(), savePath.c_str(), &callback);
        callback.EndAttempt();
        watchdog.join();
        callback.ForgetBinding();
        result = AttemptResult(callback, result);
        if (result == S_OK) result = CheckSavedLength(savePath, callback.AnnouncedLength());
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
        WriteLog(job.limits.log, DescribeAttempt(attempt + 1, callback.HttpStatus(), callback.ReceivedBytes(),
                                                 static_cast<std::uint64_t>(took.count()), result));
        if (result == S_OK) break;
        RemoveFile(savePath);  // nothing of a failed attempt is kept
        callback.PauseUnlessAborted(kPauseAfterFailureMs);
    }
    // A file that nobody was told about is not left behind: only a reported 1003 keeps it.
    if (result == S_OK) {
        if (!callback.Report(DOWNLOAD_COMPLETE, 0.0, kTransferName)) RemoveFile(savePath);
    } else {
        RemoveFile(savePath);
        callback.Report(DOWNLOAD_FAILED, static_cast<double>(static_cast<std::int32_t>(result)), kTransferName);
    }
    // The system's copies of the response stay while the downloader does, and go here, on the
    // worker: the cache walk may take a while, and the destroying thread waits for it only so long.
    callback.WaitForDetach();
    PurgeUrlCache(callback.FetchedUrls());
    CoUninitialize();
    return 0;
}

// ---- free functions ----

std::wstring PrepareDownloadUrl(const std::wstring& url)
{
    if (url.compare(0, 8, L"file:///") == 0) return url;
    return UrlEncodeWide(url);
}

void PurgeUrlCache(const std::vector<std::wstring>& urls)
{
    const UrlCacheFunctions& cache = UrlCache();
    if (urls.empty() || !cache.Complete()) return;
    auto isOwn = [&urls](const wchar_t* source) {
        if (!source) return false;
        for (const std::wstring& url : urls)
            if (url == source) return true;
        return false;
    };

    // Each entry is read twice: once to learn its size, once into a buffer of that size.
    std::vector<std::uint8_t> buffer;
    auto entry = [&buffer] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()); };
    DWORD size = 0;
    HANDLE find = cache.findFirst(nullptr, nullptr, &size);
    if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.assign(size, 0);
        find = cache.findFirst(nullptr, entry(), &size);
    }
    if (!find) return;
    for (;;) {
        if (!(entry()->CacheEntryType & COOKIE_CACHE_ENTRY) && isOwn(entry()->lpszSourceUrlName))
            cache.deleteEntry(entry()->lpszSourceUrlName);
        size = 0;
        if (cache.findNext(find, nullptr, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        buffer.assign(size, 0);
        if (!cache.findNext(find, entry(), &size)) break;
    }
    cache.findClose(find);
}
