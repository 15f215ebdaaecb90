#include "KPCore/inner/Wow64.h"

bool Wow64Answer(IsWow64ProcessFunction isWow64Process, HANDLE process)
{
    if (isWow64Process == nullptr) return false;
    BOOL wow64 = FALSE;
    if (!isWow64Process(process, &wow64)) return false;
    return wow64 != FALSE;
}

bool IsWow64()
{
    // Looked up at run time: the export is missing from the oldest 32-bit systems.
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    auto function = kernel == nullptr ? nullptr
                                      : reinterpret_cast<IsWow64ProcessFunction>(
                                            reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    return Wow64Answer(function, GetCurrentProcess());
}
