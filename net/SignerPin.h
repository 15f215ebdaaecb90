#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Which publisher may sign the setup package: the SHA-256 digests of the DER SubjectPublicKeyInfo
// of the signing certificates the program accepts. Pinning the key rather than trusting any chain
// means a certificate that some authority issued to somebody else is of no use to an attacker, and
// a renewed certificate for the same key keeps working.

using Sha256Digest = std::array<std::uint8_t, 32>;

// Parses "hex;hex;...": each entry 64 hexadecimal digits in either case, blanks around an entry
// ignored, empty entries (a trailing ";") skipped. Nullopt when any entry is not 64 hex digits:
// a mistyped pin must not quietly shrink the list.
std::optional<std::vector<Sha256Digest>> ParseSignerPins(std::string_view text);

bool IsPinnedSigner(const std::vector<Sha256Digest>& pins, const Sha256Digest& digest);

// Where the SubjectPublicKeyInfo element (tag and length included) lies inside a DER X.509
// certificate; nullopt when the bytes are not a certificate this reader understands.
struct DerSpan {
    std::size_t offset;
    std::size_t length;
};
std::optional<DerSpan> FindSubjectPublicKeyInfo(const std::uint8_t* certificate, std::size_t size);
