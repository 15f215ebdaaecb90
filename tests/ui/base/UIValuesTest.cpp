#include "ui/base/UIValues.h"
#include "ui/text/AsciiCase.h"

#include <gtest/gtest.h>

#include <climits>

using namespace SkinUI;

TEST(UIValuesTest, ParseIntReadsDecimalAndStopsAtGarbage)
{
    EXPECT_EQ(ParseInt(L"246"), 246);
    EXPECT_EQ(ParseInt(L"-12"), -12);
    EXPECT_EQ(ParseInt(L"+7"), 7);
    EXPECT_EQ(ParseInt(L"  42"), 42);
    EXPECT_EQ(ParseInt(L"12px"), 12);
    EXPECT_EQ(ParseInt(L"0x10"), 0);  // decimal only
    EXPECT_EQ(ParseInt(L""), 0);
    EXPECT_EQ(ParseInt(L"-"), 0);
    EXPECT_EQ(ParseInt(L"abc"), 0);
    EXPECT_EQ(ParseInt(L"- 5"), 0);
}

TEST(UIValuesTest, ParseIntClampsOnOverflow)
{
    EXPECT_EQ(ParseInt(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseInt(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParseInt(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseInt(L"-2147483649"), INT_MIN);
    EXPECT_EQ(ParseInt(L"99999999999999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseInt(L"-99999999999999999999999999999999"), INT_MIN);
}

TEST(UIValuesTest, ParseRectAndSizeTakeCommaSeparatedFields)
{
    EXPECT_EQ(ParseRect(L"246,264,454,308"), (UIRect{246, 264, 454, 308}));
    EXPECT_EQ(ParseRect(L" 1, 2 ,3 , -4"), (UIRect{1, 2, 3, -4}));
    EXPECT_EQ(ParseSize(L"700,420"), (UISize{700, 420}));

    // Partial and malformed input: what can be read, zero for the rest.
    EXPECT_EQ(ParseRect(L"1,2"), (UIRect{1, 2, 0, 0}));
    EXPECT_EQ(ParseRect(L""), (UIRect{}));
    EXPECT_EQ(ParseRect(L"1,,3,4"), (UIRect{1, 0, 3, 4}));
    EXPECT_EQ(ParseRect(L"1x,2y,3,4"), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseRect(L"1 2 3 4"), (UIRect{1, 0, 0, 0}));
    EXPECT_EQ(ParseRect(L"1,2,3,4,5,6"), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseRect(L",,,"), (UIRect{}));
    EXPECT_EQ(ParseSize(L"9"), (UISize{9, 0}));
    EXPECT_EQ(ParseSize(L"10,10,10"), (UISize{10, 10}));
    EXPECT_EQ(ParseSize(L",5"), (UISize{0, 5}));
}

TEST(UIValuesTest, ParseColorReadsOneHexNumber)
{
    EXPECT_EQ(ParseColor(L"#FF1C1C1E"), 0xFF1C1C1Eu);
    EXPECT_EQ(ParseColor(L"#00FFFFFF"), 0x00FFFFFFu);
    EXPECT_EQ(ParseColor(L"#33333300"), 0x33333300u);
    EXPECT_EQ(ParseColor(L"#ff389bfd"), 0xFF389BFDu);
    EXPECT_EQ(ParseColor(L"FFFF00FF"), 0xFFFF00FFu);    // the "#" is optional
    EXPECT_EQ(ParseColor(L"0xFFFF00FF"), 0xFFFF00FFu);  // so is a C-style prefix
    EXPECT_EQ(ParseColor(L"#FFF"), 0xFFFu);             // short forms are just smaller numbers
    EXPECT_EQ(ParseColor(L"#12G4"), 0x12u);
    EXPECT_EQ(ParseColor(L"#123456789"), 0xFFFFFFFFu);  // more than 32 bits clamps
    EXPECT_EQ(ParseColor(L""), 0u);
    EXPECT_EQ(ParseColor(L"#"), 0u);
    EXPECT_EQ(ParseColor(L"0x"), 0u);
    EXPECT_EQ(ParseColor(L"##FF"), 0u);
}

TEST(UIValuesTest, ParseBoolAcceptsOnlyTrue)
{
    EXPECT_TRUE(ParseBool(L"true"));
    EXPECT_TRUE(ParseBool(L"TRUE"));
    EXPECT_TRUE(ParseBool(L"True"));
    EXPECT_FALSE(ParseBool(L"1"));
    EXPECT_FALSE(ParseBool(L"yes"));
    EXPECT_FALSE(ParseBool(L" true"));
    EXPECT_FALSE(ParseBool(L"truee"));
    EXPECT_FALSE(ParseBool(L""));
}

TEST(UIValuesTest, ParseAttributeListReadsDefaultValues)
{
    // A scroll-bar default as the XML layer hands it over (entities already decoded).
    auto list = ParseAttributeList(
        L"button1normalimage=\"\" width=\"9\" showbutton1=\"false\"  "
        L"thumbnormalimage=\"file='image15\\table_slide_bar.png' corner='0,5,0,5'\"");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].first, L"button1normalimage");
    EXPECT_EQ(list[0].second, L"");
    EXPECT_EQ(list[1], (std::pair<std::wstring, std::wstring>{L"width", L"9"}));
    EXPECT_EQ(list[3].first, L"thumbnormalimage");
    EXPECT_EQ(list[3].second, L"file='image15\\table_slide_bar.png' corner='0,5,0,5'");

    list = ParseAttributeList(L" a = 'x \"y\"'\tb=\"1\"c=\"2\" ");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].second, L"x \"y\"");
    EXPECT_EQ(list[2].first, L"c");
    EXPECT_TRUE(ParseAttributeList(L"").empty());
    EXPECT_TRUE(ParseAttributeList(L"   ").empty());
}

TEST(UIValuesTest, ParseAttributeListStopsAtTheFirstMalformedPair)
{
    EXPECT_EQ(ParseAttributeList(L"a=\"1\" b c=\"3\"").size(), 1u);    // no "="
    EXPECT_EQ(ParseAttributeList(L"a=\"1\" b=3 c=\"3\"").size(), 1u);  // no quote
    EXPECT_EQ(ParseAttributeList(L"a=\"1\" b=\"3").size(), 1u);        // unclosed
    EXPECT_EQ(ParseAttributeList(L"=\"1\" a=\"2\"").size(), 0u);       // no name
    EXPECT_EQ(ParseAttributeList(L"a=").size(), 0u);
}

TEST(UIValuesTest, EqualsNoCaseFoldsAsciiOnly)
{
    EXPECT_TRUE(EqualsNoCase(L"VerticalLayout", L"verticallayout"));
    EXPECT_TRUE(EqualsNoCase(L"", L""));
    EXPECT_FALSE(EqualsNoCase(L"Button", L"Buttons"));
    EXPECT_FALSE(EqualsNoCase(L"a", L"b"));
    EXPECT_FALSE(EqualsNoCase(L"[", L"{"));  // 0x5B and 0x7B differ by the case bit but are not letters
    EXPECT_FALSE(EqualsNoCase(L"\u00C9", L"\u00E9"));
    EXPECT_TRUE(EqualsNoCase(L"微软雅黑", L"微软雅黑"));
}

TEST(UIValuesTest, FractionsIgnoreTheLocaleAndStopAtGarbage)
{
    size_t pos = 0;
    EXPECT_DOUBLE_EQ(ParseFraction(L" \t-0.25x", pos), -0.25);
    EXPECT_EQ(pos, 7u);  // at the "x"
    pos = 0;
    EXPECT_DOUBLE_EQ(ParseFraction(L"0,5", pos), 0.0);  // a decimal comma is a field separator
    EXPECT_EQ(pos, 1u);
    pos = 0;
    EXPECT_DOUBLE_EQ(ParseFraction(L".5", pos), 0.5);
    pos = 0;
    EXPECT_DOUBLE_EQ(ParseFraction(L"+", pos), 0.0);

    const UIFloatPercent all = ParseFloatPercent(L"0.1, 0.5junk,1,1.0,9");
    EXPECT_DOUBLE_EQ(all.left, 0.1);
    EXPECT_DOUBLE_EQ(all.top, 0.5);
    EXPECT_DOUBLE_EQ(all.right, 1.0);
    EXPECT_DOUBLE_EQ(all.bottom, 1.0);
    const UIFloatPercent some = ParseFloatPercent(L"0.5,0.5");
    EXPECT_DOUBLE_EQ(some.top, 0.5);
    EXPECT_DOUBLE_EQ(some.right, 0.0);
    EXPECT_DOUBLE_EQ(some.bottom, 0.0);
}
