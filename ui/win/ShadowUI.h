#pragma once
#include <windows.h>

#include <string>

#include "ui/base/UIGeometry.h"
#include "ui/core/WindowSettings.h"
#include "ui/win/DibSurface.h"

// The drop shadow of a window: a separate layered window that never takes activation, kept right
// behind its host in the z-order and around it, moved, sized, shown and hidden with it. It draws a
// nine-grid image (the shadow image and its corner margins) or, without an image, a computed soft
// shadow. An image that cannot be loaded shows nothing.
//
// Lengths (size, offset, corners) are set in document units and scaled by the host's scale.
namespace SkinUI {

class CPaintManagerUI;

class CShadowUI {
public:
    explicit CShadowUI(CPaintManagerUI& model);
    ~CShadowUI();
    CShadowUI(const CShadowUI&) = delete;
    CShadowUI& operator=(const CShadowUI&) = delete;

    void ShowShadow(bool show);
    bool IsShowShadow() const { return m_settings.show; }
    void SetSize(int size);
    int GetSize() const { return m_settings.size; }
    void SetSharpness(int sharpness);
    void SetDarkness(int darkness);
    void SetPosition(UIPoint offset);
    void SetColor(UIColor color);
    void SetImage(const std::wstring& image);
    void SetShadowCorner(const UIRect& corner);
    // All of the window's shadow attributes at once (showshadow, shadowsize, ...).
    void CopySettings(const TShadowSettings& settings);
    const TShadowSettings& GetSettings() const { return m_settings; }

    // Creates the shadow window for `host` (once the host exists); nothing when switched off.
    bool Create(HWND host);
    void Destroy();
    HWND GetHWND() const { return m_hWnd; }
    // Follows the host. `shown`: 1 or 0 while the host is being shown or hidden, -1 to ask it.
    void Update(int shown = -1);
    // The host's scale changed: drawn afresh at the new scale (size, corners, image variant).
    void OnScaleChanged();
    // Whether the shadow has something to draw (an image that loaded, or a computed shadow).
    bool HasContent() const { return m_hasContent; }
    const Render::CCanvas& GetSurface() const { return m_surface.Canvas(); }

private:
    // Redraws the surface for a host of `host` size; false when there is nothing to show.
    bool Render(int width, int height, const UIRect& hostInSurface);

    CPaintManagerUI& m_model;
    TShadowSettings m_settings;
    HWND m_hWnd = nullptr;
    HWND m_host = nullptr;
    CDibSurface m_surface;
    bool m_hasContent = false;
    bool m_dirty = true;
    SIZE m_renderedSize = {};
};

}  // namespace SkinUI
