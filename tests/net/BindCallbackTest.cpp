#include <gtest/gtest.h>

#include <windows.h>

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
        callback.SetObserver([this](int code, double value, const wchar_t* text) { reports.push_back({code, value, text}); });
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

TEST_F(BindCallback, AnswersTheServiceAsAPlainCallback)
{
    void* object = &callback;
    EXPECT_EQ(callback.QueryInterface(IID_IUnknown, &object), E_NOTIMPL);
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
    while (!inside)
        std::this_thread::yield();
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
        callback.Detach();
        EXPECT_EQ(binding.aborts, 1) << "a silent server sends no progress, so the binding is aborted directly";
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
