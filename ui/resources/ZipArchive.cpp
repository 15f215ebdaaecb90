#include "ui/resources/ZipArchive.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "ui/resources/FileBytes.h"
#include "ui/resources/ResourceName.h"
#include "ui/text/TextCodecs.h"

namespace SkinUI {
namespace {

// ---- minizip input over a memory buffer ----

struct MemorySource {
    const unsigned char* data;
    std::uint64_t size;
};

struct MemoryStream {
    MemorySource source;
    std::uint64_t position = 0;
};

voidpf ZCALLBACK MemoryOpen(voidpf, const void* source, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) {
        return nullptr;
    }
    return new MemoryStream{*static_cast<const MemorySource*>(source)};
}

uLong ZCALLBACK MemoryRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto* s = static_cast<MemoryStream*>(stream);
    const std::uint64_t available = s->position < s->source.size ? s->source.size - s->position : 0;
    const uLong count = static_cast<uLong>(std::min<std::uint64_t>(size, available));
    if (count > 0) {
        std::memcpy(buffer, s->source.data + s->position, count);
        s->position += count;
    }
    return count;
}

uLong ZCALLBACK NoWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemoryTell(voidpf, voidpf stream) { return static_cast<MemoryStream*>(stream)->position; }

long ZCALLBACK MemorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* s = static_cast<MemoryStream*>(stream);
    std::uint64_t base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->source.size; break;
    default: return -1;
    }
    // Positions past the end are refused, so a later read never starts outside the buffer.
    if (offset > s->source.size || base > s->source.size - offset) {
        return -1;
    }
    s->position = base + offset;
    return 0;
}

int ZCALLBACK MemoryClose(voidpf, voidpf stream)
{
    delete static_cast<MemoryStream*>(stream);
    return 0;
}

int ZCALLBACK NoError(voidpf, voidpf) { return 0; }

// ---- minizip input over a file named by a wide path ----

voidpf ZCALLBACK FileOpen(voidpf, const void* path, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) {
        return nullptr;
    }
    return OpenFileForReading(*static_cast<const std::wstring*>(path));
}

uLong ZCALLBACK FileRead(voidpf, voidpf stream, void* buffer, uLong size)
{
    return static_cast<uLong>(std::fread(buffer, 1, size, static_cast<std::FILE*>(stream)));
}

ZPOS64_T ZCALLBACK FileTell(voidpf, voidpf stream)
{
    const long long position = TellFile(static_cast<std::FILE*>(stream));
    return position < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(position);
}

long ZCALLBACK FileSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    int whence = SEEK_SET;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: whence = SEEK_SET; break;
    case ZLIB_FILEFUNC_SEEK_CUR: whence = SEEK_CUR; break;
    case ZLIB_FILEFUNC_SEEK_END: whence = SEEK_END; break;
    default: return -1;
    }
    if (offset > static_cast<ZPOS64_T>(std::numeric_limits<long long>::max())) {
        return -1;
    }
    return SeekFile(static_cast<std::FILE*>(stream), static_cast<long long>(offset), whence) == 0 ? 0 : -1;
}

int ZCALLBACK FileClose(voidpf, voidpf stream) { return std::fclose(static_cast<std::FILE*>(stream)); }

int ZCALLBACK FileError(voidpf, voidpf stream) { return std::ferror(static_cast<std::FILE*>(stream)); }

unzFile Handle(void* handle) { return static_cast<unzFile>(handle); }

// Names are UTF-8 when the archive says so (general-purpose flag bit 11), and in practice also
// when it does not; ASCII names read the same either way.
std::wstring MemberName(const char* bytes, size_t length) { return DecodeUtf8(std::string(bytes, length)); }

}  // namespace

CZipArchive::~CZipArchive() { Close(); }

bool CZipArchive::OpenMemory(const void* data, size_t size, const std::string& password)
{
    Close();
    if (!data || size == 0) {
        return false;
    }
    MemorySource source{static_cast<const unsigned char*>(data), size};
    zlib_filefunc64_def io{MemoryOpen, MemoryRead, NoWrite, MemoryTell, MemorySeek, MemoryClose, NoError, nullptr};
    // minizip hands `source` to MemoryOpen, which copies it, so a local is fine here.
    return Attach(unzOpen2_64(&source, &io), password);
}

