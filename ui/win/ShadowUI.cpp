#include "ui/win/ShadowUI.h"

#include "ui/core/PaintManagerUI.h"
#include "ui/image/ImageAttribute.h"
#include "ui/image/ImageCache.h"
#include "ui/paint/SoftShadow.h"
#include "ui/render/ImageDraw.h"

namespace SkinUI {

namespace {

constexpr const wchar_t* kShadowClass = L"SkinUIShadow";

bool RegisterShadowClass()
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kShadowClass, &wc)) return true;
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kShadowClass;
    return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

CShadowUI::CShadowUI(CPaintManagerUI& model) : m_model(model) {}

CShadowUI::~CShadowUI() { Destroy(); }

void CShadowUI::ShowShadow(bool show)
{
    m_settings.show = show;
    Update();
}

void CShadowUI::SetSize(int size)
{
    m_settings.size = size < 0 ? 0 : size;
    m_dirty = true;
    Update();
}

void CShadowUI::SetSharpness(int sharpness)
{
    m_settings.sharpness = sharpness;
    m_dirty = true;
}

void CShadowUI::SetDarkness(int darkness)
{
    m_settings.darkness = darkness;
    m_dirty = true;
}

void CShadowUI::SetPosition(UIPoint offset)
{
    m_settings.position = offset;
    Update();
}

void CShadowUI::SetColor(UIColor color)
{
    m_settings.color = color;
    m_dirty = true;
}

void CShadowUI::SetImage(const std::wstring& image)
{
    m_settings.image = image;
    m_dirty = true;
}

void CShadowUI::SetShadowCorner(const UIRect& corner)
{
    m_settings.corner = corner;
    m_dirty = true;
}

void CShadowUI::CopySettings(const TShadowSettings& settings)
{
    m_settings = settings;
    m_dirty = true;
}

bool CShadowUI::Create(HWND host)
{
    if (m_hWnd || !host || !m_settings.show) return m_hWnd != nullptr;
    if (!RegisterShadowClass()) return false;
    m_host = host;
    // Owned by the host's owner, not by the host: an owned window always stays above its owner,
    // and the shadow belongs below.
    HWND owner = ::GetWindow(host, GW_OWNER);
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kShadowClass,
                               nullptr, WS_POPUP, 0, 0, 0, 0, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    m_dirty = true;
    Update();
    return m_hWnd != nullptr;
}

void CShadowUI::Destroy()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_host = nullptr;
}

bool CShadowUI::Render(int width, int height, const UIRect& hostInSurface)
{
    if (!m_surface.Resize(width, height)) return false;
    Render::CCanvas& canvas = m_surface.Canvas();
    canvas.Clear(0);
    const int scale = m_model.GetScale();
    if (!m_settings.image.empty()) {
        TDrawInfo info = ParseImageAttribute(m_settings.image, scale / 100.0);
        if (info.IsEmpty()) return false;
        info.corner = m_model.ScaleMargins(m_settings.corner);
        double imageScale = 1.0;
        if (scale != 100) info.file = m_model.ResolveImageVariant(info.file, info.resType, info.mask, imageScale);
        const auto image = GetImage(info.file, info.resType, info.mask);
        if (!image) return false;
        Render::DrawImage(canvas, Render::TImageView::Of(*image), UIRect{0, 0, width, height}, info, scale, imageScale);
        return true;
    }
    if (m_settings.size <= 0) return false;
    Paint::TSoftShadow soft;
    soft.size = m_model.ScaleValue(m_settings.size);
    soft.sharpness = m_settings.sharpness;
    soft.darkness = m_settings.darkness;
    soft.color = m_settings.color;
    Paint::DrawSoftShadow(canvas, hostInSurface, soft);
    return true;
}

void CShadowUI::OnScaleChanged()
{
    m_dirty = true;
    Update();
}

void CShadowUI::Update(int shown)
{
    if (!m_hWnd || !m_host) return;
    const bool hostShown = shown >= 0 ? shown == 1 : ::IsWindowVisible(m_host) != FALSE;
    if (!m_settings.show || !hostShown || ::IsIconic(m_host) || ::IsZoomed(m_host)) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    RECT host = {};
    ::GetWindowRect(m_host, &host);
    const int size = m_model.ScaleValue(m_settings.size);
    const UIPoint offset = m_model.ScalePoint(m_settings.position);
    const int width = (host.right - host.left) + 2 * size;
    const int height = (host.bottom - host.top) + 2 * size;
    if (width <= 0 || height <= 0) return;
    if (m_dirty || width != m_renderedSize.cx || height != m_renderedSize.cy) {
        m_hasContent =
            Render(width, height, UIRect{size, size, size + host.right - host.left, size + host.bottom - host.top});
        m_renderedSize = {width, height};
        m_dirty = false;
    }
    if (!m_hasContent) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        return;
    }
    POINT position = {host.left - size + offset.x, host.top - size + offset.y};
    SIZE extent = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, nullptr, &position, &extent, m_surface.GetDC(), &source, 0, &blend, ULW_ALPHA);
    // Right behind the host.
    ::SetWindowPos(m_hWnd, m_host, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace SkinUI
