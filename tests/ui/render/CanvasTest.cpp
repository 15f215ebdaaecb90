#include <gtest/gtest.h>

#include "ui/render/Canvas.h"

using namespace SkinUI;
using namespace SkinUI::Render;

TEST(Canvas, InvalidBuffersGiveAnEmptyCanvasThatIgnoresDrawing)
{
    Pixel one = 7;
    CCanvas nullBuffer(nullptr, 4, 4, 4);
    CCanvas noWidth(&one, 0, 1, 1);
    CCanvas negative(&one, -1, 1, 1);
    CCanvas shortStride(&one, 2, 1, 1);
    for (CCanvas* c : {&nullBuffer, &noWidth, &negative, &shortStride}) {
        EXPECT_TRUE(c->Clip().IsEmpty());
        c->Clear(0xFFFFFFFFu);
        c->PushClip(UIRect{0, 0, 10, 10});
        EXPECT_TRUE(c->Clip().IsEmpty());
        c->PopClip();
    }
    EXPECT_EQ(one, 7u);
}

TEST(Canvas, ClipsNestAsIntersectionsAndPopRestores)
{
    CBitmapBuffer buffer(10, 8);
    CCanvas& canvas = buffer.Canvas();
    EXPECT_EQ(canvas.Clip(), (UIRect{0, 0, 10, 8}));
    canvas.PushClip(UIRect{-5, 2, 6, 100});
    EXPECT_EQ(canvas.Clip(), (UIRect{0, 2, 6, 8}));
    canvas.PushClip(UIRect{4, 0, 9, 5});
    EXPECT_EQ(canvas.Clip(), (UIRect{4, 2, 6, 5}));
    canvas.PushClip(UIRect{7, 7, 9, 9});  // disjoint: nothing may be drawn
    EXPECT_TRUE(canvas.Clip().IsEmpty());
    EXPECT_EQ(canvas.ClipDepth(), 3);
    canvas.PopClip();
    EXPECT_EQ(canvas.Clip(), (UIRect{4, 2, 6, 5}));
    canvas.PopClip();
    canvas.PopClip();
    EXPECT_EQ(canvas.Clip(), (UIRect{0, 0, 10, 8}));
    canvas.PopClip();  // one pop too many is harmless
    EXPECT_EQ(canvas.Clip(), (UIRect{0, 0, 10, 8}));
}

TEST(Canvas, ClearTouchesOnlyTheClipAndRespectsTheStride)
{
    std::vector<Pixel> memory(6 * 3, 0x11111111u);
    CCanvas canvas(memory.data(), 4, 3, 6);  // two padding pixels at the end of every row
    {
        CClipScope scope(canvas, UIRect{1, 1, 3, 3});
        canvas.Clear(0xFFFFFFFFu);
    }
    EXPECT_EQ(canvas.ClipDepth(), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 1 && x < 3 && y >= 1;
            EXPECT_EQ(memory[static_cast<std::size_t>(y * 6 + x)], inside ? 0xFFFFFFFFu : 0x11111111u) << x << "," << y;
        }
}
