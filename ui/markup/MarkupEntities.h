#pragma once
#include <cstddef>
#include <string>

namespace SkinUI {

// Appends text[begin, end) to `out` with the five named entities (&quot; &apos; &amp; &lt; &gt;)
// and numeric character references (&#decimal; &#xhex;) decoded. Anything that is not a
// well-formed reference is kept as written; a reference to an invalid code point becomes U+FFFD.
// Linear in end - begin, however many '&' the text holds.
void AppendDecoded(std::wstring& out, const std::wstring& text, std::size_t begin, std::size_t end);

}  // namespace SkinUI
