#include "WindowTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include "ui/core/PaintManagerUI.h"
#include "ui/image/ImageCache.h"
#include "ui/render/PixelMath.h"
#include "ui/resources/SkinResources.h"
#include "ui/win/WindowWnd.h"

namespace WindowTest {

using SkinUI::Render::Pixel;

bool OpenSkin()
{
    // The archive must outlive every window: the framework reads it in place.
    static std::vector<char> bytes;
    if (bytes.empty()) {
        std::ifstream file(KP_SKIN_ZIP, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    if (bytes.empty()) return false;
    SkinUI::CPaintManagerUI::SetResourceMode(SkinUI::UILIB_ZIPRESOURCE);
    return SkinUI::CPaintManagerUI::OpenResourceArchive(bytes.data(), bytes.size()) ||
           SkinUI::CPaintManagerUI::GetResourceZipName() == L"membuffer";
}

int InitProcessDpi()
{
    ::SetProcessDPIAware();
    HDC screen = ::GetDC(nullptr);
    const int dpi = (::GetDeviceCaps(screen, LOGPIXELSX) + ::GetDeviceCaps(screen, LOGPIXELSY)) / 2;
    ::ReleaseDC(nullptr, screen);
    SkinUI::CPaintManagerUI::SetProcessDpi(dpi);
    return dpi;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (static_cast<int>(::GetTickCount() - start) > timeoutMs) return false;
        MSG msg;
        bool any = false;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            SkinUI::CWindowWnd::DispatchOne(msg);
            if (done()) return true;
        }
        if (!any) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(int ms)
{
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return static_cast<int>(::GetTickCount() - start) >= ms; }, ms + 1000);
}

std::shared_ptr<const SkinUI::TImageInfo> SkinImage(const std::wstring& name) { return SkinUI::GetImage(name); }

Pixel ImagePixel(const SkinUI::TImageInfo& image, int x, int y)
{
    const std::uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
    return (static_cast<Pixel>(p[3]) << 24) | (static_cast<Pixel>(p[2]) << 16) | (static_cast<Pixel>(p[1]) << 8) | p[0];
}

std::wstring VariantName(const std::wstring& name, int scalePercent)
{
    double imageScale = 1.0;
    return SkinUI::CImageCache::Instance().ResolveDpiVariant(name, std::wstring(), 0, scalePercent, imageScale);
}

int ChannelDistance(Pixel a, Pixel b)
{
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        worst = std::max(worst, d < 0 ? -d : d);
    }
    return worst;
}

COLORREF ScreenRgb(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF bgr = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr));  // 0x00RRGGBB like a pixel
}

namespace {

std::string ScreenshotPath(const std::string& name)
{
    const std::string folder = KP_SCREENSHOT_DIR;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name + ".png";
}

}  // namespace

std::string SaveScreenshot(const SkinUI::Render::CCanvas& canvas, const std::string& name)
{
    std::vector<unsigned char> rgba(static_cast<size_t>(canvas.Width()) * canvas.Height() * 4);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Pixel p = canvas.At(x, y);
            const unsigned a = p >> 24;
            unsigned char* out = &rgba[(static_cast<size_t>(y) * canvas.Width() + x) * 4];
            for (int c = 0; c < 3; ++c) {
                const unsigned v = (p >> (16 - 8 * c)) & 0xFF;
                out[c] = static_cast<unsigned char>(a ? std::min(255u, (v * 255 + a / 2) / a) : 0);
            }
            out[3] = static_cast<unsigned char>(a);
        }
    }
    const std::string path = ScreenshotPath(name);
    stbi_write_png(path.c_str(), canvas.Width(), canvas.Height(), 4, rgba.data(), canvas.Width() * 4);
    return path;
}

std::string SaveScreenArea(const RECT& rc, const std::string& name)
{
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < w * h; ++i) {
        rgb[i * 3] = (px[i] >> 16) & 0xFF;
        rgb[i * 3 + 1] = (px[i] >> 8) & 0xFF;
        rgb[i * 3 + 2] = px[i] & 0xFF;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const std::string path = ScreenshotPath(name);
    stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3);
    return path;
}

}  // namespace WindowTest
