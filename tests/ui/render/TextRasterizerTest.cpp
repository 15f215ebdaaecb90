#include <gtest/gtest.h>

#include <climits>

#include "ui/render/Fill.h"
#include "ui/render/win/FontCache.h"
#include "ui/render/win/TextRasterizer.h"

using namespace SkinUI;
using namespace SkinUI::Render;

namespace {

const Pixel kDark = 0xFF101010u;

// The smallest rectangle holding every pixel that differs from `background` (empty if none).
UIRect InkBox(const CBitmapBuffer& b, int w, int h, Pixel background)
{
    UIRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (b.At(x, y) != background) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box.IsEmpty() ? UIRect{} : box;
}

int InkCount(const CBitmapBuffer& b, int w, int h, Pixel background)
{
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) n += b.At(x, y) != background ? 1 : 0;
    return n;
}

TFontSpec Font(const wchar_t* face, int height, bool bold = false)
{
    TFontSpec request;
    request.face = face;
    request.height = height;
    request.bold = bold;
    return request;
}

class TextRasterizer : public ::testing::Test {
protected:
    CFontCache fonts;
    CTextRasterizer text;
};

}  // namespace

TEST_F(TextRasterizer, InkStaysInsideThePaddedBox)
{
    CBitmapBuffer b(200, 60, kDark);
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -16));
    style.color = 0x00FFFFFFu;  // alpha 0 in the markup still draws white
    style.format = kTextLeft | kTextVCenter | kTextSingleLine;
    style.padding = UIRect{5, 5, 5, 5};
    text.Draw(b.Canvas(), L"Hello, world. This line is far too long for its box", UIRect{20, 10, 180, 50}, style);
    UIRect ink = InkBox(b, 200, 60, kDark);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.left, 25);
    EXPECT_GE(ink.top, 15);
    EXPECT_LE(ink.right, 175);
    EXPECT_LE(ink.bottom, 45);
    EXPECT_GE(ink.right, 170);  // the long line reaches the right edge and is cut there
    // White over dark: grey levels only, and some pixels fully covered.
    bool opaqueWhite = false;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            Pixel p = b.At(x, y);
            ASSERT_EQ(AlphaOf(p), 255u);
            opaqueWhite = opaqueWhite || p == 0xFFFFFFFFu;
        }
    EXPECT_TRUE(opaqueWhite);
}

TEST_F(TextRasterizer, TextOnTransparentCanvasIsPremultipliedColourWithCoverageAlpha)
{
    CBitmapBuffer b(120, 50);
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -30, true));
    style.color = 0x00FF0000u;
    style.format = kTextCenter | kTextVCenter | kTextSingleLine;
    text.Draw(b.Canvas(), L"Red", UIRect{0, 0, 120, 50}, style);
    int full = 0, partial = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 120; ++x) {
            Pixel p = b.At(x, y);
            ASSERT_EQ(RedOf(p), AlphaOf(p));
            ASSERT_EQ(GreenOf(p) | BlueOf(p), 0u);
            full += AlphaOf(p) == 255 ? 1 : 0;
            partial += AlphaOf(p) > 0 && AlphaOf(p) < 255 ? 1 : 0;
        }
    EXPECT_GT(full, 50);
    EXPECT_GT(partial, 10);  // anti-aliased edges
}

TEST_F(TextRasterizer, AlignmentPlacesTheInk)
{
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -20));
    style.color = 0xFFFFFFFFu;
    style.format = kTextCenter | kTextVCenter | kTextSingleLine;
    CBitmapBuffer centred(300, 80, kDark);
    text.Draw(centred.Canvas(), L"Centred", UIRect{0, 0, 300, 80}, style);
    UIRect ink = InkBox(centred, 300, 80, kDark);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR(ink.left, 300 - ink.right, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 40.0, 6.0);

    style.format = kTextRight | kTextBottom | kTextSingleLine;
    CBitmapBuffer corner(300, 80, kDark);
    text.Draw(corner.Canvas(), L"Corner", UIRect{0, 0, 300, 80}, style);
    UIRect rightInk = InkBox(corner, 300, 80, kDark);
    EXPECT_GE(rightInk.right, 296);
    EXPECT_GE(rightInk.bottom, 70);
    EXPECT_GT(rightInk.left, 150);
}

TEST_F(TextRasterizer, WrappedTextIsCentredAsABlock)
{
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -14));
    style.color = 0xFFFFFFFFu;
    style.format = kTextLeft | kTextVCenter | kTextWordBreak;
    CBitmapBuffer b(120, 200, kDark);
    text.Draw(b.Canvas(), L"one two three four five six seven eight nine ten", UIRect{0, 0, 120, 200}, style);
    UIRect ink = InkBox(b, 120, 200, kDark);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GT(ink.Height(), 40);  // several lines
    EXPECT_NEAR(ink.top, 200 - ink.bottom, 12);
    EXPECT_LE(ink.right, 120);
}

TEST_F(TextRasterizer, ClipLimitsTheText)
{
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -24, true));
    style.color = 0xFFFFFFFFu;
    style.format = kTextLeft | kTextTop | kTextSingleLine;
    CBitmapBuffer b(200, 40, kDark);
    b.Canvas().PushClip(UIRect{30, 0, 60, 40});
    text.Draw(b.Canvas(), L"WWWWWWWWWW", UIRect{0, 0, 200, 40}, style);
    b.Canvas().PopClip();
    UIRect ink = InkBox(b, 200, 40, kDark);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.left, 30);
    EXPECT_LE(ink.right, 60);
}

