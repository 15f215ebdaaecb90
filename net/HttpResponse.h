#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// What the installer reads from an HTTP response's status line and headers.

// 200 to 299: the body is the resource asked for. Anything else (an error page, a redirection the
// transfer did not follow) is not, whatever the body holds.
constexpr bool IsSuccessStatus(unsigned long status) { return status >= 200 && status <= 299; }

// The Content-Length header of a raw header block ("Name: value" lines separated by CR LF, the
// status line possibly first), the name matched in any case. Nullopt when there is none, or when
// its value is not a plain decimal number or does not fit 64 bits.
std::optional<std::uint64_t> ContentLengthOf(std::wstring_view headers);
