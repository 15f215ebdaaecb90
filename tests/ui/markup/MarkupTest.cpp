#include "ui/markup/Markup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

// Shaped like the main window's layout document: declaration, CRLF line ends, Chinese text,
// fonts, defaults whose values carry &quot; and &apos;, comments and a nested control tree.
const char kSampleDocument[] =
    u8"<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
    u8"<Window size=\"700,420\" caption=\"0,0,0,50\" roundcorner=\"10,10\" bktrans=\"true\">\r\n"
    u8"  <!-- fonts -->\r\n"
    u8"  <Font id=\"0\" name=\"微软雅黑\" size=\"11\" bold=\"false\" />\r\n"
    u8"  <Font id=\"5\" name=\"Arial\" size=\"35\" bold=\"true\" />\r\n"
    u8"  <Default name=\"VScrollBar\" value=\"width=&quot;9&quot; showbutton1=&quot;false&quot; "
    u8"thumbnormalimage=&quot;file=&apos;image15\\table_slide_bar.png&apos; corner=&apos;0,5,0,5&apos;&quot;\" />\r\n"
    u8"  <VerticalLayout name=\"verRoot\" borderround=\"10,10\" bkimage=\"Install uninstall\\table_bg_install_01.png\">\r\n"
    u8"    <TabLayout name=\"tabInstall\">\r\n"
    u8"      <VerticalLayout name=\"verroot0\" virtualwnd=\"install0\">\r\n"
    u8"        <HorizontalLayout width=\"700\" height=\"54\">\r\n"
    u8"          <Control />\r\n"
    u8"          <Button name=\"minbtn\" width=\"20\" height=\"20\" tooltip=\"最小化\" />\r\n"
    u8"          <Button name=\"closebtn\" width=\"20\" height=\"20\" tooltip=\"关闭\" />\r\n"
    u8"        </HorizontalLayout>\r\n"
    u8"        <Button name=\"customBtn\" text=\"自定义安装 &gt;\" float=\"true\" pos=\"579,18,680,50\" />\r\n"
    u8"      </VerticalLayout>\r\n"
    u8"      <!-- the options page -->\r\n"
    u8"      <VerticalLayout name=\"verroot1\" virtualwnd=\"install1\" visible=\"false\">\r\n"
    u8"        <Label name=\"pathLab\" text=\"dddd\" textcolor=\"#00FFFFFF\" />\r\n"
    u8"      </VerticalLayout>\r\n"
    u8"    </TabLayout>\r\n"
    u8"  </VerticalLayout>\r\n"
    u8"</Window>\r\n";