TEST_F(TextRasterizer, AbsurdBoxesAndPaddingAreSafe)
{
    TTextStyle style;
    style.font = fonts.Get(Font(L"Tahoma", -16));
    style.color = 0xFFFFFFFFu;
    style.format = kTextCenter | kTextVCenter | kTextWordBreak;
    CBitmapBuffer b(60, 30, kDark);
    text.Draw(b.Canvas(), L"huge", UIRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, style);
    style.padding = UIRect{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    text.Draw(b.Canvas(), L"padded away", UIRect{0, 0, 60, 30}, style);
    style.padding = UIRect{-10, -10, -10, -10};  // negative padding grows the box, still clipped
    text.Draw(b.Canvas(), L"grown", UIRect{0, 0, 60, 30}, style);
    EXPECT_TRUE(InkBox(b, 60, 30, kDark).right <= 60);
    text.Draw(b.Canvas(), L"", UIRect{0, 0, 60, 30}, style);
}

TEST_F(TextRasterizer, MissingFaceFallsBackAndStillDraws)
{
    TFontSpec missing = Font(L"No Such Face KP", -18);
    EXPECT_FALSE(IsFontInstalled(missing.face));
    EXPECT_NE(fonts.FaceFor(missing), missing.face);
    TTextStyle style;
    style.font = fonts.Get(missing);
    style.color = 0xFFFFFFFFu;
    style.format = kTextLeft | kTextSingleLine;
    CBitmapBuffer b(200, 40, kDark);
    text.Draw(b.Canvas(), L"Fallback 回退", UIRect{0, 0, 200, 40}, style);
    EXPECT_GT(InkCount(b, 200, 40, kDark), 100);
}

TEST_F(TextRasterizer, ChineseTextDrawsRealGlyphs)
{
    TFontSpec yahei = Font(L"微软雅黑", -20);
    TTextStyle style;
    style.font = fonts.Get(yahei);
    style.color = 0xFFFFFFFFu;
    style.format = kTextLeft | kTextTop | kTextSingleLine;
    CBitmapBuffer first(40, 40, kDark), second(40, 40, kDark), line(200, 40, kDark);
    text.Draw(first.Canvas(), L"凯", UIRect{0, 0, 40, 40}, style);
    text.Draw(second.Canvas(), L"坊", UIRect{0, 0, 40, 40}, style);
    text.Draw(line.Canvas(), L"凯普视频工坊", UIRect{0, 0, 200, 40}, style);
    int firstInk = InkCount(first, 40, 40, kDark);
    EXPECT_GT(firstInk, 40);
    // Two different characters give different pictures (a missing glyph would be the same box).
    bool differ = false;
    for (int y = 0; y < 40 && !differ; ++y)
        for (int x = 0; x < 40 && !differ; ++x) differ = first.At(x, y) != second.At(x, y);
    EXPECT_TRUE(differ);
    UIRect ink = InkBox(line, 200, 40, kDark);
    EXPECT_GT(ink.Width(), 6 * 14);  // six square characters of about 20 pixels
}

TEST_F(TextRasterizer, MeasureGrowsWithTextAndWraps)
{
    HFONT font = fonts.Get(Font(L"Tahoma", -16));
    UISize shortText = text.Measure(L"abc", font, kTextSingleLine, 0);
    UISize longText = text.Measure(L"abcabcabc", font, kTextSingleLine, 0);
    EXPECT_GT(shortText.cx, 0);
    EXPECT_GT(longText.cx, 2 * shortText.cx);
    EXPECT_EQ(longText.cy, shortText.cy);
    UISize wrapped = text.Measure(L"word word word word word word", font, kTextWordBreak, 60);
    EXPECT_LE(wrapped.cx, 60);
    EXPECT_GE(wrapped.cy, 3 * shortText.cy);
    EXPECT_EQ(text.Measure(L"", font, 0, 0).cx, 0);
}

TEST(FontCache, SameSpecGivesTheSameFontAndScaleMakesANewOne)
{
    int probes = 0;
    CFontCache fonts([&probes](const std::wstring&) {
        ++probes;
        return true;
    });
    HFONT a = fonts.Get(Font(L"Arial", -12));
    EXPECT_EQ(fonts.Get(Font(L"Arial", -12)), a);
    EXPECT_NE(fonts.Get(Font(L"Arial", -18)), a);
    EXPECT_NE(fonts.Get(Font(L"Arial", -12, true)), a);
    EXPECT_EQ(fonts.Size(), 3);
    EXPECT_EQ(probes, 1);  // installation is asked once per face
    LOGFONTW lf{};
    GetObjectW(fonts.Get(Font(L"Arial", -18, true)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -18);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");
    EXPECT_EQ(lf.lfQuality, ANTIALIASED_QUALITY);
    EXPECT_FALSE(lf.lfUnderline);
    TFontSpec decorated = Font(L"Arial", -18, true);
    decorated.underline = decorated.italic = true;
    HFONT styled = fonts.Get(decorated);
    EXPECT_NE(styled, fonts.Get(Font(L"Arial", -18, true)));
    GetObjectW(styled, sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_TRUE(lf.lfItalic);
    fonts.Clear();
    EXPECT_EQ(fonts.Size(), 0);
    EXPECT_NE(fonts.Get(Font(L"", 0)), nullptr);  // the default GUI font's face and height
}
