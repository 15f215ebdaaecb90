#include "app/RunLog.h"

#include <windows.h>

#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/Wow64.h"
#include "app/LogLine.h"

namespace {

LogTime Now()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return LogTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::wstring TempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    return folder;
}

HANDLE CreateLogFile(const std::wstring& path, DWORD disposition)
{
    // Others may read it while the run goes on; nobody else writes into it.
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(full) : path;
}

// The version Windows really is: GetVersionEx answers what the manifest allows it to.
std::wstring WindowsVersion()
{
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll ? reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
              : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!getVersion || getVersion(&info) != 0) return L"unknown";
    return std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion) + L"." +
           std::to_wstring(info.dwBuildNumber);
}

}  // namespace

std::shared_ptr<CRunLog> CRunLog::Open(const std::wstring& path)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    std::wstring opened;
    if (!path.empty()) {
        file = CreateLogFile(path, CREATE_ALWAYS);
        opened = path;
    } else {
        const std::wstring folder = TempFolder();
        const std::wstring name = DefaultLogFileName(Now());
        const std::wstring stem = name.substr(0, name.size() - 4);  // without ".log"
        for (int n = 1; n <= 20 && file == INVALID_HANDLE_VALUE && !folder.empty(); ++n) {
            opened = folder + (n == 1 ? name : stem + L"_" + std::to_wstring(n) + L".log");
            file = CreateLogFile(opened, CREATE_NEW);
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) opened.clear();
    else opened = FullPath(opened);
    return std::shared_ptr<CRunLog>(new CRunLog(file, opened));
}

CRunLog::~CRunLog()
{
    if (IsOpen()) CloseHandle(m_file);
}

bool CRunLog::IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }

void CRunLog::Write(const std::wstring& text)
{
    if (!IsOpen()) return;
    const std::string line = FormatLogLine(Now(), text);
    std::lock_guard<std::mutex> lock(m_lock);
    DWORD written = 0;
    // A full disk or a vanished share loses this line; the run goes on as it would without a log.
    WriteFile(m_file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

LogSink SinkOf(const std::shared_ptr<CRunLog>& log)
{
    if (!log || !log->IsOpen()) return LogSink();
    return [log](const std::wstring& text) { log->Write(text); };
}

void WriteRunHeader(const LogSink& log, const std::wstring& commandLine)
{
    WriteLog(log, std::wstring(L"KPSetup ") + kProductVersion + L" (" + kProductName + L")");
    WriteLog(log, L"command line: " + commandLine);
#if defined(_WIN64)
    const wchar_t* program = L"64-bit";
#else
    const wchar_t* program = L"32-bit";
#endif
    const bool wow64 = IsWow64();
    WriteLog(log, L"Windows " + WindowsVersion() + L", " + (wow64 ? L"64" : (sizeof(void*) == 8 ? L"64" : L"32")) +
                      L"-bit; the installer is a " + program + L" program");
}
