#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// A ZIP archive opened for reading, from a memory buffer or from a file, whose members are found
// by name without regard to case or to the folder separator.
//
// The archive is read through minizip with our own input callbacks; every read from the buffer is
// bounds-checked, so a damaged archive (lying sizes, truncated data, a broken directory) fails
// cleanly instead of reading outside the buffer.
namespace SkinUI {

class CZipArchive {
public:
    enum class ReadResult { Ok, NotFound, Empty, TooLarge, Failed };

    // At most this many directory entries are indexed; later ones cannot be found.
    static constexpr size_t kMaxMembers = 65536;

    CZipArchive() = default;
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    // `password` is for encrypted members. The minizip build we link has no decryption, so those
    // fail to read whatever the password; plain members are read the same with or without one.
    // The buffer is not copied: it must outlive the archive (or the next Open/Close).
    bool OpenMemory(const void* data, size_t size, const std::string& password = std::string());
    bool OpenFile(const std::wstring& path, const std::string& password = std::string());
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // Reads the member `name` ("\" or "/", any case) into `bytes`. A member whose uncompressed
    // size is over `maxBytes` is refused before anything is allocated. A member that does not
    // inflate to exactly its recorded size, or whose checksum does not match, is Failed.
    ReadResult Read(const std::wstring& name, size_t maxBytes, std::vector<unsigned char>& bytes);

    // The members' names as stored (UTF-8 decoded), in directory order.
    std::vector<std::wstring> MemberNames() const;

private:
    struct Member {
        std::wstring name;
        std::uint64_t directoryOffset;  // minizip's position of the entry in the central directory
        std::uint64_t entryNumber;
    };

    bool Attach(void* handle, const std::string& password);
    void BuildIndex();

    void* m_handle = nullptr;  // unzFile
    std::string m_password;
    std::vector<Member> m_members;
    std::unordered_map<std::wstring, size_t> m_index;  // folded name -> m_members position
};

}  // namespace SkinUI
