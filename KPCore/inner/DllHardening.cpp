#include "KPCore/inner/DllHardening.h"

#include <map>
#include <mutex>

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32; older SDK headers lack the name.
constexpr DWORD kSearchSystem32 = 0x00000800;

bool IsPlainFileName(const wchar_t* name)
{
    if (!name || !*name) return false;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c == L'\\' || *c == L'/' || *c == L':') return false;
    }
    return true;
}

}  // namespace

SetDefaultDllDirectoriesFunction FindSetDefaultDllDirectories()
{
    // kernel32 is always loaded and always comes from the system: asking it is safe.
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                  : nullptr;
}

bool HardenDllSearch(SetDefaultDllDirectoriesFunction setDefault)
{
    const bool restricted = setDefault && setDefault(kSearchSystem32);
    // Without the call above this at least drops the current folder from the search.
    ::SetDllDirectoryW(L"");
    return restricted;
}

std::wstring SystemLibraryPath(const wchar_t* fileName)
{
    if (!IsPlainFileName(fileName)) return std::wstring();
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    path += fileName;
    return path;
}

HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    static std::mutex lock;
    static std::map<std::wstring, HMODULE> loaded;

    const std::wstring path = SystemLibraryPath(fileName);
    if (path.empty()) return nullptr;
    std::lock_guard<std::mutex> guard(lock);
    auto found = loaded.find(path);
    if (found != loaded.end()) return found->second;
    // The full path and the flag both: the DLL itself and whatever it loads come from the system
    // folder alone. (The older LOAD_WITH_ALTERED_SEARCH_PATH ends its search with the current
    // folder and PATH.)
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, kSearchSystem32);
    if (module) loaded.emplace(path, module);
    return module;
}

FARPROC SystemProcAddress(const wchar_t* dllName, const char* functionName)
{
    HMODULE module = LoadSystemLibrary(dllName);
    return module ? ::GetProcAddress(module, functionName) : nullptr;
}
