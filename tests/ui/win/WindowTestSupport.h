#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/image/ImageInfo.h"
#include "ui/render/Canvas.h"

// Shared by the tests that show real skinned windows under Wine: the built skin archive, the
// display DPI, a message pump, pixels, and screenshots.
namespace WindowTest {

// Opens the built skin.zip (KP_SKIN_ZIP) as the process's skin archive; false when it is missing.
bool OpenSkin();

// Makes the process DPI aware, hands the screen's DPI to the framework and returns it.
int InitProcessDpi();

// Runs the thread's messages (through the framework's pre-translation) until `done` is true or
// `timeoutMs` passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
void PumpFor(int ms);

// The decoded image `name` of the skin (a variant name such as "x@2x.png" too).
std::shared_ptr<const SkinUI::TImageInfo> SkinImage(const std::wstring& name);
// The image's premultiplied pixel as 0xAARRGGBB.
SkinUI::Render::Pixel ImagePixel(const SkinUI::TImageInfo& image, int x, int y);
// The file drawn for `name` at `scalePercent`: "a.png" at 150 is "a@1.5x.png" when that exists.
std::wstring VariantName(const std::wstring& name, int scalePercent);

// Largest difference of the four channels.
int ChannelDistance(SkinUI::Render::Pixel a, SkinUI::Render::Pixel b);

// The screen's pixel at (x, y) (what X shows there), as 0x00RRGGBB.
COLORREF ScreenRgb(int x, int y);

// Writes `canvas` as a PNG (straight alpha) into the screenshot folder; returns the path written.
std::string SaveScreenshot(const SkinUI::Render::CCanvas& canvas, const std::string& name);
// Writes the screen area `rc` as a PNG (what X shows, opaque).
std::string SaveScreenArea(const RECT& rc, const std::string& name);

}  // namespace WindowTest
