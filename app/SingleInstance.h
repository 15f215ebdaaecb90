#pragma once
#include <windows.h>

// One installer at a time in a session: the first to claim the session's mutex runs; any later
// one finds it taken. The mutex is held until the process ends.
class CSingleInstance {
public:
    CSingleInstance();
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // False when another installer of this session holds the mutex.
    bool IsFirst() const { return m_first; }

private:
    HANDLE m_mutex = nullptr;
    bool m_first = true;
};

// Brings the running installer's window (or the question box over it) to the front, restored
// from the taskbar when minimised. False when it has no window (a silent install, or one that is
// just starting).
bool BringRunningInstallerToFront();