bool LoadUtf8(CMarkup& markup, const std::string& text)
{
    return markup.LoadFromMem(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::vector<std::wstring> ChildNames(const CMarkupNode& node)
{
    std::vector<std::wstring> names;
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling())
        names.push_back(child.GetName());
    return names;
}

// Encodes the wide string as UTF-16 code units in the given byte order.
std::vector<unsigned char> Utf16(const std::u16string& text, bool bigEndian)
{
    std::vector<unsigned char> out;
    for (char16_t u : text) {
        unsigned char hi = static_cast<unsigned char>(u >> 8), lo = static_cast<unsigned char>(u & 0xFF);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

}  // namespace

TEST(MarkupTest, ReadsALayoutDocument)
{
    CMarkup markup;
    ASSERT_TRUE(LoadUtf8(markup, kSampleDocument)) << markup.GetLastErrorMessage().size();
    ASSERT_TRUE(markup.IsValid());
    EXPECT_EQ(markup.GetLastErrorMessage(), L"");

    CMarkupNode window = markup.GetRoot();
    ASSERT_TRUE(window.IsValid());
    EXPECT_EQ(window.GetName(), L"Window");
    EXPECT_FALSE(window.GetParent().IsValid());
    EXPECT_FALSE(window.HasSiblings());
    ASSERT_EQ(window.GetAttributeCount(), 4);
    EXPECT_EQ(window.GetAttributeName(0), L"size");
    EXPECT_EQ(window.GetAttributeValue(0), L"700,420");
    EXPECT_EQ(window.GetAttributeName(3), L"bktrans");
    EXPECT_EQ(window.GetAttributeValue(L"caption"), L"0,0,0,50");
    EXPECT_EQ(ChildNames(window), (std::vector<std::wstring>{L"Font", L"Font", L"Default", L"VerticalLayout"}));

    CMarkupNode font = window.GetChild(L"font");  // any case
    ASSERT_TRUE(font.IsValid());
    EXPECT_EQ(font.GetAttributeValue(L"name"), L"微软雅黑");
    EXPECT_TRUE(font.HasSiblings());
    EXPECT_FALSE(font.HasChildren());
    EXPECT_EQ(font.GetSibling().GetAttributeValue(L"name"), L"Arial");
    EXPECT_EQ(font.GetParent().GetName(), L"Window");

    // Entities are decoded, leaving the attribute list that Default entries carry.
    EXPECT_EQ(
        window.GetChild(L"Default").GetAttributeValue(L"value"),
        L"width=\"9\" showbutton1=\"false\" thumbnormalimage=\"file='image15\\table_slide_bar.png' corner='0,5,0,5'\"");

    CMarkupNode root = window.GetChild(L"VerticalLayout");
    EXPECT_EQ(root.GetAttributeValue(L"bkimage"), L"Install uninstall\\table_bg_install_01.png");
    CMarkupNode tab = root.GetChild();
    EXPECT_EQ(tab.GetAttributeValue(L"name"), L"tabInstall");
    CMarkupNode page0 = tab.GetChild();
    CMarkupNode page1 = page0.GetSibling();
    EXPECT_EQ(page1.GetAttributeValue(L"virtualwnd"), L"install1");
    EXPECT_FALSE(page1.HasSiblings());
    EXPECT_EQ(ChildNames(page0.GetChild()), (std::vector<std::wstring>{L"Control", L"Button", L"Button"}));
    EXPECT_EQ(page0.GetChild().GetSibling().GetAttributeValue(L"text"), L"自定义安装 >");
    EXPECT_EQ(page0.GetChild().GetChild().GetSibling().GetSibling().GetAttributeValue(L"tooltip"), L"关闭");
    EXPECT_FALSE(page0.GetChild().GetChild().HasAttributes());
    EXPECT_EQ(page1.GetChild(L"LABEL").GetAttributeValue(L"textcolor"), L"#00FFFFFF");
}

TEST(MarkupTest, AttributeLookupOfAbsentOrOutOfRangeGivesEmpty)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a x='1' y=\"\"/>"));
    CMarkupNode a = markup.GetRoot();
    std::wstring value = L"unchanged";
    EXPECT_FALSE(a.GetAttributeValue(L"z", value));
    EXPECT_EQ(value, L"unchanged");
    EXPECT_TRUE(a.GetAttributeValue(L"y", value));
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(a.HasAttribute(L"y"));
    EXPECT_FALSE(a.HasAttribute(L"X"));  // attribute names keep their case
    EXPECT_EQ(a.GetAttributeName(-1), L"");
    EXPECT_EQ(a.GetAttributeValue(2), L"");
    EXPECT_FALSE(a.GetChild().IsValid());
    EXPECT_FALSE(a.GetChild(L"b").IsValid());

    CMarkupNode invalid;
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_FALSE(invalid.GetChild().IsValid());
    EXPECT_FALSE(invalid.GetParent().IsValid());
    EXPECT_EQ(invalid.GetName(), L"");
    EXPECT_EQ(invalid.GetAttributeCount(), 0);
    EXPECT_EQ(invalid.GetAttributeValue(L"x"), L"");
}

TEST(MarkupTest, NodesOutliveTheirMarkup)
{
    CMarkupNode node;
    {
        CMarkup markup;
        ASSERT_TRUE(markup.Load(L"<a><b name='kept'/></a>"));
        node = markup.GetRoot().GetChild();
        markup.Release();
        EXPECT_FALSE(markup.IsValid());
        EXPECT_FALSE(markup.GetRoot().IsValid());
        ASSERT_TRUE(markup.Load(L"<c/>"));
    }
    EXPECT_EQ(node.GetAttributeValue(L"name"), L"kept");
    EXPECT_EQ(node.GetParent().GetName(), L"a");
}

