#include "KPCore/inner/KPReg2.h"

#include <array>
#include <cwchar>

namespace {

// The most that ReadString takes: 256 characters, terminator included.
constexpr DWORD kReadStringBytes = 512;

REGSAM ViewFor(Wow64Probe isWow64) { return isWow64() ? KEY_WOW64_64KEY : KEY_WOW64_32KEY; }

}  // namespace

KPReg2::~KPReg2() { Close(); }

LONG KPReg2::Create(HKEY root, const std::wstring& subKey, REGSAM access)
{
    Close();
    subKey_ = subKey;
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG status =
        RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, &disposition);
    if (status == ERROR_SUCCESS) key_ = key;
    return status;
}

LONG KPReg2::Open(HKEY root, const std::wstring& subKey, REGSAM access)
{
    Close();
    subKey_ = subKey;
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExW(root, subKey.c_str(), 0, access, &key);
    if (status == ERROR_SUCCESS) key_ = key;
    return status;
}

LONG KPReg2::OpenForWrite(HKEY root, const std::wstring& subKey, Wow64Probe isWow64)
{
    return Open(root, subKey, KEY_SET_VALUE | ViewFor(isWow64));
}

LONG KPReg2::OpenForRead(HKEY root, const std::wstring& subKey, Wow64Probe isWow64)
{
    return Open(root, subKey, KEY_QUERY_VALUE | ViewFor(isWow64));
}

LONG KPReg2::WriteString(const wchar_t* name, const wchar_t* text)
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    if (text == nullptr) return ERROR_INVALID_PARAMETER;
    const std::size_t characters = std::wcslen(text) + 1;
    if (characters > MAXDWORD / sizeof(wchar_t)) return ERROR_INVALID_PARAMETER;
    const DWORD bytes = static_cast<DWORD>(characters * sizeof(wchar_t));
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG KPReg2::WriteDword(const wchar_t* name, DWORD value)
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG KPReg2::ReadDword(const wchar_t* name, DWORD& value) const
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD bytes = sizeof data;
    const LONG status = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes);
    if (status != ERROR_SUCCESS) return status;
    // Four bytes of some other type (a two-character string) are not a number.
    if (type != REG_DWORD || bytes != sizeof data) return ERROR_UNSUPPORTED_TYPE;
    value = data;
    return ERROR_SUCCESS;
}

LONG KPReg2::ReadString(const wchar_t* name, std::wstring& text) const
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    std::array<wchar_t, kReadStringBytes / sizeof(wchar_t)> buffer{};
    DWORD type = REG_NONE;
    DWORD bytes = kReadStringBytes;
    const LONG status = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
    // The stored data need not end with a null (a full buffer, or a value written carelessly by
    // someone else): take the characters actually returned, up to the first null among them.
    const std::size_t characters = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < characters && buffer[length] != L'\0') ++length;
    text.assign(buffer.data(), length);
    return ERROR_SUCCESS;
}

LONG KPReg2::ReadRaw(const wchar_t* name, void* buffer, DWORD& bytes, DWORD* type) const
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    return RegQueryValueExW(key_, name, nullptr, type, static_cast<BYTE*>(buffer), &bytes);
}

LONG KPReg2::DeleteValue(const wchar_t* name)
{
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    return RegDeleteValueW(key_, name);
}

void KPReg2::Close()
{
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}
