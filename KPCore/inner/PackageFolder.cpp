#include "KPCore/inner/PackageFolder.h"

#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "KPCore/inner/SystemFolders.h"

const wchar_t kPackageFolderSecurity[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

namespace {

class SecurityDescriptor {
public:
    SecurityDescriptor()
    {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kPackageFolderSecurity, SDDL_REVISION_1,
                                                                  &m_descriptor, nullptr))
            m_error = GetLastError();
    }
    ~SecurityDescriptor()
    {
        if (m_descriptor) LocalFree(m_descriptor);
    }
    SecurityDescriptor(const SecurityDescriptor&) = delete;
    SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;

    DWORD Error() const { return m_error; }
    PSECURITY_DESCRIPTOR Get() const { return m_descriptor; }

    // Gives the folder behind `handle` this owner and DACL; the DACL is marked protected.
    DWORD ApplyTo(HANDLE handle) const
    {
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        PSID owner = nullptr;
        if (!GetSecurityDescriptorDacl(m_descriptor, &present, &dacl, &defaulted) ||
            !GetSecurityDescriptorOwner(m_descriptor, &owner, &defaulted))
            return GetLastError();
        return SetSecurityInfo(
            handle, SE_FILE_OBJECT,
            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner,
            nullptr, dacl, nullptr);
    }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    DWORD m_error = ERROR_SUCCESS;
};

bool IsReparsePoint(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// Opens the folder itself (a link is opened as the link, not followed), checks that it is a plain
// folder, and gives it the descriptor through that same handle, so the object checked is the one
// protected.
DWORD ProtectPlainFolder(const std::wstring& path, const SecurityDescriptor& security)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
    if (IsReparsePoint(attributes)) return kErrorReparsePointEncountered;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_DIRECTORY;

    HANDLE folder = CreateFileW(path.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return GetLastError();
    BY_HANDLE_FILE_INFORMATION info{};
    DWORD error = ERROR_SUCCESS;
    if (!GetFileInformationByHandle(folder, &info)) error = GetLastError();
    else if (IsReparsePoint(info.dwFileAttributes)) error = kErrorReparsePointEncountered;
    else if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) error = ERROR_DIRECTORY;
    else error = security.ApplyTo(folder);
    CloseHandle(folder);
    return error;
}

}  // namespace

std::wstring PackageRootFolder()
{
    const std::wstring programData = GetSpecialFolder(CSIDL_COMMON_APPDATA);
    return programData.empty() ? programData : programData + L"\\KPCapture";
}

std::wstring RandomFolderName()
{
    unsigned char bytes[16];
    if (!RtlGenRandom(bytes, sizeof bytes)) return std::wstring();
    static const wchar_t hex[] = L"0123456789abcdef";
    std::wstring name;
    for (unsigned char byte : bytes) {
        name += hex[byte >> 4];
        name += hex[byte & 0xF];
    }
    return name;
}

std::unique_ptr<CPackageFolder> CPackageFolder::Create(const std::wstring& root, DWORD* error, const NameSource& names)
{
    DWORD ignored = 0;
    DWORD& result = error ? *error : ignored;
    const SecurityDescriptor security;
    if ((result = security.Error()) != ERROR_SUCCESS) return nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, security.Get(), FALSE};

    if (root.empty()) {
        result = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    // The root may exist already: made by an earlier run, or planted by somebody else, who then
    // owns it; either way it gets the program's owner and DACL before anything goes inside.
    if (!CreateDirectoryW(root.c_str(), &attributes) && GetLastError() != ERROR_ALREADY_EXISTS) {
        result = GetLastError();
        return nullptr;
    }
    if ((result = ProtectPlainFolder(root, security)) != ERROR_SUCCESS) return nullptr;

    const std::wstring name = names ? names() : RandomFolderName();
    if (name.empty() || name.find_first_of(L"\\/:") != std::wstring::npos) {
        result = ERROR_INVALID_NAME;
        return nullptr;
    }
    const std::wstring path = root + L"\\" + name;
    if (!CreateDirectoryW(path.c_str(), &attributes)) {
        result = GetLastError();
        return nullptr;
    }
    std::unique_ptr<CPackageFolder> folder(new CPackageFolder(path));
    if ((result = ProtectPlainFolder(path, security)) != ERROR_SUCCESS)
        return nullptr;  // the destructor removes what was made
    return folder;
}

CPackageFolder::~CPackageFolder() { Remove(); }

std::wstring CPackageFolder::FilePath(const std::wstring& fileName) const { return m_path + L"\\" + fileName; }

namespace {

// Calls `act` with the path of each file in `folder`.
template <typename Act>
void ForEachFile(const std::wstring& folder, Act act)
{
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") act(folder + L"\\" + name, found.dwFileAttributes);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

}  // namespace

bool CPackageFolder::RemoveAtRestart()
{
    bool scheduled = true;
    ForEachFile(m_path, [&scheduled](const std::wstring& path, DWORD) {
        scheduled = MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && scheduled;
    });
    // The folder last: the system removes what it was given in order.
    return MoveFileExW(m_path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && scheduled;
}

bool CPackageFolder::Remove()
{
    ForEachFile(m_path, [](const std::wstring& path, DWORD attributes) {
        if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    });
    if (RemoveDirectoryW(m_path.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