TEST(MarkupTest, EveryParserErrorHasItsText)
{
    struct Case {
        const wchar_t* document;
        const wchar_t* message;
    } cases[] = {
        {L"", L"Expected start tag"},
        {L"  \r\n ", L"Expected start tag"},
        {L"hello <a/>", L"Expected start tag"},
        {L"<?xml version='1.0'?>", L"Expected start tag"},
        {L"<!-- never closed", L"Expected start tag"},
        {L"<![CDATA[x]]><a/>", L"Expected start tag"},
        {L"< a/>", L"Error parsing element name"},
        {L"<a><>text</a>", L"Error parsing element name"},
        {L"<a></>", L"Error parsing element name"},
        {L"<a", L"Expected start-tag closing"},
        {L"<a x='1'", L"Expected start-tag closing"},
        {L"<a /x>", L"Expected start-tag closing"},
        {L"<a></a", L"Expected start-tag closing"},
        {L"<a>", L"Expected end-tag start"},
        {L"<a><b>text", L"Expected end-tag start"},
        {L"<a><!-- unterminated</a>", L"Expected end-tag start"},
        {L"<a><![CDATA[ unterminated </a>", L"Expected end-tag start"},
        {L"<a></b>", L"Unmatched closing tag"},
        {L"<a><b></a></b>", L"Unmatched closing tag"},
        {L"<a =\"1\"/>", L"Error while parsing attributes"},
        {L"<a x/>", L"Error while parsing attributes"},
        {L"<a x 'y'/>", L"Error while parsing attributes"},
        {L"<a \"x\"/>", L"Error while parsing attributes"},
        {L"<a x=1/>", L"Expected attribute value"},
        {L"<a x=", L"Expected attribute value"},
        {L"<a x=\"1/>", L"Error while parsing attribute string"},
        {L"<a x='1\"/>", L"Error while parsing attribute string"},
    };
    for (const Case& c : cases) {
        CMarkup markup;
        EXPECT_FALSE(markup.Load(c.document)) << c.document;
        EXPECT_EQ(markup.GetLastErrorMessage(), c.message) << c.document;
        EXPECT_FALSE(markup.IsValid()) << c.document;
        EXPECT_FALSE(markup.GetRoot().IsValid()) << c.document;
    }
}

TEST(MarkupTest, ErrorLocationShowsWhereParsingStopped)
{
    CMarkup markup;
    ASSERT_FALSE(markup.Load(L"<Window>\r\n  <Button text='a'></Label>\r\n</Window>"));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Unmatched closing tag");
    EXPECT_EQ(markup.GetLastErrorLocation().substr(0, 1), L">");
    EXPECT_LE(markup.GetLastErrorLocation().size(), 50u);

    // A failed load discards the earlier tree; a good load clears the error.
    ASSERT_TRUE(markup.Load(L"<a/>"));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"");
    EXPECT_EQ(markup.GetLastErrorLocation(), L"");
    ASSERT_FALSE(markup.Load(L"<a>"));
    EXPECT_FALSE(markup.GetRoot().IsValid());

    markup.SetLastError(L"File too large", L"KPMainFrame.xml");
    EXPECT_EQ(markup.GetLastErrorMessage(), L"File too large");
    EXPECT_EQ(markup.GetLastErrorLocation(), L"KPMainFrame.xml");
}

TEST(MarkupTest, DecodesEntitiesInAttributesAndText)
{
    CMarkup markup;
    ASSERT_TRUE(
        markup.Load(L"<a v='&quot;&apos;&amp;&lt;&gt;|&#65;&#x42;&#X63;|&#x1F600;'>"
                    L" x &lt; y &amp;&amp; &#20320; </a>"));
    CMarkupNode a = markup.GetRoot();
    EXPECT_EQ(a.GetAttributeValue(L"v"), L"\"'&<>|ABc|\U0001F600");
    EXPECT_EQ(a.GetValue(), L"x < y && \u4F60");
}

TEST(MarkupTest, KeepsMalformedReferencesAsWritten)
{
    CMarkup markup;
    ASSERT_TRUE(markup.Load(L"<a v='AT&amp;T &nbsp; &; &#; &#x; &#12a; & &amp &quot' />"));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"v"), L"AT&T &nbsp; &; &#; &#x; &#12a; & &amp &quot");

    // Well-formed references to characters that cannot exist become U+FFFD.
    ASSERT_TRUE(markup.Load(L"<a v='&#0;|&#xD800;|&#x110000;|&#9999999;' />"));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"v"), L"\uFFFD|\uFFFD|\uFFFD|\uFFFD");
}

