#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/PeCheck.h"

namespace {

// Builds a small but well-formed PE image: DOS header, "PE\0\0", file header, optional header
// with 16 data directories, and `sections` sections of 0x200 raw bytes each.
struct PeImage {
    std::vector<std::uint8_t> bytes;
    std::size_t peOffset = 0x80;
    std::size_t optionalOffset = 0;
    std::size_t sectionTable = 0;
    bool plus = false;

    explicit PeImage(int sections = 2, bool pe32plus = false) : plus(pe32plus)
    {
        const std::size_t optionalSize = plus ? 240 : 224;
        optionalOffset = peOffset + 24;
        sectionTable = optionalOffset + optionalSize;
        const std::size_t headersEnd = 0x400;
        bytes.assign(headersEnd + 0x200 * sections, 0);
        bytes[0] = 'M';
        bytes[1] = 'Z';
        Put32(0x3C, static_cast<std::uint32_t>(peOffset));
        std::memcpy(&bytes[peOffset], "PE\0\0", 4);
        Put16(peOffset + 4, plus ? 0x8664 : 0x14C);
        Put16(peOffset + 6, static_cast<std::uint16_t>(sections));
        Put16(peOffset + 20, static_cast<std::uint16_t>(optionalSize));
        Put16(optionalOffset, plus ? 0x20B : 0x10B);
        Put32(optionalOffset + (plus ? 108 : 92), 16);
        for (int i = 0; i < sections; ++i) {
            const std::size_t header = sectionTable + 40 * i;
            Put32(header + 16, 0x200);
            Put32(header + 20, static_cast<std::uint32_t>(headersEnd + 0x200 * i));
        }
    }

    void Put16(std::size_t at, std::uint16_t v)
    {
        bytes[at] = v & 0xFF;
        bytes[at + 1] = v >> 8;
    }
    void Put32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) bytes[at + i] = (v >> (8 * i)) & 0xFF;
    }
    // Attaches a signature blob of `size` bytes at the end, recorded in the security directory.
    void AttachSignature(std::uint32_t size)
    {
        const std::size_t entry = optionalOffset + (plus ? 112 : 96) + 4 * 8;
        Put32(entry, static_cast<std::uint32_t>(bytes.size()));
        Put32(entry + 4, size);
        bytes.resize(bytes.size() + size, 0xAB);
    }

    PeCheckResult Check() const { return Check(bytes.size()); }
    // As if only the first `length` bytes had arrived.
    PeCheckResult Check(std::size_t length) const
    {
        const std::size_t head = length < kPeHeadBytes ? length : kPeHeadBytes;
        return CheckWindowsExecutable(bytes.data(), head, length);
    }
};

PeCheckResult CheckText(const std::string& text)
{
    return CheckWindowsExecutable(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), text.size());
}

}  // namespace

TEST(PeCheck, AcceptsWellFormedPe32AndPe32PlusImages)
{
    EXPECT_EQ(PeImage(1).Check(), PeCheckResult::Valid);
    EXPECT_EQ(PeImage(3, true).Check(), PeCheckResult::Valid);
}

TEST(PeCheck, AcceptsDataAppendedAfterTheLastSection)
{
    PeImage image;
    image.bytes.resize(image.bytes.size() + 100000, 0x5A);  // an installer's payload
    EXPECT_EQ(image.Check(), PeCheckResult::Valid);
}

TEST(PeCheck, RejectsWhatAServerSendsInsteadOfThePackage)
{
    EXPECT_EQ(CheckWindowsExecutable(nullptr, 0, 0), PeCheckResult::TooShort);
    EXPECT_EQ(CheckText("<html><body><h1>404 Not Found</h1></body></html>\n"), PeCheckResult::TooShort);
    const std::string page =
        "<!DOCTYPE html><html><head><title>Error response</title></head><body>"
        "<p>Error code: 404</p><p>Message: File not found.</p></body></html>\n";
    EXPECT_EQ(CheckText(page), PeCheckResult::NoMzHeader);
    // "MZ" alone is not enough.
    EXPECT_EQ(CheckText("MZ" + std::string(200, ' ')), PeCheckResult::HeaderOutsideFile);
}

TEST(PeCheck, RejectsABrokenPeHeader)
{
    PeImage noSignature;
    noSignature.bytes[noSignature.peOffset + 1] = 'X';
    EXPECT_EQ(noSignature.Check(), PeCheckResult::NoPeSignature);

    PeImage farLfanew;
    farLfanew.Put32(0x3C, 0xFFFFFFF0u);  // must not wrap around
    EXPECT_EQ(farLfanew.Check(), PeCheckResult::HeaderOutsideFile);

    PeImage badMagic;
    badMagic.Put16(badMagic.optionalOffset, 0x107);
    EXPECT_EQ(badMagic.Check(), PeCheckResult::BadOptionalHeader);

    PeImage noOptional;
    noOptional.Put16(noOptional.peOffset + 20, 0);
    EXPECT_EQ(noOptional.Check(), PeCheckResult::BadOptionalHeader);

    PeImage noSections;
    noSections.Put16(noSections.peOffset + 6, 0);
    EXPECT_EQ(noSections.Check(), PeCheckResult::NoSections);

    PeImage hugeTable;
    hugeTable.Put16(hugeTable.peOffset + 6, 0xFFFF);
    EXPECT_EQ(hugeTable.Check(), PeCheckResult::SectionTableOutsideFile);
}

TEST(PeCheck, RejectsAFileCutOffAnywhere)
{
    const PeImage image(2);
    const std::size_t full = image.bytes.size();
    EXPECT_EQ(image.Check(full - 1), PeCheckResult::SectionOutsideFile);
    EXPECT_EQ(image.Check(0x400 + 0x200), PeCheckResult::SectionOutsideFile);
    EXPECT_EQ(image.Check(0xA0), PeCheckResult::BadOptionalHeader);
    EXPECT_EQ(image.Check(0x90), PeCheckResult::HeaderOutsideFile);
    EXPECT_EQ(image.Check(10), PeCheckResult::TooShort);
    // Every prefix shorter than the whole is refused.
    for (std::size_t length = 0; length < full; length += 7)
        EXPECT_NE(image.Check(length), PeCheckResult::Valid) << "length " << length;
}

TEST(PeCheck, ASignedFileCutInItsSignatureIsRefused)
{
    PeImage image;
    image.AttachSignature(0x800);
    EXPECT_EQ(image.Check(), PeCheckResult::Valid);
    EXPECT_EQ(image.Check(image.bytes.size() - 1), PeCheckResult::SignatureOutsideFile);

    PeImage plus(1, true);
    plus.AttachSignature(0x10);
    EXPECT_EQ(plus.Check(), PeCheckResult::Valid);
    EXPECT_EQ(plus.Check(plus.bytes.size() - 4), PeCheckResult::SignatureOutsideFile);
}

TEST(PeCheck, HeadersBeyondTheBytesReadAreNotTakenOnTrust)
{
    PeImage image;
    EXPECT_EQ(CheckWindowsExecutable(image.bytes.data(), 0x40, image.bytes.size()), PeCheckResult::HeadersNotRead);
    EXPECT_EQ(CheckWindowsExecutable(image.bytes.data(), 0x100, image.bytes.size()), PeCheckResult::HeadersNotRead);
    EXPECT_EQ(CheckWindowsExecutable(image.bytes.data(), 0x400, image.bytes.size()), PeCheckResult::Valid);
}
