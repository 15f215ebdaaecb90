#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "net/WinDownloader.h"

namespace {

using Callback = CWinDownloader::CBindCallback;

struct Report {
    int code;
    double value;
    std::wstring text;
};

class BindCallback : public ::testing::Test {
protected:
    void SetUp() override
    {
        callback.SetObserver([this](int code, double value, const wchar_t* text) {
            reports.push_back({code, value, text});
        });
    }
    Callback callback;
    std::vector<Report> reports;
};

}  // namespace

TEST_F(BindCallback, ReportsEveryProgressWithAMaximumAsAFraction)
{
    EXPECT_EQ(callback.OnProgress(0, 0, BINDSTATUS_CONNECTING, L"x"), S_OK);
    EXPECT_TRUE(reports.empty()) << "no maximum, no report";

    EXPECT_EQ(callback.OnProgress(3, 4, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(5, 5, BINDSTATUS_ENDDOWNLOADDATA, L""), S_OK);
    EXPECT_EQ(callback.OnProgress(3, 4, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK) << "no throttling";
    // Sizes beyond 2 GB are unsigned, not negative.
    EXPECT_EQ(callback.OnProgress(0x80000000u, 0xFFFFFFFFu, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].value, 0.75);
    EXPECT_EQ(reports[1].value, 1.0);
    EXPECT_NEAR(reports[3].value, 0.5, 1e-9);
    for (const Report& r : reports) {
        EXPECT_EQ(r.code, DOWNLOAD_PROGRESS);
        EXPECT_EQ(r.text, L"");
    }
}

TEST_F(BindCallback, OnceDetachedItAbortsTheTransferAndReportsNothing)
{
    callback.Detach();
    EXPECT_TRUE(callback.Aborted());
    EXPECT_EQ(callback.OnProgress(1, 2, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
    EXPECT_FALSE(callback.Report(DOWNLOAD_COMPLETE, 0.0, L""));
    EXPECT_TRUE(reports.empty());
}

TEST_F(BindCallback, AnswersTheServiceAsAPlainCallbackThatNegotiatesHttp)
{
    void* object = nullptr;
    EXPECT_EQ(callback.QueryInterface(IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, static_cast<IBindStatusCallback*>(&callback));
    EXPECT_EQ(callback.QueryInterface(IID_IBindStatusCallback, &object), S_OK);
    EXPECT_EQ(object, static_cast<IBindStatusCallback*>(&callback));
    EXPECT_EQ(callback.QueryInterface(IID_IHttpNegotiate, &object), S_OK);
    EXPECT_EQ(object, static_cast<IHttpNegotiate*>(&callback));
    // Not the extended callback: the service would then skip GetBindInfo and its code page.
    object = &callback;
    EXPECT_EQ(callback.QueryInterface(IID_IBindStatusCallbackEx, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(callback.AddRef(), 0u);
    EXPECT_EQ(callback.Release(), 0u);
    EXPECT_EQ(callback.OnStartBinding(0, nullptr), E_NOTIMPL);
    EXPECT_EQ(callback.OnStopBinding(S_OK, nullptr), E_NOTIMPL);

    BINDINFO info{};
    info.cbSize = sizeof info;
    DWORD flags = BINDF_ASYNCHRONOUS | BINDF_GETNEWESTVERSION;
    EXPECT_EQ(callback.GetBindInfo(&flags, &info), E_NOTIMPL);
    EXPECT_EQ(info.dwCodePage, 65001u);
    EXPECT_EQ(flags, static_cast<DWORD>(BINDF_ASYNCHRONOUS | BINDF_GETNEWESTVERSION));
    EXPECT_EQ(callback.GetBindInfo(&flags, nullptr), E_NOTIMPL);
}

TEST_F(BindCallback, RemembersWhereTheTransferWasRedirected)
{
    callback.OnProgress(0, 0, BINDSTATUS_REDIRECTING, L"https://mirror.example/pkg.exe");
    callback.OnProgress(0, 0, BINDSTATUS_REDIRECTING, nullptr);
    ASSERT_EQ(callback.FetchedUrls().size(), 1u);
    EXPECT_EQ(callback.FetchedUrls()[0], L"https://mirror.example/pkg.exe");
}

TEST(BindCallbackDetach, WaitsForAnObserverCallInProgress)
{
    Callback callback;
    std::atomic<bool> inside{false}, finished{false};
    callback.SetObserver([&](int, double, const wchar_t*) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        finished = true;
    });
    std::thread worker([&] { callback.Report(DOWNLOAD_PROGRESS, 0.5, L""); });
    while (!inside) std::this_thread::yield();
    callback.Detach();
    EXPECT_TRUE(finished.load()) << "Detach returned while the observer still ran";
    worker.join();
}

TEST(BindCallbackDetach, CutsAPauseShort)
{
    Callback callback;
    auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(callback.PauseUnlessAborted(100));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(95));

    std::thread detacher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        callback.Detach();
    });
    begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(callback.PauseUnlessAborted(10000));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    detacher.join();
}

namespace {

// Stands in for the service's binding; counts aborts and references.
class FakeBinding : public IBinding {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE Abort() override
    {
        ++aborts;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Suspend() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPriority(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindResult(CLSID*, DWORD*, LPOLESTR*, DWORD*) override { return E_NOTIMPL; }

    int references = 1;
    int aborts = 0;
};

}  // namespace

TEST(BindCallbackDetach, AbortsTheRunningTransferAndHoldsNoBindingAfterItsEnd)
{
    FakeBinding binding;
    {
        Callback callback;
        EXPECT_EQ(callback.OnStartBinding(0, &binding), E_NOTIMPL);
        EXPECT_EQ(binding.references, 2);
        callback.BeginAttempt(UINT64_MAX);
        std::thread watchdog([&] { callback.WatchForStall(std::chrono::seconds(60)); });
        callback.Detach();
        watchdog.join();
        EXPECT_EQ(binding.aborts, 1) << "a silent server sends no progress: the worker's watchdog aborts the binding";
        EXPECT_EQ(callback.OnStopBinding(E_ABORT, nullptr), E_NOTIMPL);
        EXPECT_EQ(binding.references, 1);
    }
    {
        Callback callback;
        callback.Detach();
        callback.OnStartBinding(0, &binding);
        EXPECT_EQ(binding.aborts, 2) << "a transfer that starts after the detach is aborted at once";
    }
    EXPECT_EQ(binding.references, 1) << "released by the callback's end";
}

TEST(BindCallbackDetach, LeavesTheBindingToTheWorkersSide)
{
    // The thread that destroys a downloader never calls into the transfer: it could block there.
    FakeBinding binding;
    Callback callback;
    callback.OnStartBinding(0, &binding);
    callback.Detach();
    EXPECT_EQ(binding.aborts, 0);
    EXPECT_EQ(callback.OnProgress(10, 100, BINDSTATUS_DOWNLOADINGDATA, L""), E_ABORT)
        << "the worker's next notification aborts the transfer";
    callback.WaitForDetach();  // returns at once once detached
    callback.OnStopBinding(E_ABORT, nullptr);
}

namespace {

// A binding that also answers the HTTP status, as the service's binding does over HTTP.
class FakeHttpBinding : public FakeBinding, public IWinInetHttpInfo {
public:
    explicit FakeHttpBinding(DWORD status) : status(status) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IWinInetHttpInfo)) {
            *object = static_cast<IWinInetHttpInfo*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return FakeBinding::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return FakeBinding::Release(); }
    HRESULT STDMETHODCALLTYPE Abort() override { return FakeBinding::Abort(); }
    HRESULT STDMETHODCALLTYPE Suspend() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Resume() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPriority(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindResult(CLSID*, DWORD*, LPOLESTR*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryOption(DWORD, LPVOID, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryInfo(DWORD option, LPVOID buffer, DWORD* size, DWORD*, DWORD*) override
    {
        if (option != (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER) || *size < sizeof status) return E_FAIL;
        *static_cast<DWORD*>(buffer) = status;
        *size = sizeof status;
        return S_OK;
    }
    DWORD status;
};

using Cutoff = Callback::Cutoff;

}  // namespace

TEST(BindCallbackCutoff, AnErrorStatusEndsTheAttemptHoweverItIsLearnt)
{
    for (DWORD status : {404u, 500u, 302u}) {
        Callback callback;
        FakeBinding binding;
        callback.BeginAttempt(1000);
        callback.OnStartBinding(0, &binding);
        EXPECT_EQ(callback.OnResponse(status, L"Content-Length: 10\r\n", nullptr, nullptr), E_ABORT);
        EXPECT_EQ(callback.AttemptCutoff(), Cutoff::HttpStatus);
        EXPECT_EQ(callback.HttpStatus(), status);
        EXPECT_EQ(binding.aborts, 1);
        EXPECT_EQ(callback.OnProgress(5, 10, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
        callback.OnStopBinding(E_ABORT, nullptr);
    }
    // Without OnResponse the status comes from the binding when the body starts.
    Callback callback;
    FakeHttpBinding binding(404);
    callback.BeginAttempt(1000);
    callback.OnStartBinding(0, &binding);
    EXPECT_EQ(callback.OnProgress(0, 0, BINDSTATUS_CONNECTING, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(10, 10, BINDSTATUS_BEGINDOWNLOADDATA, nullptr), E_ABORT);
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::HttpStatus);
    EXPECT_EQ(callback.HttpStatus(), 404u);
    callback.OnStopBinding(E_ABORT, nullptr);

    // The next attempt starts clean; a 2xx status lets it run.
    FakeHttpBinding ok(200);
    callback.BeginAttempt(1000);
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::None);
    callback.OnStartBinding(0, &ok);
    EXPECT_EQ(callback.OnResponse(206, L"", nullptr, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(10, 10, BINDSTATUS_ENDDOWNLOADDATA, nullptr), S_OK);
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::None);
    EXPECT_EQ(ok.aborts, 0);
    callback.OnStopBinding(S_OK, nullptr);
}

TEST(BindCallbackCutoff, AResponseBeyondTheCapOrItsAnnouncedLengthIsAborted)
{
    Callback callback;
    callback.BeginAttempt(1000);
    EXPECT_EQ(callback.OnProgress(1000, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK) << "the cap itself is fine";
    EXPECT_EQ(callback.OnProgress(1001, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::TooLarge);

    callback.BeginAttempt(1000);
    EXPECT_EQ(callback.OnResponse(200, L"HTTP/1.1 200 OK\r\nContent-Length: 600\r\n\r\n", nullptr, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(600, 600, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(601, 600, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT);
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::TooLarge);

    callback.BeginAttempt(1000);
    EXPECT_EQ(callback.OnResponse(200, L"Content-Length: 5000\r\n", nullptr, nullptr), S_OK);
    EXPECT_EQ(callback.OnProgress(1001, 5000, BINDSTATUS_DOWNLOADINGDATA, nullptr), E_ABORT)
        << "a larger announcement does not lift the cap";
}

TEST(BindCallbackCutoff, SilenceEndsTheAttemptButEachByteRenewsTheWait)
{
    Callback callback;
    FakeBinding binding;
    callback.BeginAttempt(1u << 20);
    callback.OnStartBinding(0, &binding);
    const auto begin = std::chrono::steady_clock::now();
    std::thread watchdog([&] { callback.WatchForStall(std::chrono::milliseconds(400)); });
    // Bytes every 100 ms for a second: never 400 ms of silence.
    for (ULONG received = 1; received <= 10; ++received) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(callback.OnProgress(received, 0, BINDSTATUS_DOWNLOADINGDATA, nullptr), S_OK);
    }
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::None);
    watchdog.join();  // then silence
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1300));
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::Stalled);
    EXPECT_EQ(binding.aborts, 1);
    callback.OnStopBinding(E_ABORT, nullptr);

    // An attempt that ends in time stops its watch at once.
    callback.BeginAttempt(1u << 20);
    std::thread quiet([&] { callback.WatchForStall(std::chrono::seconds(30)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    callback.EndAttempt();
    quiet.join();
    EXPECT_EQ(callback.AttemptCutoff(), Cutoff::None);
}
