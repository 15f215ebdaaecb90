// Stands in for a setup package in KPCore_PackageProcessTest. It writes "seen.txt" into its current
// folder (its raw command line, a line break, the current folder), then acts on words of its
// command line:
//   exit=N      exits with N (default 0)
//   spawn=MS    first starts itself with "sleep=MS" and does not wait for it
//   sleep=MS    sleeps that long before exiting
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// The number after `word` on the command line, or `fallback` when the word is not there.
unsigned long Number(const wchar_t* line, const wchar_t* word, unsigned long fallback)
{
    const wchar_t* at = std::wcsstr(line, word);
    return at ? std::wcstoul(at + std::wcslen(word), nullptr, 10) : fallback;
}

void WriteSeen(const wchar_t* line)
{
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring text = std::wstring(line) + L"\n" + folder;
    HANDLE file = CreateFileW(L"seen.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const wchar_t* line = GetCommandLineW();
    const unsigned long spawn = Number(line, L"spawn=", 0);
    if (spawn) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring child = L"\"" + std::wstring(self) + L"\" sleep=" + std::to_wstring(spawn);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(self, &child[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 90;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        WriteSeen(line);
    }
    Sleep(Number(line, L"sleep=", 0));
    return static_cast<int>(Number(line, L"exit=", 0));
}
