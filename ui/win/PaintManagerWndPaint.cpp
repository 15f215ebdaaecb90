// Painting of CPaintManagerWnd: the control tree is laid out and drawn into the window's DIB,
// which is then put on the screen (through UpdateLayeredWindow for a layered window).
#include "ui/core/ControlUI.h"
#include "ui/paint/ControlPainter.h"
#include "ui/render/Fill.h"
#include "ui/win/PaintManagerWnd.h"

namespace SkinUI {

UIRect CPaintManagerWnd::ClientRect() const
{
    RECT rc = {};
    if (m_hWnd) ::GetClientRect(m_hWnd, &rc);
    return UIRect{rc.left, rc.top, rc.right, rc.bottom};
}

void CPaintManagerWnd::Render(UIRect dirty)
{
    const UIRect client = ClientRect();
    if (client.IsEmpty()) return;
    if (m_surface.Width() != client.Width() || m_surface.Height() != client.Height()) {
        if (!m_surface.Resize(client.Width(), client.Height())) return;
        dirty = client;
    }
    if (m_model.IsUpdateNeeded() || !m_model.IsFirstLayoutDone()) dirty = client;
    m_model.UpdateLayout(client);
    UIRect clipped;
    if (!clipped.Intersect(dirty, client)) return;

    Render::CCanvas& canvas = m_surface.Canvas();
    Render::CClipScope clip(canvas, clipped);
    canvas.Clear(0);
    if (CControlUI* root = m_model.GetRoot()) {
        Paint::TPaintContext context{canvas, &m_text, nullptr};
        Paint::PaintControl(*root, context);
    }
    // The ring goes over everything (it lies partly outside its control); not while a modal box
    // runs over the window, which drops the focused looks too.
    const CControlUI* focus = m_model.GetFocus();
    if (focus && focus->IsVisible() && m_model.ShowsFocusCues() && m_model.IsWindowEnabled())
        Paint::PaintFocusRing(canvas, focus->GetPos(), m_model.GetScale());
    // The window region cuts the corners with hard edges; the image fades them out smoothly.
    const UISize round = m_model.GetRoundCorner();
    if (IsLayered() && (round.cx > 0 || round.cy > 0)) Render::RoundCorners(canvas, client, round);
}

void CPaintManagerWnd::Present(const UIRect& dirty, HDC paintDC)
{
    if (dirty.IsEmpty() || !m_surface.IsValid()) return;
    if (IsLayered()) {
        const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
        if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SIZE size = {m_surface.Width(), m_surface.Height()};
        POINT source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(m_model.GetWindowSettings().opacity), AC_SRC_ALPHA};
        RECT part = {dirty.left, dirty.top, dirty.right, dirty.bottom};
        UPDATELAYEREDWINDOWINFO info = {};
        info.cbSize = sizeof(info);
        info.psize = &size;
        info.hdcSrc = m_surface.GetDC();
        info.pptSrc = &source;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = &part;
        if (!::UpdateLayeredWindowIndirect(m_hWnd, &info)) {
            ::UpdateLayeredWindow(m_hWnd, nullptr, nullptr, &size, m_surface.GetDC(), &source, 0, &blend, ULW_ALPHA);
        }
    } else {
        HDC dc = paintDC ? paintDC : ::GetDC(m_hWnd);
        ::BitBlt(dc, dirty.left, dirty.top, dirty.Width(), dirty.Height(), m_surface.GetDC(), dirty.left, dirty.top,
                 SRCCOPY);
        if (!paintDC) ::ReleaseDC(m_hWnd, dc);
    }
    m_presented = true;
    if (m_onFramePresented) m_onFramePresented(m_hWnd, dirty);
}

void CPaintManagerWnd::PaintNow()
{
    if (!m_hWnd) return;
    const UIRect client = ClientRect();
    const bool whole = !m_presented || m_model.IsUpdateNeeded() || !m_model.IsFirstLayoutDone() ||
                       m_surface.Width() != client.Width() || m_surface.Height() != client.Height();
    const UIRect dirty = whole ? client : m_dirty;
    m_dirty = UIRect{};
    if (dirty.IsEmpty()) return;
    Render(dirty);
    Present(dirty, nullptr);
    ::ValidateRect(m_hWnd, nullptr);
}

std::chrono::nanoseconds CPaintManagerWnd::RepaintAll()
{
    const auto start = std::chrono::steady_clock::now();
    const UIRect client = ClientRect();
    Render(client);
    return std::chrono::steady_clock::now() - start;
}

}  // namespace SkinUI
