#include "ui/resources/SkinResources.h"

#include <mutex>

#include "ui/resources/FileBytes.h"
#include "ui/resources/ZipArchive.h"

namespace SkinUI {
namespace {

struct Settings {
    int mode = UILIB_FILE;
    std::wstring folder;
    std::wstring zipName;
    bool cached = false;
    std::string password;
    CZipArchive archive;  // open only while cached
};

// Reads of a cached archive move minizip's current member, so they are serialised.
std::mutex& Lock()
{
    static std::mutex mutex;
    return mutex;
}

Settings& State()
{
    static Settings settings;
    return settings;
}

bool ReadFromFolder(const std::wstring& path, std::vector<unsigned char>& bytes, std::wstring& errorText,
                    size_t maxBytes)
{
    switch (ReadFileBytes(path, maxBytes, bytes)) {
    case FileReadResult::Ok: return true;
    case FileReadResult::OpenFailed: errorText = L"Error opening file"; break;
    case FileReadResult::Empty: errorText = L"File is empty"; break;
    case FileReadResult::TooLarge: errorText = L"File too large"; break;
    case FileReadResult::ReadFailed: errorText = L"Could not read file"; break;
    }
    return false;
}

bool ReadFromArchive(CZipArchive& archive, const std::wstring& name, std::vector<unsigned char>& bytes,
                     std::wstring& errorText, size_t maxBytes)
{
    switch (archive.Read(name, maxBytes, bytes)) {
    case CZipArchive::ReadResult::Ok: return true;
    case CZipArchive::ReadResult::NotFound: errorText = L"Could not find ziped file"; break;
    case CZipArchive::ReadResult::TooLarge: errorText = L"File too large"; break;
    case CZipArchive::ReadResult::Failed: errorText = L"Could not unzip file"; break;
    case CZipArchive::ReadResult::Empty: errorText = L"File is empty"; break;
    }
    return false;
}

}  // namespace

void CSkinResources::SetResourceMode(int mode)
{
    std::lock_guard<std::mutex> lock(Lock());
    State().mode = mode;
}

int CSkinResources::GetResourceMode()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().mode;
}

void CSkinResources::SetResourceFolder(const std::wstring& path)
{
    std::lock_guard<std::mutex> lock(Lock());
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    State().folder = folder;
}

std::wstring CSkinResources::GetResourceFolder()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().folder;
}

std::wstring CSkinResources::GetResourceZipName()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().zipName;
}

bool CSkinResources::IsResourceZipCached()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().cached;
}

std::string CSkinResources::GetResourceZipPassword()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().password;
}

bool CSkinResources::OpenResourceArchive(const void* buffer, size_t length, const std::string& password)
{
    std::lock_guard<std::mutex> lock(Lock());
    Settings& s = State();
    if (s.zipName == kMemoryArchiveName) {
        return s.archive.IsOpen();
    }
    s.archive.Close();
    s.zipName = kMemoryArchiveName;
    s.cached = true;
    s.password = password;
    return s.archive.OpenMemory(buffer, length, password);
}

bool CSkinResources::OpenResourceArchiveFile(const std::wstring& name, bool cached)
{
    std::lock_guard<std::mutex> lock(Lock());
    Settings& s = State();
    s.archive.Close();
    s.zipName = name;
    s.cached = cached;
    if (!cached) {
        return true;  // opened by each read
    }
    return s.archive.OpenFile(s.folder + name, s.password);
}

bool CSkinResources::IsResourceArchiveOpen()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().archive.IsOpen();
}

bool CSkinResources::ReadMember(const std::wstring& name, std::vector<unsigned char>& bytes, std::wstring& errorText,
                                size_t maxBytes)
{
    bytes.clear();
    errorText.clear();
    std::lock_guard<std::mutex> lock(Lock());
    Settings& s = State();
    if (s.mode == UILIB_FILE) {
        return ReadFromFolder(s.folder + name, bytes, errorText, maxBytes);
    }
    if (s.cached) {
        if (!s.archive.IsOpen()) {
            errorText = L"Error opening zip file";
            return false;
        }
        return ReadFromArchive(s.archive, name, bytes, errorText, maxBytes);
    }
    CZipArchive archive;
    if (s.zipName.empty() || s.zipName == kMemoryArchiveName || !archive.OpenFile(s.folder + s.zipName, s.password)) {
        errorText = L"Error opening zip file";
        return false;
    }
    return ReadFromArchive(archive, name, bytes, errorText, maxBytes);
}

std::vector<std::wstring> CSkinResources::ListArchiveMembers()
{
    std::lock_guard<std::mutex> lock(Lock());
    return State().archive.MemberNames();
}

void CSkinResources::Reset()
{
    std::lock_guard<std::mutex> lock(Lock());
    Settings& s = State();
    s.archive.Close();
    s.mode = UILIB_FILE;
    s.folder.clear();
    s.zipName.clear();
    s.cached = false;
    s.password.clear();
}

}  // namespace SkinUI
