#include "net/SignerPin.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<Sha256Digest> ParseDigest(std::string_view hex)
{
    Sha256Digest digest{};
    if (hex.size() != digest.size() * 2) return std::nullopt;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        digest[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return digest;
}

// One DER element: where its contents start and how long they are.
struct Element {
    std::uint8_t tag;
    std::size_t start;   // of the tag
    std::size_t body;    // of the contents
    std::size_t length;  // of the contents
    std::size_t End() const { return body + length; }
};

// Reads the element at `at`, which must end by `limit`. Definite lengths only (DER has no other).
std::optional<Element> ReadElement(const std::uint8_t* bytes, std::size_t at, std::size_t limit)
{
    if (at >= limit || limit - at < 2) return std::nullopt;
    Element element{bytes[at], at, at + 2, bytes[at + 1]};
    if ((element.tag & 0x1F) == 0x1F)  // multi-byte tags do not occur in a certificate
        return std::nullopt;
    if (element.length & 0x80) {
        const std::size_t count = element.length & 0x7F;
        if (count == 0 || count > 4 || limit - element.body < count) return std::nullopt;
        element.length = 0;
        for (std::size_t i = 0; i < count; ++i) element.length = (element.length << 8) | bytes[element.body + i];
        element.body += count;
    }
    if (element.length > limit - element.body) return std::nullopt;
    return element;
}

constexpr std::uint8_t kSequence = 0x30;
constexpr std::uint8_t kVersionTag = 0xA0;  // [0] EXPLICIT, optional

}  // namespace

std::optional<std::vector<Sha256Digest>> ParseSignerPins(std::string_view text)
{
    std::vector<Sha256Digest> pins;
    while (true) {
        const std::size_t end = text.find(';');
        const std::string_view entry = Trimmed(text.substr(0, end));
        if (!entry.empty()) {
            const std::optional<Sha256Digest> digest = ParseDigest(entry);
            if (!digest) return std::nullopt;
            pins.push_back(*digest);
        }
        if (end == std::string_view::npos) return pins;
        text.remove_prefix(end + 1);
    }
}

bool IsPinnedSigner(const std::vector<Sha256Digest>& pins, const Sha256Digest& digest)
{
    for (const Sha256Digest& pin : pins)
        if (pin == digest) return true;
    return false;
}

// Certificate ::= SEQUENCE { tbsCertificate, signatureAlgorithm, signature }
// tbsCertificate ::= SEQUENCE { [0] version OPTIONAL, serialNumber, signature, issuer, validity,
//                               subject, subjectPublicKeyInfo, ... }
std::optional<DerSpan> FindSubjectPublicKeyInfo(const std::uint8_t* certificate, std::size_t size)
{
    if (!certificate) return std::nullopt;
    const std::optional<Element> outer = ReadElement(certificate, 0, size);
    if (!outer || outer->tag != kSequence) return std::nullopt;
    const std::optional<Element> tbs = ReadElement(certificate, outer->body, outer->End());
    if (!tbs || tbs->tag != kSequence) return std::nullopt;
    std::size_t at = tbs->body;
    std::optional<Element> field = ReadElement(certificate, at, tbs->End());
    if (field && field->tag == kVersionTag) {
        at = field->End();
        field = ReadElement(certificate, at, tbs->End());
    }
    // serialNumber, signature, issuer, validity, subject: skipped one by one.
    for (int skipped = 0; skipped < 5; ++skipped) {
        if (!field) return std::nullopt;
        at = field->End();
        field = ReadElement(certificate, at, tbs->End());
    }
    if (!field || field->tag != kSequence) return std::nullopt;
    return DerSpan{field->start, field->End() - field->start};
}
