#pragma once
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "net/KPEvent.h"

// A queue with one worker thread that hands each item to Process.
//
// The worker starts in the constructor but processes nothing until the most derived class calls
// Begin() as the last statement of its constructor, so Process never runs on a half-built object.
// For the same reason a derived class calls Stop() first thing in its destructor: after that the
// worker has returned and Process cannot run while the derived part is torn down.
template <class T>
class CKPThread {
public:
    CKPThread() : m_worker(&CKPThread::RunWorker, this) {}
    CKPThread(const CKPThread&) = delete;
    CKPThread& operator=(const CKPThread&) = delete;

    virtual ~CKPThread() { Stop(); }

    // The thread body: sleeps on the event until stopped or, once begun, until items arrive.
    // The stop test and the wait happen under the event's mutex, so a Stop() that comes before
    // the first wait is never lost.
    virtual void Run()
    {
        for (;;) {
            m_event.WaitUntil([this] { return m_stop.load() || (m_begun.load() && HasItems()); });
            if (m_stop.load()) return;
            while (HasItems() && !m_stop.load()) {
                T item{};
                if (TryPop(item)) Process(item);
            }
        }
    }

    virtual void Process(T& item) = 0;

    // Adds an item for the worker.
    void Push(T item)
    {
        {
            std::lock_guard<std::mutex> lock(m_queueLock);
            m_queue.push_back(std::move(item));
        }
        m_event.NotifyAllAfter([] {});
    }

    // Copies the front item into `item` and removes it; false when the queue is empty.
    bool TryPop(T& item)
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        if (m_queue.empty()) return false;
        item = m_queue.front();
        m_queue.pop_front();
        return true;
    }

    // Asks the worker to end and waits for it. Safe to call more than once and at any moment,
    // including before the worker has reached its first wait.
    void Stop()
    {
        m_event.NotifyAllAfter([this] { m_stop.store(true); });
        if (m_worker.joinable() && m_worker.get_id() != std::this_thread::get_id()) m_worker.join();
    }

protected:
    // Lets the worker process items; called by the most derived constructor once it is complete.
    void Begin()
    {
        m_event.NotifyAllAfter([this] { m_begun.store(true); });
    }

private:
    // The object may still be under construction here, so Run is called without the virtual
    // table (which the derived constructors are still writing); Process is only reached after
    // Begin(), when construction is over.
    static void RunWorker(CKPThread* self) { self->CKPThread::Run(); }

    bool HasItems()
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        return !m_queue.empty();
    }

    std::deque<T> m_queue;
    std::mutex m_queueLock;
    CKPEvent m_event;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_begun{false};
    std::thread m_worker;  // last: started once every other member exists
};
