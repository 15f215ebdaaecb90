#include "net/PeCheck.h"

namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kLfanewOffset = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;  // after the 4-byte "PE\0\0"
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kSecurityDirectory = 4;

// Little-endian readers; callers have checked the bounds.
std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Read32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The attached Authenticode signature is addressed by file offset (unlike every other data
// directory) and sits at the very end of a signed file, so it reveals a cut-off overlay too.
PeCheckResult CheckSignatureDirectory(const std::uint8_t* optional, std::uint16_t optionalSize, bool plus,
                                      std::uint64_t fileSize)
{
    const std::size_t countOffset = plus ? 108 : 92;
    const std::size_t directoriesOffset = countOffset + 4;
    if (optionalSize < directoriesOffset) return PeCheckResult::Valid;
    const std::uint32_t count = Read32(optional + countOffset);
    const std::size_t entryOffset = directoriesOffset + kSecurityDirectory * 8;
    if (count <= kSecurityDirectory || optionalSize < entryOffset + 8) return PeCheckResult::Valid;
    const std::uint64_t offset = Read32(optional + entryOffset);
    const std::uint64_t size = Read32(optional + entryOffset + 4);
    if (size != 0 && offset + size > fileSize) return PeCheckResult::SignatureOutsideFile;
    return PeCheckResult::Valid;
}

}  // namespace

PeCheckResult CheckWindowsExecutable(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize)
{
    if (headSize > fileSize) headSize = static_cast<std::size_t>(fileSize);
    if (fileSize < kDosHeaderSize) return PeCheckResult::TooShort;
    if (headSize < kDosHeaderSize) return PeCheckResult::HeadersNotRead;
    if (head[0] != 'M' || head[1] != 'Z') return PeCheckResult::NoMzHeader;

    const std::uint64_t peOffset = Read32(head + kLfanewOffset);
    const std::uint64_t fileHeaderEnd = peOffset + 4 + kFileHeaderSize;
    if (fileHeaderEnd > fileSize) return PeCheckResult::HeaderOutsideFile;
    if (fileHeaderEnd > headSize) return PeCheckResult::HeadersNotRead;
    const std::uint8_t* pe = head + peOffset;
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return PeCheckResult::NoPeSignature;

    const std::uint8_t* fileHeader = pe + 4;
    const std::uint16_t sectionCount = Read16(fileHeader + 2);
    const std::uint16_t optionalSize = Read16(fileHeader + 16);
    const std::uint64_t optionalOffset = fileHeaderEnd;
    if (optionalSize < 2 || optionalOffset + optionalSize > fileSize) return PeCheckResult::BadOptionalHeader;
    if (optionalOffset + optionalSize > headSize) return PeCheckResult::HeadersNotRead;
    const std::uint8_t* optional = head + optionalOffset;
    const std::uint16_t magic = Read16(optional);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return PeCheckResult::BadOptionalHeader;
    if (sectionCount == 0) return PeCheckResult::NoSections;

    const std::uint64_t tableOffset = optionalOffset + optionalSize;
    const std::uint64_t tableEnd = tableOffset + std::uint64_t{sectionCount} * kSectionHeaderSize;
    if (tableEnd > fileSize) return PeCheckResult::SectionTableOutsideFile;
    if (tableEnd > headSize) return PeCheckResult::HeadersNotRead;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* section = head + tableOffset + std::size_t{i} * kSectionHeaderSize;
        const std::uint64_t rawSize = Read32(section + 16);
        const std::uint64_t rawOffset = Read32(section + 20);
        if (rawSize != 0 && rawOffset + rawSize > fileSize) return PeCheckResult::SectionOutsideFile;
    }
    return CheckSignatureDirectory(optional, optionalSize, magic == kPe32PlusMagic, fileSize);
}

const char* PeCheckResultName(PeCheckResult result)
{
    switch (result) {
    case PeCheckResult::Valid: return "Valid";
    case PeCheckResult::TooShort: return "TooShort";
    case PeCheckResult::NoMzHeader: return "NoMzHeader";
    case PeCheckResult::HeaderOutsideFile: return "HeaderOutsideFile";
    case PeCheckResult::NoPeSignature: return "NoPeSignature";
    case PeCheckResult::BadOptionalHeader: return "BadOptionalHeader";
    case PeCheckResult::NoSections: return "NoSections";
    case PeCheckResult::SectionTableOutsideFile: return "SectionTableOutsideFile";
    case PeCheckResult::SectionOutsideFile: return "SectionOutsideFile";
    case PeCheckResult::SignatureOutsideFile: return "SignatureOutsideFile";
    case PeCheckResult::HeadersNotRead: return "HeadersNotRead";
    }
    return "?";
}
