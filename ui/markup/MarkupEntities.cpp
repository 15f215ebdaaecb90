#include "ui/markup/MarkupEntities.h"

#include <algorithm>

#include "ui/text/TextCodecs.h"

namespace SkinUI {

void AppendDecoded(std::wstring& out, const std::wstring& text, size_t begin, size_t end)
{
    static const struct {
        const wchar_t* name;
        wchar_t ch;
    } kNamed[] = {{L"quot", L'"'}, {L"apos", L'\''}, {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}};
    const size_t kLongestReference = 12;  // "&#x0010FFFF;" and a little more

    size_t i = begin;
    while (i < end) {
        // Searched only up to `end`: a search to the end of the document for every attribute
        // would make reading quadratic.
        size_t amp = static_cast<size_t>(std::find(text.begin() + i, text.begin() + end, L'&') - text.begin());
        if (amp >= end) {
            out.append(text, i, end - i);
            return;
        }
        out.append(text, i, amp - i);
        // Look for the ';' only a short way ahead, so text full of '&' stays linear to read.
        size_t limit = end - amp > kLongestReference ? amp + kLongestReference + 1 : end;
        size_t semi = amp + 1;
        while (semi < limit && text[semi] != L';') ++semi;
        bool decoded = false;
        if (semi < limit) {
            const wchar_t* name = text.data() + amp + 1;
            const size_t length = semi - amp - 1;
            if (length >= 2 && name[0] == L'#') {
                bool hex = name[1] == L'x' || name[1] == L'X';
                size_t first = hex ? 2 : 1;
                unsigned long cp = 0;
                bool digits = first < length;
                for (size_t k = first; k < length && digits; ++k) {
                    wchar_t c = name[k];
                    int d = c >= L'0' && c <= L'9'          ? c - L'0'
                            : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                            : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                            : -1;
                    if (d < 0) digits = false;
                    else if (cp <= 0x10FFFF) cp = cp * (hex ? 16 : 10) + d;  // stops growing once out of range
                }
                if (digits) {
                    if (IsValidCodePoint(cp)) AppendCodePoint(out, static_cast<char32_t>(cp));
                    else out.push_back(kReplacementChar);
                    decoded = true;
                }
            } else {
                for (const auto& entity : kNamed) {
                    if (length == std::char_traits<wchar_t>::length(entity.name) &&
                        std::char_traits<wchar_t>::compare(name, entity.name, length) == 0) {
                        out.push_back(entity.ch);
                        decoded = true;
                        break;
                    }
                }
            }
        }
        if (decoded) {
            i = semi + 1;
        } else {
            out.push_back(L'&');
            i = amp + 1;
        }
    }
}

}  // namespace SkinUI
