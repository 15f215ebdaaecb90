#include "KPCore/inner/ShellOpen.h"

#include <shellapi.h>

HINSTANCE OpenWithShell(const std::wstring& file)
{
    return ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOW);
}