TEST(MarkupTest, SkipsCommentsDeclarationsAndInstructionsAnywhere)
{
    const wchar_t* document =
        L"<?xml version='1.0'?>\n"
        L"<!-- before -->\n"
        L"<!DOCTYPE Window [ <!ELEMENT Window ANY> <!ATTLIST Window a CDATA '>'> ]>\n"
        L"<Window><!-- <Fake/> -->\n"
        L"  <?pi data?>\n"
        L"  <Label><![CDATA[<not> & markup]]></Label>\n"
        L"  <!---->\n"
        L"  <Text>  line one\n  line two  </Text>\n"
        L"</Window>\n"
        L"<!-- after -->\n";
    CMarkup markup;
    ASSERT_TRUE(markup.Load(document)) << markup.GetLastErrorMessage();
    CMarkupNode window = markup.GetRoot();
    EXPECT_EQ(ChildNames(window), (std::vector<std::wstring>{L"Label", L"Text"}));
    EXPECT_EQ(window.GetChild(L"Label").GetValue(), L"<not> & markup");
    EXPECT_EQ(window.GetChild(L"Text").GetValue(), L"line one\n  line two");
    EXPECT_EQ(window.GetValue(), L"");  // only white space between the children
}

TEST(MarkupTest, AcceptsLooseButUnambiguousForms)
{
    CMarkup markup;
    // Spaces around "=", single quotes holding double ones, an end tag in another case,
    // trailing content after the root, and self-closing tags with or without a space.
    ASSERT_TRUE(
        markup.Load(L"<Window a = 'say \"hi\"' b='x'c=\"y\"><Button/><Label ></label></WINDOW> trailing <junk"));
    CMarkupNode window = markup.GetRoot();
    EXPECT_EQ(window.GetAttributeValue(L"a"), L"say \"hi\"");
    EXPECT_EQ(window.GetAttributeValue(L"c"), L"y");
    EXPECT_EQ(ChildNames(window), (std::vector<std::wstring>{L"Button", L"Label"}));
    EXPECT_EQ(window.GetValue(), L"");
}

TEST(MarkupTest, Utf8ByteOrderMarkIsSkipped)
{
    CMarkup plain, marked;
    ASSERT_TRUE(LoadUtf8(plain, kSampleDocument));
    ASSERT_TRUE(LoadUtf8(marked, std::string("\xEF\xBB\xBF") + kSampleDocument));
    EXPECT_EQ(marked.GetRoot().GetName(), L"Window");
    EXPECT_EQ(marked.GetRoot().GetChild(L"Font").GetAttributeValue(L"name"),
              plain.GetRoot().GetChild(L"Font").GetAttributeValue(L"name"));
}

TEST(MarkupTest, Utf16NeedsAByteOrderMark)
{
    const std::u16string text = u"<a t='凯普\U0001F600'/>";
    std::vector<unsigned char> le = {0xFF, 0xFE}, be = {0xFE, 0xFF};
    for (unsigned char b : Utf16(text, false)) le.push_back(b);
    for (unsigned char b : Utf16(text, true)) be.push_back(b);

    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(le.data(), le.size(), XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"t"), L"凯普\U0001F600");
    ASSERT_TRUE(markup.LoadFromMem(be.data(), be.size(), XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"t"), L"凯普\U0001F600");

    std::vector<unsigned char> bare = Utf16(text, false);
    EXPECT_FALSE(markup.LoadFromMem(bare.data(), bare.size(), XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.LoadFromMem(le.data(), 1, XMLFILE_ENCODING_UNICODE));
    // An odd trailing byte is dropped.
    le.push_back(0x41);
    EXPECT_TRUE(markup.LoadFromMem(le.data(), le.size(), XMLFILE_ENCODING_UNICODE));
}

TEST(MarkupTest, UnpairedUtf16SurrogatesDoNotBreakTheDocument)
{
    std::u16string text = u"<a t='x'/>";
    text[6] = 0xD800;  // a lone high surrogate in place of the x
    std::vector<unsigned char> le = {0xFF, 0xFE};
    for (unsigned char b : Utf16(text, false)) le.push_back(b);
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(le.data(), le.size(), XMLFILE_ENCODING_UNICODE));
    std::wstring value = markup.GetRoot().GetAttributeValue(L"t");
    ASSERT_EQ(value.size(), 1u);
    // Taken unchanged where wide strings are UTF-16; replaced where they hold code points.
    EXPECT_EQ(static_cast<unsigned>(value[0]), sizeof(wchar_t) == 2 ? 0xD800u : 0xFFFDu);
}

TEST(MarkupTest, AnsiUsesTheReadersDecoder)
{
    const std::string text = "<a t='caf\xE9'/>";
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(bytes, text.size(), XMLFILE_ENCODING_ASNI));
    EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"t"), L"caf\u00E9");  // Latin-1 by default

    CMarkup decoded([](const std::string&) { return std::wstring(L"<b/>"); });
    ASSERT_TRUE(decoded.LoadFromMem(bytes, text.size(), XMLFILE_ENCODING_ASNI));
    EXPECT_EQ(decoded.GetRoot().GetName(), L"b");
    ASSERT_TRUE(markup.LoadFromMem(bytes, text.size(), XMLFILE_ENCODING_ASNI));
    EXPECT_EQ(markup.GetRoot().GetName(), L"a");
}

