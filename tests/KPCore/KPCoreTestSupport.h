#pragma once
// Small helpers for the Windows tests of KPCore: scratch folders and registry clean-up.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace kpcoretest {

// A fresh folder under the temporary folder, unique to this process and object, removed with
// everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"kpcore-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // No trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

inline bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool DirectoryExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline void WriteFile(const std::wstring& path, const char* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

// Removes a key (without sub-keys) from the given registry view; a missing key is fine.
inline void DeleteKey(HKEY root, const std::wstring& subKey, REGSAM view)
{
    RegDeleteKeyExW(root, subKey.c_str(), view, 0);
}

inline bool KeyExists(HKEY root, const std::wstring& subKey, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A value as the registry holds it: type, byte count and raw bytes.
struct StoredValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    std::wstring text;  // the data as UTF-16 units, including any terminator stored
};

inline StoredValue ReadStored(HKEY root, const std::wstring& subKey, REGSAM view, const wchar_t* name)
{
    StoredValue value;
    HKEY key = nullptr;
    value.status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key);
    if (value.status != ERROR_SUCCESS) return value;
    value.status = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &value.bytes);
    if (value.status == ERROR_SUCCESS) {
        std::wstring data((value.bytes + 1) / 2, L'\0');
        DWORD bytes = value.bytes;
        value.status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &bytes);
        value.text = data;
    }
    RegCloseKey(key);
    return value;
}

// The text with its terminator, as a REG_SZ holds it.
inline std::wstring WithTerminator(const std::wstring& text) { return text + std::wstring(1, L'\0'); }

}  // namespace kpcoretest
