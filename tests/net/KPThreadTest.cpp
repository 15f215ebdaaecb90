#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/KPInstallThread.h"

namespace {

// Records what it processed; its constructor queues items and lingers before it is complete,
// which is exactly when a careless worker would call Process too early.
class RecordingThread final : public CKPThread<std::string> {
public:
    explicit RecordingThread(std::vector<std::string> early)
    {
        for (auto& s : early) Push(s);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_complete = true;
        Begin();
    }
    ~RecordingThread() override { Stop(); }

    void Process(std::string& item) override
    {
        if (!m_complete) m_processedTooEarly = true;
        std::lock_guard<std::mutex> lock(m_lock);
        m_seen.push_back(item);
    }

    std::vector<std::string> Seen()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_seen;
    }

    bool WaitForCount(size_t n)
    {
        for (int i = 0; i < 500; ++i) {
            if (Seen().size() >= n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::atomic<bool> m_processedTooEarly{false};

private:
    bool m_complete = false;
    std::mutex m_lock;
    std::vector<std::string> m_seen;
};

class SelfStoppingThread final : public CKPThread<int> {
public:
    SelfStoppingThread() { Begin(); }
    ~SelfStoppingThread() override { Stop(); }
    void Process(int&) override
    {
        Stop();  // from the worker itself: must neither throw nor deadlock
        m_processed = true;
    }
    std::atomic<bool> m_processed{false};
};

}  // namespace

TEST(KPThread, RapidConstructAndDestroyNeverHangs)
{
    // Many stops land before the worker reaches its first wait; each must still end it.
    for (int i = 0; i < 3000; ++i) {
        CKPInstallThread worker;
    }
    SUCCEED();
}

TEST(KPThread, DestroyingAnIdleWorkerEndsItAtOnce)
{
    auto worker = std::make_unique<CKPInstallThread>();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // now surely waiting
    const auto start = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(KPThread, ItemsQueuedDuringConstructionWaitUntilTheObjectIsComplete)
{
    for (int i = 0; i < 20; ++i) {
        RecordingThread worker({"a", "b"});
        ASSERT_TRUE(worker.WaitForCount(2));
        EXPECT_FALSE(worker.m_processedTooEarly.load());
    }
}

TEST(KPThread, ProcessesItemsInQueueOrder)
{
    RecordingThread worker({});
    for (int i = 0; i < 100; ++i) worker.Push(std::to_string(i));
    ASSERT_TRUE(worker.WaitForCount(100));
    const auto seen = worker.Seen();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(seen[i], std::to_string(i));
}

TEST(KPThread, TryPopCopiesTheFrontAndReportsEmpty)
{
    RecordingThread worker({});
    worker.Stop();  // keep the worker out of the queue
    worker.Push("x");
    worker.Push("y");
    std::string item;
    ASSERT_TRUE(worker.TryPop(item));
    EXPECT_EQ(item, "x");
    ASSERT_TRUE(worker.TryPop(item));
    EXPECT_EQ(item, "y");
    EXPECT_FALSE(worker.TryPop(item));
    EXPECT_EQ(item, "y");
}

TEST(KPThread, StopTwiceAndStopFromTheWorkerAreSafe)
{
    SelfStoppingThread worker;
    worker.Push(1);
    for (int i = 0; i < 500 && !worker.m_processed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(worker.m_processed.load());
    worker.Stop();
    worker.Stop();
}

TEST(KPThread, InstallThreadCopiesUninstallInfoWithItsCallable)
{
    // The install worker itself does nothing with items, but the queue must copy them whole.
    struct Probe final : CKPThread<UNINSTALL_INFO> {
        Probe() { Stop(); }
        void Process(UNINSTALL_INFO&) override {}
    } probe;
    int called = 0;
    probe.Push(UNINSTALL_INFO{L"name", L"path", [&called] { ++called; }});
    UNINSTALL_INFO out;
    ASSERT_TRUE(probe.TryPop(out));
    EXPECT_EQ(out.name, L"name");
    EXPECT_EQ(out.path, L"path");
    ASSERT_TRUE(out.action);
    out.action();
    EXPECT_EQ(called, 1);
}

TEST(KPEvent, UnrelatedWakeUpsDoNotEndAConditionWait)
{
    CKPEvent event;
    std::atomic<bool> flag{false};
    std::atomic<bool> returned{false};
    std::thread waiter([&] {
        event.WaitUntil([&] { return flag.load(); });
        returned = true;
    });
    for (int i = 0; i < 5; ++i) {
        event.NotifyAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(returned.load());
    event.NotifyAllAfter([&] { flag = true; });
    waiter.join();
    EXPECT_TRUE(returned.load());
}