TEST(MarkupTest, MalformedUtf8BecomesReplacementCharacters)
{
    struct Case {
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {"\x80", L"\uFFFD"},                                // stray continuation byte
        {"\xC3", L"\uFFFD"},                                // truncated two-byte sequence
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xE5\x87", L"\uFFFD"},                            // "凯" cut short
        {"\xE5\x87x", L"\uFFFDx"},                          // ... followed by ASCII: the x survives
        {"\xFF\xFE", L"\uFFFD\uFFFD"},
        {"\xE5\x87\xAF\xF0\x9F\x98\x80", L"凯\U0001F600"},  // valid three- and four-byte forms
    };
    for (const Case& c : cases) {
        CMarkup markup;
        ASSERT_TRUE(LoadUtf8(markup, "<a t='" + c.bytes + "'/>")) << c.bytes;
        EXPECT_EQ(markup.GetRoot().GetAttributeValue(L"t"), c.expected) << c.bytes;
    }
}

TEST(MarkupTest, EveryTruncationOfADocumentFailsCleanly)
{
    const std::string full = kSampleDocument;
    const size_t rootEnd = full.rfind("</Window>") + 9;
    for (size_t length = 0; length < full.size(); ++length) {
        CMarkup markup;
        bool loaded = markup.LoadFromMem(reinterpret_cast<const unsigned char*>(full.data()), length);
        if (length < rootEnd) {
            EXPECT_FALSE(loaded) << "cut at " << length;
            EXPECT_FALSE(markup.IsValid()) << "cut at " << length;
            EXPECT_FALSE(markup.GetLastErrorMessage().empty()) << "cut at " << length;
        } else {
            EXPECT_TRUE(loaded) << "cut at " << length;
        }
    }
}

TEST(MarkupTest, NestingIsBounded)
{
    auto nested = [](int depth) {
        std::wstring text;
        for (int i = 0; i < depth; ++i) text += L"<n>";
        for (int i = 0; i < depth; ++i) text += L"</n>";
        return text;
    };
    CMarkup markup;
    ASSERT_TRUE(markup.Load(nested(kMaxMarkupDepth)));
    int depth = 0;
    for (CMarkupNode n = markup.GetRoot(); n.IsValid(); n = n.GetChild()) ++depth;
    EXPECT_EQ(depth, kMaxMarkupDepth);

    EXPECT_FALSE(markup.Load(nested(kMaxMarkupDepth + 1)));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Elements nested too deeply");

    // Far deeper than any call stack would survive, and never closed.
    std::wstring deep;
    for (int i = 0; i < 200000; ++i) deep += L"<n>";
    EXPECT_FALSE(markup.Load(deep));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Elements nested too deeply");
}

TEST(MarkupTest, LargeInputsStayLinear)
{
    // Many siblings, a long attribute value full of ampersands without ';', and long text:
    // a reader that rescans the rest of the document per element or per '&' takes minutes here
    // (even with sanitizers, a linear one takes about a second).
    std::wstring text = L"<Window v='";
    text.append(2000000, L'&');
    text += L"'>";
    for (int i = 0; i < 300000; ++i) text += L"<Control name='c' />";
    text.append(1000000, L'&');
    text += L"</Window>";
    CMarkup markup;
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(markup.Load(text));
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(elapsed.count(), 30000);
    CMarkupNode window = markup.GetRoot();
    EXPECT_EQ(window.GetAttributeValue(L"v").size(), 2000000u);
    EXPECT_EQ(window.GetValue().size(), 1000000u);
    int count = 0;
    for (CMarkupNode c = window.GetChild(); c.IsValid(); c = c.GetSibling()) ++count;
    EXPECT_EQ(count, 300000);
}

TEST(MarkupTest, NullBufferLoadsNothing)
{
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromMem(nullptr, 10));
    EXPECT_EQ(markup.GetLastErrorMessage(), L"Expected start tag");
    EXPECT_FALSE(markup.LoadFromMem(nullptr, 10, XMLFILE_ENCODING_ASNI));
    EXPECT_FALSE(markup.LoadFromMem(nullptr, 10, XMLFILE_ENCODING_UNICODE));
}
