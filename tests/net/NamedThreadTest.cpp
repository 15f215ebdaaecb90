#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "net/NamedThread.h"

namespace {

struct Announcement {
    int count = 0;
    ULONG_PTR type = 0;
    std::string name;
    ULONG_PTR threadId = 0;
    DWORD arguments = 0;
};
Announcement g_announcement;

// Sees the naming exception before the thread's own handler swallows it.
LONG CALLBACK WatchThreadNames(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == 0x406D1388) {
        ++g_announcement.count;
        g_announcement.arguments = record->NumberParameters;
        g_announcement.type = record->ExceptionInformation[0];
        g_announcement.name = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        g_announcement.threadId = record->ExceptionInformation[2];
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

unsigned long Body(void* argument)
{
    static_cast<std::atomic<int>*>(argument)->fetch_add(1);
    return 0;
}

}  // namespace

TEST(CNamedThread, RunsItsBodyOnlyOnceResumedAndJoinsOnce)
{
    std::atomic<int> runs{0};
    CNamedThread thread(&Body, &runs, L"ABDEF");
    ASSERT_NE(thread.Handle(), nullptr);
    EXPECT_NE(thread.Id(), 0xFFFFFFFFu);
    Sleep(100);
    EXPECT_EQ(runs.load(), 0) << "created suspended";

    EXPECT_TRUE(thread.Resume());
    EXPECT_TRUE(thread.Resume()) << "resuming a running or finished thread is not a failure";
    thread.Join();
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(thread.Id(), 0xFFFFFFFFu);
    EXPECT_EQ(thread.Handle(), nullptr);
    thread.Join();  // a no-op
    EXPECT_FALSE(thread.Resume()) << "no thread any more";
}

TEST(CNamedThread, AnnouncesItsNameToDebuggers)
{
    PVOID watcher = AddVectoredExceptionHandler(1, WatchThreadNames);
    ASSERT_NE(watcher, nullptr);
    g_announcement = Announcement();
    std::atomic<int> runs{0};
    CNamedThread thread(&Body, &runs, L"ABDEF");
    RemoveVectoredExceptionHandler(watcher);

    EXPECT_EQ(g_announcement.count, 1);
    EXPECT_EQ(g_announcement.arguments, 4u);
    EXPECT_EQ(g_announcement.type, 0x1000u);
    EXPECT_EQ(g_announcement.name, "ABDEF");
    EXPECT_EQ(g_announcement.threadId, thread.Id());

    using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription");
    if (proc) {
        PWSTR description = nullptr;
        ASSERT_TRUE(
            SUCCEEDED(reinterpret_cast<GetDescription>(reinterpret_cast<void*>(proc))(thread.Handle(), &description)));
        EXPECT_STREQ(description, L"ABDEF");
        LocalFree(description);
    }
    thread.Resume();
}

TEST(CNamedThread, ADestroyedRecordWaitsForItsThread)
{
    std::atomic<int> runs{0};
    {
        CNamedThread thread(
            [](void* argument) -> unsigned long {
                Sleep(200);
                return Body(argument);
            },
            &runs, L"slow");
        thread.Resume();
    }
    EXPECT_EQ(runs.load(), 1);
}

TEST(CNamedThread, AnAbandonedThreadEndsOnItsOwnAndTakesWhatItHoldsWithIt)
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // What the body holds signals `letGo` when it is destroyed, which happens with the record.
    std::shared_ptr<void> held(nullptr, [letGo](void*) { SetEvent(letGo); });
    auto thread = std::make_unique<CNamedThread>(
        [held, release](void*) -> unsigned long {
            WaitForSingleObject(release, 10000);
            return 0;
        },
        nullptr, L"abandoned");
    held.reset();
    ASSERT_TRUE(thread->Resume());
    EXPECT_FALSE(thread->JoinFor(100)) << "still waiting for its release";
    CNamedThread::Abandon(std::move(thread));
    EXPECT_EQ(WaitForSingleObject(letGo, 200), static_cast<DWORD>(WAIT_TIMEOUT)) << "the running body keeps its own";
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(letGo, 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << "gone once the thread ended";

    // A thread that has ended is joined at once.
    std::atomic<int> runs{0};
    CNamedThread quick(&Body, &runs, L"quick");
    quick.Resume();
    EXPECT_TRUE(quick.JoinFor(5000));
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(quick.Handle(), nullptr);
    CloseHandle(release);
    CloseHandle(letGo);
}
