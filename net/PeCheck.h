#pragma once
#include <cstddef>
#include <cstdint>

// Tells whether downloaded bytes are a complete Windows executable before anything runs them.
// A web server may answer a missing package with an error page, and a dropped connection may leave
// a short file, while the transfer itself still reports success; both are caught here.

enum class PeCheckResult {
    Valid,
    TooShort,           // shorter than the DOS header
    NoMzHeader,         // does not start with "MZ"
    HeaderOutsideFile,  // e_lfanew points past the end of the file
    NoPeSignature,      // no "PE\0\0" at e_lfanew
    BadOptionalHeader,  // not a PE32 / PE32+ optional header, or none
    NoSections,
    SectionTableOutsideFile,
    SectionOutsideFile,    // the file ends before a section's raw data does: truncated
    SignatureOutsideFile,  // the file ends before its attached signature does: truncated
    HeadersNotRead,        // the headers lie beyond the bytes that were read
};

// `head` holds the first `headSize` bytes of a file that is `fileSize` bytes long in total
// (headSize <= fileSize). The headers must lie inside `head`; section data need not.
PeCheckResult CheckWindowsExecutable(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize);

// How many leading bytes of a file to read before calling CheckWindowsExecutable: real executables
// keep their headers within the first few kilobytes.
constexpr std::size_t kPeHeadBytes = 64 * 1024;

const char* PeCheckResultName(PeCheckResult result);
