// Started by the OpenWithShell test: leaves a marker file beside itself, holding its current folder
// (UTF-16), and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    std::wstring marker(path, length);
    marker.replace(marker.size() - 4, 4, L".ran");
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    wchar_t current[MAX_PATH] = {};
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
    DWORD written = 0;
    if (currentLength > 0 && currentLength < MAX_PATH)
        WriteFile(file, current, currentLength * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
    return 0;
}
