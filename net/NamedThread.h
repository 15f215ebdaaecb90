#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A thread created suspended and named for debuggers. It runs `body(argument)` once it is resumed.
// The record must stay where it is while the thread exists (the thread reads it).
class CNamedThread {
public:
    using Body = std::function<unsigned long(void*)>;

    CNamedThread(Body body, void* argument, const std::wstring& name);
    ~CNamedThread();  // joins
    CNamedThread(const CNamedThread&) = delete;
    CNamedThread& operator=(const CNamedThread&) = delete;

    // Lets a suspended thread run. False when there is no thread or resuming it failed; resuming a
    // thread that already runs or has finished does nothing and is not a failure.
    bool Resume();
    // Waits for the thread without a time limit, then closes it. Does nothing without a thread.
    void Join();
    // Waits at most `milliseconds`; true (and the thread closed, as by Join) when it has ended or
    // there is none.
    bool JoinFor(unsigned long milliseconds);
    // Lets a resumed thread go on alone: nobody waits for it any more, and its record (made with
    // new) is deleted by whichever ends last, the thread or this call. Whatever the body holds
    // goes with the record, on that thread. The process may end while it still runs.
    static void Abandon(std::unique_ptr<CNamedThread> thread);

    std::uint32_t Id() const { return m_id; }
    HANDLE Handle() const { return m_handle; }

private:
    static unsigned __stdcall ThreadEntry(void* self);

    enum State { kRunning, kFinished, kAbandoned };
    std::atomic<int> m_state{kRunning};
    std::uint32_t m_id = 0xFFFFFFFFu;  // all ones once joined
    HANDLE m_handle = nullptr;
    Body m_body;
    void* m_argument;
    std::wstring m_name;
};

// Announces a thread's name to debuggers: the thread description where the system has one, and the
// 0x406D1388 exception that older debuggers watch for.
void SetThreadNameForDebuggers(HANDLE thread, std::uint32_t threadId, const std::wstring& name);
