#include "app/SingleInstance.h"

#include <string>

#include "KPCore/inner/ProductInfo.h"

namespace {

// "Local\": one per session, so installers of two users logged on at once do not meet.
std::wstring MutexName() { return std::wstring(L"Local\\KPSetup.Running.") + kProductGuid; }

// The main window's class (KPMainFrame).
constexpr wchar_t kMainWindowClass[] = L"kpmainframe";

}  // namespace

CSingleInstance::CSingleInstance()
{
    m_mutex = CreateMutexW(nullptr, FALSE, MutexName().c_str());
    // A mutex somebody else made with no access for us is taken all the same.
    const DWORD error = GetLastError();
    m_first = !(error == ERROR_ALREADY_EXISTS || (!m_mutex && error == ERROR_ACCESS_DENIED));
}

CSingleInstance::~CSingleInstance()
{
    if (m_mutex) CloseHandle(m_mutex);
}

bool BringRunningInstallerToFront()
{
    HWND main = FindWindowW(kMainWindowClass, kProductName);
    if (!main) return false;
    if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
    // An open question box is what has to be answered first.
    HWND front = GetLastActivePopup(main);
    SetForegroundWindow(front ? front : main);
    return true;
}
