#include "net/NamedThread.h"

#include <process.h>

#include "net/CodePage.h"

namespace {

constexpr DWORD kThreadNameException = 0x406D1388;

// The record that debuggers read from the exception's arguments.
struct ThreadNameInfo {
    ULONG_PTR type;  // 0x1000
    const char* name;
    ULONG_PTR threadId;
    ULONG_PTR flags;
};

// MinGW's GCC has no __try/__except, so the exception is swallowed by a vectored handler instead.
// A debugger still sees it first.
LONG CALLBACK SwallowThreadNameException(EXCEPTION_POINTERS* info)
{
    if (info->ExceptionRecord->ExceptionCode == kThreadNameException) return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

// SetThreadDescription exists from Windows 10 1607 on, so it is looked up at run time.
void SetDescriptionIfAvailable(HANDLE thread, const std::wstring& name)
{
    using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC proc = kernel ? GetProcAddress(kernel, "SetThreadDescription") : nullptr;
    if (proc) reinterpret_cast<SetDescription>(reinterpret_cast<void*>(proc))(thread, name.c_str());
}

}  // namespace

void SetThreadNameForDebuggers(HANDLE thread, std::uint32_t threadId, const std::wstring& name)
{
    SetDescriptionIfAvailable(thread, name);

    const std::string narrow = WideToMultiByte(name, CP_ACP);
    ThreadNameInfo info{0x1000, narrow.c_str(), threadId, 0};
    PVOID handler = AddVectoredExceptionHandler(0, SwallowThreadNameException);  // after any other handler
    if (!handler) return;                                                        // nothing would catch it
    RaiseException(kThreadNameException, 0, sizeof(info) / sizeof(ULONG_PTR),
                   reinterpret_cast<const ULONG_PTR*>(&info));
    RemoveVectoredExceptionHandler(handler);
}

CNamedThread::CNamedThread(Body body, void* argument, const std::wstring& name)
    : m_body(std::move(body)), m_argument(argument), m_name(name)
{
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, &CNamedThread::ThreadEntry, this, CREATE_SUSPENDED, &id);
    if (handle == 0) return;
    m_handle = reinterpret_cast<HANDLE>(handle);
    m_id = id;
    SetThreadNameForDebuggers(m_handle, m_id, m_name);
}

CNamedThread::~CNamedThread() { Join(); }

unsigned __stdcall CNamedThread::ThreadEntry(void* self)
{
    auto* thread = static_cast<CNamedThread*>(self);
    thread->m_body(thread->m_argument);
    // Abandoned, nobody else will ever look at the record again.
    if (thread->m_state.exchange(kFinished) == kAbandoned) delete thread;
    _endthreadex(0);
    return 0;
}

bool CNamedThread::Resume() { return m_handle != nullptr && ResumeThread(m_handle) != static_cast<DWORD>(-1); }

void CNamedThread::Join()
{
    if (!m_handle) return;
    WaitForSingleObject(m_handle, INFINITE);
    CloseHandle(m_handle);
    m_handle = nullptr;
    m_id = 0xFFFFFFFFu;
}

bool CNamedThread::JoinFor(unsigned long milliseconds)
{
    if (!m_handle) return true;
    if (WaitForSingleObject(m_handle, milliseconds) != WAIT_OBJECT_0) return false;
    Join();
    return true;
}

void CNamedThread::Abandon(std::unique_ptr<CNamedThread> thread)
{
    if (!thread) return;
    // No thread (never made, or joined already): nothing can read the record any more.
    if (!thread->m_handle) return;
    CNamedThread* record = thread.release();
    // Closing the handle leaves the thread running; the record's destructor has nothing to join.
    CloseHandle(record->m_handle);
    record->m_handle = nullptr;
    if (record->m_state.exchange(kAbandoned) == kFinished) delete record;
}
