#pragma once
#include <windows.h>

#include <string>

#include "KPCore/inner/Wow64.h"

// One open registry key, used as a local object: open or create, read or write, close.
// Every operation returns the Win32 status (ERROR_SUCCESS is 0); nothing is reported elsewhere.
// Operations on an object with no open key return ERROR_INVALID_HANDLE.
class KPReg2 {
public:
    KPReg2() = default;
    virtual ~KPReg2();
    KPReg2(const KPReg2&) = delete;
    KPReg2& operator=(const KPReg2&) = delete;

    // Creates the key, or opens it when it exists, with the given access. A key that was open
    // before is closed first. On failure no key is open.
    LONG Create(HKEY root, const std::wstring& subKey, REGSAM access);

    // Opens an existing key to set values: in the 64-bit view under WOW64, in the 32-bit view otherwise.
    LONG OpenForWrite(HKEY root, const std::wstring& subKey, Wow64Probe isWow64 = IsWow64);
    // Opens an existing key to query values, choosing the view as OpenForWrite does.
    LONG OpenForRead(HKEY root, const std::wstring& subKey, Wow64Probe isWow64 = IsWow64);

    // REG_SZ: the text up to its first null, with the terminator (2 bytes per character, plus 2).
    LONG WriteString(const wchar_t* name, const wchar_t* text);
    LONG WriteDword(const wchar_t* name, DWORD value);

    // The outputs are changed only on success. ReadString reads values of up to 512 bytes
    // (ERROR_MORE_DATA beyond); a value of the wrong type gives ERROR_UNSUPPORTED_TYPE.
    LONG ReadDword(const wchar_t* name, DWORD& value) const;
    LONG ReadString(const wchar_t* name, std::wstring& text) const;
    // The value as stored: bytes is the buffer size on entry and the data size on return.
    LONG ReadRaw(const wchar_t* name, void* buffer, DWORD& bytes, DWORD* type = nullptr) const;

    LONG DeleteValue(const wchar_t* name);

    void Close();

    HKEY Handle() const { return key_; }
    const std::wstring& SubKey() const { return subKey_; }

private:
    LONG Open(HKEY root, const std::wstring& subKey, REGSAM access);

    std::wstring subKey_;  // as last passed to Create or an Open operation; for reference only
    HKEY key_ = nullptr;
};
