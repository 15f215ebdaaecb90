#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Where the skin (layout documents and images) comes from, and reading one of its members.
// Process-wide settings, made before the first window is created; CPaintManagerUI's static
// resource operations forward here.
namespace SkinUI {

// Resource types.
enum {
    UILIB_FILE = 1,         // a folder on disk
    UILIB_ZIP = 2,          // a ZIP file on disk
    UILIB_RESOURCE = 3,     // the executable's resources
    UILIB_ZIPRESOURCE = 4,  // a ZIP held in a resource (the installer's skin)
};

// The reserved archive name of an archive held in a memory buffer.
constexpr const wchar_t* kMemoryArchiveName = L"membuffer";

// Documents larger than this are refused ("File too large").
constexpr size_t kMaxDocumentBytes = 0x400000;
// Image files larger than this are refused: the biggest skin image (a 1400 x 840 page background)
// is far below it, and it bounds what a damaged archive can make us allocate.
constexpr size_t kMaxImageFileBytes = 0x2000000;  // 32 MiB

class CSkinResources {
public:
    static void SetResourceMode(int mode);
    static int GetResourceMode();  // UILIB_FILE until set

    // Stored with a trailing "\" (added unless the path already ends with "\" or "/");
    // an empty path stays empty.
    static void SetResourceFolder(const std::wstring& path);
    static std::wstring GetResourceFolder();

    static std::wstring GetResourceZipName();
    static bool IsResourceZipCached();
    static std::string GetResourceZipPassword();  // narrow, as the archive stores it

    // Opens the archive held in `buffer`, which is not copied and must stay valid for the rest of
    // the process (a module's resource does). The first buffer wins: once the archive name is
    // "membuffer" later calls change nothing. `password` is in the ANSI code page.
    // Returns whether an archive is open afterwards.
    static bool OpenResourceArchive(const void* buffer, size_t length, const std::string& password = std::string());
    // Uses the ZIP file `name` in the resource folder; when `cached`, opens it now and keeps it
    // open, otherwise every read opens and closes it.
    static bool OpenResourceArchiveFile(const std::wstring& name, bool cached);
    static bool IsResourceArchiveOpen();

    // Reads one member of the skin: in UILIB_FILE mode the file resource folder + `name`,
    // otherwise the member `name` of the archive ("\" or "/", any case). Members over `maxBytes`
    // are refused. On failure `errorText` says why, in the markup loader's words:
    //   archive: "Error opening zip file", "Could not find ziped file", "File too large",
    //            "Could not unzip file", "File is empty";
    //   folder:  "Error opening file", "File is empty", "File too large", "Could not read file".
    static bool ReadMember(const std::wstring& name, std::vector<unsigned char>& bytes, std::wstring& errorText,
                           size_t maxBytes = kMaxImageFileBytes);

    // The members of the open archive (for tools and tests); empty when none is open.
    static std::vector<std::wstring> ListArchiveMembers();

    // Closes the archive and restores every setting to its initial value (for tests and shutdown).
    static void Reset();
};

}  // namespace SkinUI
