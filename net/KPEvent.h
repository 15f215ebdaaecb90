#pragma once
#include <condition_variable>
#include <mutex>

// A wake-up signal for worker threads. It keeps no signalled state: a notification given while
// nobody waits is lost. To wait for a condition without losing a wake-up, change the condition
// through NotifyAllAfter and wait with WaitUntil; both test and change it under the event's mutex.
class CKPEvent {
public:
    CKPEvent() = default;
    CKPEvent(const CKPEvent&) = delete;
    CKPEvent& operator=(const CKPEvent&) = delete;
    virtual ~CKPEvent() = default;

    // Waits for one notification (or a spurious wake-up).
    void Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_condition.wait(lock);
    }

    // Waits until ready() holds; ready() is called with the event's mutex held.
    template <class Predicate>
    void WaitUntil(Predicate ready)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_condition.wait(lock, ready);
    }

    // Wakes every waiter; takes only the condition's own internal lock.
    void NotifyAll() { m_condition.notify_all(); }

    // Runs change() under the event's mutex, then wakes every waiter. A waiter in WaitUntil is
    // either before its test (and sees the change) or already waiting (and is woken).
    template <class Change>
    void NotifyAllAfter(Change change)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            change();
        }
        m_condition.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable_any m_condition;
};
