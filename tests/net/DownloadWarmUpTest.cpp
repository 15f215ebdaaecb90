#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "KPCore/inner/DllHardening.h"
#include "net/DownloadWarmUp.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point begin) { return std::chrono::duration<double>(Clock::now() - begin).count(); }

// A warm-up that does not end until the test lets it.
struct Gate {
    HANDLE open = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> passed{false};
    ~Gate() { CloseHandle(open); }
};

SystemLookup RealLookup()
{
    return [](const wchar_t* dll, const char* function) { return SystemProcAddress(dll, function); };
}

// The real functions, except those of the DLLs named as missing.
SystemLookup LookupWithout(std::set<std::wstring> missing)
{
    return [missing](const wchar_t* dll, const char* function) -> FARPROC {
        return missing.count(dll) ? nullptr : SystemProcAddress(dll, function);
    };
}

// A warm-up whose work waits at the gate and then marks itself finished.
CDownloadWarmUp::Work GatedWork(std::shared_ptr<Gate> gate, std::shared_ptr<std::atomic<bool>> finished)
{
    return [gate, finished] {
        WaitForSingleObject(gate->open, INFINITE);
        *finished = true;
    };
}

// Opens the gate; the thread left behind runs on with its own state and ends normally.
void ExpectLeftWorkEnds(Gate& gate, const std::atomic<bool>& finished)
{
    SetEvent(gate.open);
    for (int i = 0; i < 500 && !finished; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(finished);
}

TEST(DownloadWarmUpTest, StartReturnsAtOnceAndTheWorkEndsOnItsThread)
{
    auto gate = std::make_shared<Gate>();
    std::atomic<DWORD> workThread{0};
    CDownloadWarmUp warmUp([gate, &workThread] {
        workThread = GetCurrentThreadId();
        WaitForSingleObject(gate->open, INFINITE);
        gate->passed = true;
    });
    EXPECT_FALSE(warmUp.WaitUntilDone(0)) << "nothing has started yet";

    const auto begin = Clock::now();
    ASSERT_TRUE(warmUp.Start());
    EXPECT_LT(SecondsSince(begin), 0.5) << "Start must not wait for the work";
    EXPECT_FALSE(warmUp.WaitUntilDone(100));
    EXPECT_FALSE(warmUp.Start()) << "a warm-up runs once";

    SetEvent(gate->open);
    ASSERT_TRUE(warmUp.WaitUntilDone(10000));
    EXPECT_TRUE(gate->passed);
    EXPECT_NE(workThread.load(), 0u);
    EXPECT_NE(workThread.load(), GetCurrentThreadId());
}

TEST(DownloadWarmUpTest, ClosingDuringASlowWarmUpWaitsOnlyBrieflyAndTheWorkStillEndsSafely)
{
    auto gate = std::make_shared<Gate>();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const auto begin = Clock::now();
    {
        CDownloadWarmUp warmUp(GatedWork(gate, finished));
        ASSERT_TRUE(warmUp.Start());
    }
    const double waited = SecondsSince(begin);
    EXPECT_GE(waited, CDownloadWarmUp::kExitWaitMs / 1000.0 - 0.1) << "unfinished work gets its while";
    EXPECT_LT(waited, CDownloadWarmUp::kExitWaitMs / 1000.0 + 1.0) << "then the owner goes";
    EXPECT_FALSE(*finished);
    ExpectLeftWorkEnds(*gate, *finished);
}

// The window shares one wait among its threads: what is left of it may be nothing at all.
TEST(DownloadWarmUpTest, ASlowWarmUpReleasedWithoutTimeIsLetGoAtOnceAndNotWaitedForAgain)
{
    auto gate = std::make_shared<Gate>();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const auto begin = Clock::now();
    {
        CDownloadWarmUp warmUp(GatedWork(gate, finished));
        ASSERT_TRUE(warmUp.Start());
        warmUp.Release(0);
        EXPECT_FALSE(warmUp.Start()) << "a warm-up that was let go does not run again";
    }
    EXPECT_LT(SecondsSince(begin), CDownloadWarmUp::kExitWaitMs / 1000.0 - 0.5) << "the destructor waits no more";
    EXPECT_FALSE(*finished);
    ExpectLeftWorkEnds(*gate, *finished);
}

TEST(DownloadWarmUpTest, AFinishedOrNeverStartedWarmUpIsLetGoAtOnce)
{
    auto begin = Clock::now();
    {
        CDownloadWarmUp never([] {});
    }
    EXPECT_LT(SecondsSince(begin), 0.5);

    begin = Clock::now();
    {
        CDownloadWarmUp quick([] {});
        ASSERT_TRUE(quick.Start());
        ASSERT_TRUE(quick.WaitUntilDone(10000));
    }
    EXPECT_LT(SecondsSince(begin), 1.0);
}

TEST(DownloadWarmUpTest, WorkThatThrowsOnlyEndsTheWarmUp)
{
    CDownloadWarmUp warmUp([] { throw std::runtime_error("no TLS provider"); });
    ASSERT_TRUE(warmUp.Start());
    EXPECT_TRUE(warmUp.WaitUntilDone(10000));
}

TEST(DownloadWarmUpTest, StepsWithoutTheirDllsFailQuietly)
{
    const SystemLookup nothing = [](const wchar_t*, const char*) -> FARPROC { return nullptr; };
    EXPECT_FALSE(LoadTransferLibraries(nothing));
    EXPECT_FALSE(PrepareTlsProvider(nothing));
    EXPECT_FALSE(PrepareCertificateChecks(nothing));

    EXPECT_FALSE(LoadTransferLibraries(LookupWithout({L"wininet.dll"})));
    EXPECT_FALSE(LoadTransferLibraries(LookupWithout({L"urlmon.dll"})));
    EXPECT_FALSE(PrepareTlsProvider(LookupWithout({L"secur32.dll"})));
    EXPECT_FALSE(PrepareCertificateChecks(LookupWithout({L"crypt32.dll"})));
    // One step's missing DLL leaves the others working.
    EXPECT_TRUE(PrepareTlsProvider(LookupWithout({L"crypt32.dll", L"urlmon.dll"})));
}

TEST(DownloadWarmUpTest, TheRealStepsSucceedWithTheSystemLibraries)
{
    EXPECT_TRUE(LoadTransferLibraries(RealLookup()));
    EXPECT_TRUE(PrepareTlsProvider(RealLookup()));
    EXPECT_TRUE(PrepareCertificateChecks(RealLookup())) << "the trusted root store holds certificates";

    CDownloadWarmUp warmUp;  // the real warm-up
    ASSERT_TRUE(warmUp.Start());
    EXPECT_TRUE(warmUp.WaitUntilDone(30000));
}

}  // namespace