bool CZipArchive::OpenFile(const std::wstring& path, const std::string& password)
{
    Close();
    zlib_filefunc64_def io{FileOpen, FileRead, NoWrite, FileTell, FileSeek, FileClose, FileError, nullptr};
    return Attach(unzOpen2_64(&path, &io), password);
}

bool CZipArchive::Attach(void* handle, const std::string& password)
{
    m_handle = handle;
    if (!m_handle) {
        return false;
    }
    m_password = password;
    BuildIndex();
    return true;
}

void CZipArchive::Close()
{
    if (m_handle) {
        unzClose(Handle(m_handle));
        m_handle = nullptr;
    }
    m_password.clear();
    m_members.clear();
    m_index.clear();
}

void CZipArchive::BuildIndex()
{
    // A directory entry's name is at most 65535 bytes (a 16-bit field).
    std::vector<char> nameBuffer(65536);
    unzFile zip = Handle(m_handle);
    for (int result = unzGoToFirstFile(zip); result == UNZ_OK && m_members.size() < kMaxMembers;
         result = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nameBuffer.data(), static_cast<uLong>(nameBuffer.size()), nullptr, 0,
                                    nullptr, 0) != UNZ_OK) {
            break;
        }
        unz64_file_pos position{};
        if (unzGetFilePos64(zip, &position) != UNZ_OK) {
            break;
        }
        const size_t length = std::min<size_t>(info.size_filename, nameBuffer.size());
        Member member{MemberName(nameBuffer.data(), length), position.pos_in_zip_directory, position.num_of_file};
        // The first of several members whose names fold alike wins.
        m_index.emplace(FoldResourceName(member.name), m_members.size());
        m_members.push_back(std::move(member));
    }
}

CZipArchive::ReadResult CZipArchive::Read(const std::wstring& name, size_t maxBytes, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    if (!m_handle) {
        return ReadResult::Failed;
    }
    const auto found = m_index.find(FoldResourceName(name));
    if (found == m_index.end()) {
        return ReadResult::NotFound;
    }
    const Member& member = m_members[found->second];
    unzFile zip = Handle(m_handle);
    unz64_file_pos position{member.directoryOffset, member.entryNumber};
    unz_file_info64 info{};
    if (unzGoToFilePos64(zip, &position) != UNZ_OK ||
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return ReadResult::Failed;
    }
    if (info.uncompressed_size == 0) {
        return ReadResult::Empty;
    }
    if (info.uncompressed_size > maxBytes) {
        return ReadResult::TooLarge;
    }
    // minizip applies a password to whatever member it opens, so it is passed for encrypted
    // members only (general-purpose flag bit 0); plain members read the same with or without one.
    const bool encrypted = (info.flag & 1) != 0;
    const char* password = encrypted && !m_password.empty() ? m_password.c_str() : nullptr;
    if (unzOpenCurrentFilePassword(zip, password) != UNZ_OK) {
        return ReadResult::Failed;
    }
    bytes.resize(static_cast<size_t>(info.uncompressed_size));
    size_t total = 0;
    bool failed = false;
    while (total < bytes.size()) {
        const size_t wanted = std::min<size_t>(bytes.size() - total, 1u << 30);
        const int count = unzReadCurrentFile(zip, bytes.data() + total, static_cast<unsigned>(wanted));
        if (count < 0) {
            failed = true;
            break;
        }
        if (count == 0) {
            break;  // the data ended before the recorded size
        }
        total += static_cast<size_t>(count);
    }
    // Closing checks the CRC once the recorded size has been read in full.
    const int closed = unzCloseCurrentFile(zip);
    if (failed || total != bytes.size() || closed != UNZ_OK) {
        bytes.clear();
        return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

std::vector<std::wstring> CZipArchive::MemberNames() const
{
    std::vector<std::wstring> names;
    names.reserve(m_members.size());
    for (const Member& member : m_members) {
        names.push_back(member.name);
    }
    return names;
}

}  // namespace SkinUI
