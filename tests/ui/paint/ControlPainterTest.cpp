// The control painters on a canvas, with made-up images and a recording text renderer: which
// image each state draws, fallbacks for images that cannot be loaded, the progress fill, text
// requests, clipping to containers, and the computed shadow.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/builder/DialogBuilder.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/paint/ControlPainter.h"
#include "ui/paint/SoftShadow.h"
#include "ui/paint/TextRenderer.h"

using namespace SkinUI;
using Render::Pixel;

namespace {

// A solid opaque image of one colour, named by the test.
std::shared_ptr<TImageInfo> SolidImage(int w, int h, Pixel argb)
{
    auto image = std::make_shared<TImageInfo>();
    image->width = w;
    image->height = h;
    image->pixels.resize(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < image->pixels.size(); i += 4) {
        image->pixels[i] = argb & 0xFF;
        image->pixels[i + 1] = (argb >> 8) & 0xFF;
        image->pixels[i + 2] = (argb >> 16) & 0xFF;
        image->pixels[i + 3] = argb >> 24;
    }
    return image;
}

// Left half red, right half blue: tells a cut image from a stretched one.
std::shared_ptr<TImageInfo> HalfImage(int w, int h)
{
    auto image = SolidImage(w, h, 0xFF0000FF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x) {
            std::uint8_t* p = &image->pixels[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = 0;
            p[1] = 0;
            p[2] = 0xFF;
            p[3] = 0xFF;
        }
    return image;
}

struct TextCall {
    UIRect rc;
    std::wstring text;
    TFontInfo font;
    UIColor color;
    unsigned style;
};

class CRecordingText : public Paint::ITextRenderer {
public:
    void DrawString(Render::CCanvas&, const UIRect& rc, const std::wstring& text, const TFontInfo& font, UIColor color,
                    unsigned style) override
    {
        calls.push_back(TextCall{rc, text, font, color, style});
    }
    std::vector<TextCall> calls;
};

class CHost : public IUIHost {
public:
    void Invalidate(const UIRect&) override {}
    bool SetTimer(unsigned, unsigned) override { return true; }
    void KillTimer(unsigned) override {}
    void SetCapture() override {}
    void ReleaseCapture() override {}
    void SetCursor(UICursor) override {}
    void ShowToolTip(const std::wstring&, const UIRect&) override {}
    bool IsWindowEnabled() const override { return enabled; }
    std::uint32_t GetTickCount() const override { return 0; }
    bool enabled = true;
};

const wchar_t* kDocument =
    LR"(<Window size="200,100">
  <Font id="0" name="Face" size="12" bold="true" />
  <VerticalLayout name="root" bkcolor="#FF102030">
    <HorizontalLayout name="row" height="40">
      <Button name="btn" width="40" height="40" text="OK" font="0" textpadding="2,3,4,5" textcolor="#00FFFFFF"
              hottextcolor="#00FF0000" normalimage="normal.png" hotimage="hot.png" pushedimage="missing.png" />
      <Option name="opt" width="20" height="20" selected="true" foreimage="off.png" selectedforeimage="on.png" />
      <Progress name="bar" width="100" height="10" value="50" foreimage="half.png" />
      <Control name="hidden" width="10" height="10" bkcolor="#FFFFFFFF" visible="false" />
    </HorizontalLayout>
    <HorizontalLayout name="clip" width="100" height="20" >
      <Control name="wide" float="true" pos="50,0,150,20" bkcolor="#FF00FF00" />
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

class ControlPainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        images[L"normal.png"] = SolidImage(4, 4, 0xFF00FF00);
        images[L"hot.png"] = SolidImage(4, 4, 0xFFFF00FF);
        images[L"on.png"] = SolidImage(4, 4, 0xFF0000FF);
        images[L"off.png"] = SolidImage(4, 4, 0xFFFFFF00);
        images[L"half.png"] = HalfImage(100, 10);
        pm.SetHost(&host);
        CDialogBuilder builder;
        CControlUI* root = builder.Create(kDocument, std::wstring(), nullptr, &pm);
        ASSERT_NE(root, nullptr) << std::string(builder.GetLastErrorMessage().begin(),
                                                builder.GetLastErrorMessage().end());
        pm.AttachDialog(root);
        pm.UpdateLayout(UIRect{0, 0, 200, 100});
    }

    void Paint()
    {
        buffer.Canvas().Clear(0);
        Paint::TPaintContext context{buffer.Canvas(), &text, [this](const TDrawInfo& info) {
                                         const auto it = images.find(info.file);
                                         return it == images.end() ? nullptr
                                                                   : std::shared_ptr<const TImageInfo>(it->second);
                                     }};
        Paint::PaintControl(*pm.GetRoot(), context);
    }

    Pixel At(const wchar_t* name, int dx = 1, int dy = 1)
    {
        const UIRect& pos = pm.FindControl(name)->GetPos();
        return buffer.At(pos.left + dx, pos.top + dy);
    }

    std::map<std::wstring, std::shared_ptr<TImageInfo>> images;
    CHost host;
    CPaintManagerUI pm;
    CRecordingText text;
    Render::CBitmapBuffer buffer{200, 100};
};

