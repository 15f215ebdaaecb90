// Full repaint of the main window into its layered-window buffer, as the renderer does it on
// every frame: background image, title-bar icons, two large nine-grid buttons, a check box, a
// progress bar with its fill, and the rounded window corners. At 100 % (700 x 420) and at 200 %
// (1400 x 840), once with the @2x images a 200 % screen gets and once with the plain images
// enlarged (the fallback when a variant is missing). Text is drawn by GDI and not measured here.
#include <benchmark/benchmark.h>

#include <cstring>

#include "ui/render/Fill.h"
#include "ui/render/ImageDraw.h"

using namespace SkinUI;
using namespace SkinUI::Render;

namespace {

// A synthetic skin image of `w` x `h` base pixels at `scale`: a gradient panel with rounded
// corners (transparent outside them), like the real button and bar images.
TImageInfo MakeSkinImage(int w, int h, double scale, UIColor top, UIColor bottom, int round)
{
    TImageInfo image;
    image.width = static_cast<int>(w * scale);
    image.height = static_cast<int>(h * scale);
    image.scale = scale;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 4, 0);
    CCanvas canvas(reinterpret_cast<Pixel*>(image.pixels.data()), image.width, image.height, image.width);
    int r = static_cast<int>(round * scale);
    FillRoundRect(canvas, UIRect{0, 0, image.width, image.height}, UISize{r, r}, TBrush::Gradient(top, bottom));
    image.hasAlpha = round > 0;
    return image;
}

struct TSkin {
    TImageInfo background, button, icon, check, track, fill;
    explicit TSkin(double scale)
        : background(MakeSkinImage(700, 420, scale, 0xFF24262Bu, 0xFF16171Au, 0)),
          button(MakeSkinImage(146, 44, scale, 0xFFF2F3F5u, 0xFFD9DBDFu, 10)),
          icon(MakeSkinImage(20, 20, scale, 0xFFC8CACFu, 0xFFC8CACFu, 10)),
          check(MakeSkinImage(18, 18, scale, 0xFF389BFDu, 0xFF2C7CCAu, 4)),
          track(MakeSkinImage(103, 14, scale, 0xFF2E3036u, 0xFF2E3036u, 14)),
          fill(MakeSkinImage(103, 14, scale, 0xFF389BFDu, 0xFF2C7CCAu, 14))
    {
    }
};

// `s` is the window scale in percent; `s * x / 100` turns document pixels into window pixels.
UIRect Scaled(int s, int l, int t, int r, int b) { return UIRect{l * s / 100, t * s / 100, r * s / 100, b * s / 100}; }

TDrawInfo Corner(int s, int l, int t, int r, int b)
{
    TDrawInfo info;
    info.file = L"image.png";
    info.corner = Scaled(s, l, t, r, b);
    return info;
}

void PaintWindow(CCanvas& canvas, const TSkin& skin, int s)
{
    TDrawInfo plain;
    plain.file = L"image.png";
    canvas.Clear(0);
    DrawImage(canvas, skin.background, Scaled(s, 0, 0, 700, 420), plain, s);
    DrawImage(canvas, skin.icon, Scaled(s, 638, 11, 658, 31), plain, s);
    DrawImage(canvas, skin.icon, Scaled(s, 669, 11, 689, 31), plain, s);
    DrawImage(canvas, skin.button, Scaled(s, 246, 264, 454, 308), Corner(s, 10, 10, 10, 10), s);
    DrawImage(canvas, skin.button, Scaled(s, 246, 198, 454, 242), Corner(s, 10, 10, 10, 10), s);
    DrawImage(canvas, skin.check, Scaled(s, 29, 379, 47, 397), plain, s);
    DrawImage(canvas, skin.track, Scaled(s, 55, 342, 649, 356), Corner(s, 10, 0, 10, 0), s);
    DrawImage(canvas, skin.fill, Scaled(s, 55, 342, 55 + 594 * 63 / 100, 356), Corner(s, 10, 0, 10, 0), s);
    RoundCorners(canvas, Scaled(s, 0, 0, 700, 420), UISize{10 * s / 100, 10 * s / 100});
}

void BM_RepaintMainWindow(benchmark::State& state)
{
    int scale = static_cast<int>(state.range(0));
    double imageScale = state.range(1) ? scale / 100.0 : 1.0;
    TSkin skin(imageScale);
    CBitmapBuffer buffer(700 * scale / 100, 420 * scale / 100);
    for (auto _ : state) {
        PaintWindow(buffer.Canvas(), skin, scale);
        benchmark::DoNotOptimize(buffer.Data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(scale) + "% " + (state.range(1) ? "matching images" : "plain images enlarged"));
}

}  // namespace

BENCHMARK(BM_RepaintMainWindow)
    ->Args({100, 1})
    ->Args({200, 1})
    ->Args({200, 0})
    ->Args({150, 1})
    ->Args({150, 0})
    ->Unit(benchmark::kMillisecond);