TEST_F(ControlPainterTest, ButtonDrawsTheImageOfItsStateAndFallsBackToNormal)
{
    Paint();
    EXPECT_EQ(At(L"btn"), 0xFF00FF00u);  // normal
    const UIRect pos = pm.FindControl(L"btn")->GetPos();
    pm.OnMouseMove(UIPoint{pos.left + 5, pos.top + 5});
    Paint();
    EXPECT_EQ(At(L"btn"), 0xFFFF00FFu);  // hot
    // Pushed names an image that cannot be loaded: the normal image instead, not nothing.
    pm.OnLButtonDown(UIPoint{pos.left + 5, pos.top + 5});
    Paint();
    EXPECT_EQ(At(L"btn"), 0xFF00FF00u);
    pm.OnLButtonUp(UIPoint{pos.left + 5, pos.top + 5});
    // While the window is disabled (a modal box over it) the hot look goes.
    host.enabled = false;
    Paint();
    EXPECT_EQ(At(L"btn"), 0xFF00FF00u);
}

TEST_F(ControlPainterTest, ButtonTextUsesItsFontPaddingAndTheColourOfItsState)
{
    Paint();
    ASSERT_EQ(text.calls.size(), 1u);
    const TextCall& call = text.calls[0];
    const UIRect pos = pm.FindControl(L"btn")->GetPos();
    EXPECT_EQ(call.text, L"OK");
    EXPECT_EQ(call.rc, (UIRect{pos.left + 2, pos.top + 3, pos.right - 4, pos.bottom - 5}));
    EXPECT_EQ(call.font.face, L"Face");
    EXPECT_TRUE(call.font.bold);
    EXPECT_EQ(call.font.height, -12);
    EXPECT_EQ(call.color, 0xFFFFFFFFu);  // "#00FFFFFF" is drawn opaque white
    pm.OnMouseMove(UIPoint{pos.left + 5, pos.top + 5});
    text.calls.clear();
    Paint();
    ASSERT_EQ(text.calls.size(), 1u);
    EXPECT_EQ(text.calls[0].color, 0xFFFF0000u);
}

TEST_F(ControlPainterTest, SelectedOptionDrawsItsSelectedForeImage)
{
    Paint();
    EXPECT_EQ(At(L"opt"), 0xFF0000FFu);
    static_cast<COptionUI*>(pm.FindControl(L"opt"))->Selected(false);
    Paint();
    EXPECT_EQ(At(L"opt"), 0xFFFFFF00u);
    // A selected image that cannot be loaded falls back to the plain fore image.
    images.erase(L"on.png");
    static_cast<COptionUI*>(pm.FindControl(L"opt"))->Selected(true);
    Paint();
    EXPECT_EQ(At(L"opt"), 0xFFFFFF00u);
}

TEST_F(ControlPainterTest, ProgressFillCoversTheValueStretchedOrCut)
{
    Paint();
    // Value 50 of 100 over 100 pixels: the fill covers 50, stretched, so both halves show.
    EXPECT_EQ(At(L"bar", 10, 5), 0xFFFF0000u);
    EXPECT_EQ(At(L"bar", 40, 5), 0xFF0000FFu);
    EXPECT_EQ(At(L"bar", 60, 5), 0xFF102030u);  // not covered: the root's background
    // Cut instead of stretched: the covered part shows the image's left half only.
    static_cast<CProgressUI*>(pm.FindControl(L"bar"))->SetStretchForeImage(false);
    Paint();
    EXPECT_EQ(At(L"bar", 40, 5), 0xFFFF0000u);
}

TEST_F(ControlPainterTest, HiddenControlsDrawNothingAndChildrenStayInsideTheirContainer)
{
    Paint();
    int white = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) white += buffer.At(x, y) == 0xFFFFFFFFu;
    EXPECT_EQ(white, 0);  // the hidden control's white background is nowhere
    const UIRect clip = pm.FindControl(L"clip")->GetPos();
    ASSERT_EQ(clip.Width(), 100);
    EXPECT_EQ(buffer.At(clip.left + 70, clip.top + 5), 0xFF00FF00u);   // the child inside its container
    EXPECT_EQ(buffer.At(clip.left + 120, clip.top + 5), 0xFF102030u);  // and not beyond it
}

TEST(SoftShadowTest, FadesFromTheDarknessAtTheEdgeToNothingAtItsSize)
{
    Paint::TSoftShadow shadow;
    shadow.size = 10;
    EXPECT_EQ(Paint::SoftShadowAlpha(shadow, 0), 150);
    EXPECT_EQ(Paint::SoftShadowAlpha(shadow, 10), 0);
    EXPECT_GT(Paint::SoftShadowAlpha(shadow, 3), Paint::SoftShadowAlpha(shadow, 6));
    shadow.sharpness = 20;
    const int sharp = Paint::SoftShadowAlpha(shadow, 3);
    shadow.sharpness = 0;
    EXPECT_LT(sharp, Paint::SoftShadowAlpha(shadow, 3));  // sharper fades faster

    Render::CBitmapBuffer buffer(30, 30);
    shadow.sharpness = 5;
    Paint::DrawSoftShadow(buffer.Canvas(), UIRect{10, 10, 20, 20}, shadow);
    EXPECT_EQ(buffer.At(15, 15) >> 24, 150u);
    EXPECT_EQ(buffer.At(0, 0), 0u);
    EXPECT_GT(buffer.At(15, 8) >> 24, buffer.At(15, 4) >> 24);
}

}  // namespace
