#include "ui/PaintManagerUI.h"

#include <algorithm>

#include "ui/ControlUI.h"
#include "ui/DpiVariant.h"
#include "ui/ImageCache.h"
#include "ui/OptionUI.h"
#include "ui/SkinResources.h"

namespace SkinUI {

namespace {

int g_processDpi = 96;
CPaintManagerUI::ImageVariantResolver g_variantResolver = nullptr;

}  // namespace

CPaintManagerUI::CPaintManagerUI() { m_dpi.SetScale(CDPIScale::ScaleFromDpi(g_processDpi)); }

CPaintManagerUI::~CPaintManagerUI()
{
    RemoveAllTimers();
    m_destroying = true;
    CControlUI* root = m_root;
    m_root = nullptr;
    delete root;
    std::vector<CControlUI*> pending;
    pending.swap(m_delayedCleanup);
    for (CControlUI* control : pending) delete control;
}

bool CPaintManagerUI::IsWindowEnabled() const { return m_host ? m_host->IsWindowEnabled() : true; }

// --- The control tree ---

bool CPaintManagerUI::AttachDialog(CControlUI* root)
{
    if (!root) return false;
    if (m_root && m_root != root) {
        CControlUI* old = m_root;
        m_root = nullptr;
        ReleaseControl(old);
    }
    m_root = root;
    ApplyProcessDpi();
    root->SetManager(this, nullptr, true);
    m_initSent = false;
    m_hasLayoutRect = false;
    NeedUpdate();
    return true;
}

void CPaintManagerUI::InitControl(CControlUI* control)
{
    if (!control) return;
    if (!control->GetName().empty()) m_names.emplace(control->GetName(), control);
    if (auto* option = dynamic_cast<COptionUI*>(control)) {
        if (!option->GetGroup().empty()) AddOptionGroup(option->GetGroup(), option);
    }
}

void CPaintManagerUI::ReapObjects(CControlUI* control)
{
    if (m_destroying || !control) return;
    ForgetName(control, control->GetName());
    // Searched by pointer: a control being destroyed is no longer an option when this runs.
    for (auto group = m_optionGroups.begin(); group != m_optionGroups.end();) {
        auto& members = group->second;
        members.erase(std::remove(members.begin(), members.end(), control), members.end());
        group = members.empty() ? m_optionGroups.erase(group) : std::next(group);
    }
    KillTimers(control);
    if (m_focus == control) m_focus = nullptr;
    if (m_hover == control) m_hover = nullptr;
    if (m_pressed == control) {
        m_pressed = nullptr;
        if (m_host) m_host->ReleaseCapture();
    }
    if (m_root == control) m_root = nullptr;
}

void CPaintManagerUI::ReleaseControl(CControlUI* control)
{
    if (!control) return;
    control->VisitSubtree([this](CControlUI* c) { ReapObjects(c); });
    if (m_dispatchDepth > 0) m_delayedCleanup.push_back(control);
    else delete control;
}

CControlUI* CPaintManagerUI::FindControl(const std::wstring& name) const
{
    const auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControlAt(UIPoint pt) const { return m_root ? m_root->FindControlAt(pt) : nullptr; }

void CPaintManagerUI::ForgetName(CControlUI* control, const std::wstring& name)
{
    const auto it = m_names.find(name);
    if (it == m_names.end() || it->second != control) return;
    m_names.erase(it);
    // Another control of the tree may carry the same name: it answers to it from now on.
    if (m_root && !name.empty()) {
        CControlUI* other = m_root->FindSubControl(name);
        if (other && other != control) m_names.emplace(name, other);
    }
}

void CPaintManagerUI::OnControlRenamed(CControlUI* control, const std::wstring& oldName)
{
    ForgetName(control, oldName);
    if (!control->GetName().empty()) m_names.emplace(control->GetName(), control);
}

void CPaintManagerUI::OnControlHidden(CControlUI* control)
{
    BeginDispatch();
    if (m_pressed && control->IsAncestorOf(m_pressed)) {
        CControlUI* pressed = m_pressed;
        m_pressed = nullptr;
        if (m_host) m_host->ReleaseCapture();
        SendEvent(pressed, UIEventType::CaptureLost, m_mousePos);
    }
    if (m_hover && control->IsAncestorOf(m_hover)) {
        CControlUI* hover = m_hover;
        m_hover = nullptr;
        SendEvent(hover, UIEventType::MouseLeave, m_mousePos);
    }
    if (m_focus && control->IsAncestorOf(m_focus)) SetFocus(nullptr);
    EndDispatch();
}

void CPaintManagerUI::OnControlDisabled(CControlUI* control)
{
    BeginDispatch();
    if (m_pressed == control) {
        m_pressed = nullptr;
        if (m_host) m_host->ReleaseCapture();
        SendEvent(control, UIEventType::CaptureLost, m_mousePos);
    }
    if (m_focus == control) SetFocus(nullptr);
    EndDispatch();
}

// --- Option groups ---

void CPaintManagerUI::AddOptionGroup(const std::wstring& group, CControlUI* option)
{
    auto& members = m_optionGroups[group];
    if (std::find(members.begin(), members.end(), option) == members.end()) members.push_back(option);
}

void CPaintManagerUI::RemoveOptionGroup(const std::wstring& group, CControlUI* option)
{
    const auto it = m_optionGroups.find(group);
    if (it == m_optionGroups.end()) return;
    auto& members = it->second;
    members.erase(std::remove(members.begin(), members.end(), option), members.end());
    if (members.empty()) m_optionGroups.erase(it);
}

std::vector<CControlUI*> CPaintManagerUI::GetOptionGroup(const std::wstring& group) const
{
    const auto it = m_optionGroups.find(group);
    return it == m_optionGroups.end() ? std::vector<CControlUI*>() : it->second;
}

// --- Layout and painting ---

void CPaintManagerUI::UpdateLayout(const UIRect& client)
{
    if (!m_root) return;
    if (m_updateNeeded || !m_hasLayoutRect || client != m_layoutRect) {
        m_layoutRect = client;
        m_hasLayoutRect = true;
        m_root->SetPos(client);
        // Whatever the layout itself changed (scroll bars shown or hidden) it has already
        // accounted for.
        m_updateNeeded = false;
    }
    if (!m_initSent) {
        m_initSent = true;
        SendNotify(m_root, L"windowinit");
    }
}

void CPaintManagerUI::Invalidate(const UIRect& rc)
{
    if (m_host && !rc.IsEmpty()) m_host->Invalidate(rc);
}

// --- Display scale ---

void CPaintManagerUI::SetProcessDpi(int dpi) { g_processDpi = dpi > 0 ? dpi : 96; }

int CPaintManagerUI::GetProcessDpi() { return g_processDpi; }

double CPaintManagerUI::GetGlobalScale() { return CDPIScale::ScaleFromDpi(g_processDpi) / 100.0; }

void CPaintManagerUI::SetScale(int scalePercent)
{
    const int before = m_dpi.GetScale();
    m_dpi.SetScale(scalePercent);
    if (m_dpi.GetScale() == before) return;
    // Fonts and images are described in document units and rebuilt from them on their next use;
    // the layout must follow the new lengths.
    NeedUpdate();
    if (m_hasLayoutRect) Invalidate(m_layoutRect);
}

int CPaintManagerUI::ApplyProcessDpi()
{
    const int before = GetScale();
    SetScale(CDPIScale::ScaleFromDpi(g_processDpi));
    return before;
}

bool CPaintManagerUI::SetWindowAttribute(const std::wstring& name, const std::wstring& value)
{
    return ApplyWindowAttribute(m_settings, name, value);
}

// --- Fonts, defaults, styles, images ---

CUIResourceTable& CPaintManagerUI::GetSharedResources()
{
    static CUIResourceTable shared;
    return shared;
}

void CPaintManagerUI::RemoveAllShared() { GetSharedResources().Clear(); }

void CPaintManagerUI::AddFont(int id, const TFontDecl& font, bool shared)
{
    (shared ? GetSharedResources() : m_resources).AddFont(id, font);
}

void CPaintManagerUI::SetDefaultFont(const TFontDecl& font, bool shared)
{
    (shared ? GetSharedResources() : m_resources).SetDefaultFont(font);
}

TFontInfo CPaintManagerUI::GetFontInfo(int id) const
{
    const TFontDecl* font = m_resources.FindFont(id);
    if (!font) font = GetSharedResources().FindFont(id);
    if (!font) return GetDefaultFontInfo();
    return TFontInfo{font->face, font->size > 0 ? -ScaleValue(font->size) : 0, font->bold, font->underline,
                     font->italic};
}

TFontInfo CPaintManagerUI::GetDefaultFontInfo() const
{
    const TFontDecl* font = m_resources.GetDefaultFont();
    if (!font) font = GetSharedResources().GetDefaultFont();
    if (!font) return TFontInfo{};
    return TFontInfo{font->face, font->size > 0 ? -ScaleValue(font->size) : 0, font->bold, font->underline,
                     font->italic};
}

void CPaintManagerUI::AddDefaultAttributeList(const std::wstring& className, const std::wstring& list, bool shared)
{
    (shared ? GetSharedResources() : m_resources).SetDefaultAttributeList(className, list);
}

std::wstring CPaintManagerUI::GetDefaultAttributeList(const std::wstring& className) const
{
    if (const std::wstring* list = m_resources.FindDefaultAttributeList(className)) return *list;
    if (const std::wstring* list = GetSharedResources().FindDefaultAttributeList(className)) return *list;
    return std::wstring();
}

void CPaintManagerUI::AddStyle(const std::wstring& name, const std::wstring& list, bool shared)
{
    (shared ? GetSharedResources() : m_resources).SetStyle(name, list);
}

std::wstring CPaintManagerUI::GetStyle(const std::wstring& name) const
{
    if (const std::wstring* list = m_resources.FindStyle(name)) return *list;
    if (const std::wstring* list = GetSharedResources().FindStyle(name)) return *list;
    return std::wstring();
}

bool CPaintManagerUI::AddImage(const TImageDecl& image, bool shared)
{
    if (image.name.empty()) return false;
    (shared ? GetSharedResources() : m_resources).AddImage(image);
    return CImageCache::Instance().GetImage(image.name, image.resType, image.mask) != nullptr;
}

const TImageDecl* CPaintManagerUI::GetImageDecl(const std::wstring& name) const
{
    if (const TImageDecl* image = m_resources.FindImage(name)) return image;
    return GetSharedResources().FindImage(name);
}

void CPaintManagerUI::AddFontFile(const std::wstring& path) { m_resources.AddFontFile(path); }

std::wstring CPaintManagerUI::ResolveImageVariant(const std::wstring& file, const std::wstring& resType, UIColor mask,
                                                  double& imageScale) const
{
    imageScale = 1.0;
    if (GetScale() == 100 || file.empty()) return file;
    if (g_variantResolver) return g_variantResolver(file, resType, mask, GetScale(), imageScale);
    return ResolveDpiVariant(file, resType, mask, GetScale(), imageScale);
}

void CPaintManagerUI::SetImageVariantResolver(ImageVariantResolver resolver) { g_variantResolver = resolver; }

// --- Notifications ---

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier)
{
    if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) return false;
    m_notifiers.push_back(notifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier)
{
    const auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
    if (it == m_notifiers.end()) return false;
    m_notifiers.erase(it);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg)
{
    msg.sVirtualWnd = msg.pSender ? msg.pSender->GetVirtualWnd() : std::wstring();
    if (msg.dwTimestamp == 0) msg.dwTimestamp = Now();
    msg.ptMouse = m_mousePos;
    BeginDispatch();
    // A notifier may add or remove notifiers: the ones removed meanwhile are skipped.
    const std::vector<INotifyUI*> notifiers = m_notifiers;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) notifier->Notify(msg);
    }
    EndDispatch();
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const std::wstring& type, std::uintptr_t wParam,
                                 std::intptr_t lParam)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg);
}

// --- Timers ---

bool CPaintManagerUI::SetTimer(CControlUI* control, unsigned timerId, unsigned elapseMs)
{
    if (!control || !m_host) return false;
    for (const TimerInfo& timer : m_timers) {
        if (timer.control == control && timer.localId == timerId) return m_host->SetTimer(timer.nativeId, elapseMs);
    }
    const unsigned nativeId = m_nextTimerId++;
    if (!m_host->SetTimer(nativeId, elapseMs)) return false;
    m_timers.push_back(TimerInfo{control, timerId, nativeId});
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, unsigned timerId)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->control == control && it->localId == timerId) {
            if (m_host) m_host->KillTimer(it->nativeId);
            m_timers.erase(it);
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimers(CControlUI* control)
{
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control) {
            if (m_host) m_host->KillTimer(it->nativeId);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    if (m_host) {
        for (const TimerInfo& timer : m_timers) m_host->KillTimer(timer.nativeId);
    }
    m_timers.clear();
}

bool CPaintManagerUI::OnTimer(unsigned nativeId)
{
    for (const TimerInfo& timer : m_timers) {
        if (timer.nativeId == nativeId) {
            CControlUI* control = timer.control;  // the handler may kill timers: copy first
            SendEvent(control, UIEventType::Timer, m_mousePos, timer.localId);
            return true;
        }
    }
    return false;
}

// --- Focus and input ---

bool CPaintManagerUI::IsPendingRelease(const CControlUI* control) const
{
    for (const CControlUI* released : m_delayedCleanup) {
        if (released->IsAncestorOf(control)) return true;
    }
    return false;
}

void CPaintManagerUI::SetFocus(CControlUI* control)
{
    if (control == m_focus) return;
    if (control && (control->GetManager() != this || !control->IsVisible() || !control->IsEnabled() ||
                    IsPendingRelease(control))) {
        return;
    }
    BeginDispatch();
    CControlUI* old = m_focus;
    m_focus = nullptr;
    if (old) SendEvent(old, UIEventType::KillFocus, m_mousePos);
    // The "killfocus" handler may have removed the new control, or moved the focus itself.
    if (control && !m_focus && !IsPendingRelease(control)) {
        m_focus = control;
        SendEvent(control, UIEventType::SetFocus, m_mousePos);
    }
    EndDispatch();
}

void CPaintManagerUI::UpdateHover(UIPoint pt)
{
    CControlUI* hit = FindControlAt(pt);
    // While a control holds the press, no other control lights up.
    if (m_pressed && hit != m_pressed) hit = nullptr;
    if (hit == m_hover) return;
    CControlUI* old = m_hover;
    m_hover = hit;
    if (m_host) m_host->ShowToolTip(std::wstring(), UIRect{});
    if (old) SendEvent(old, UIEventType::MouseLeave, pt);
    if (hit && m_hover == hit && !IsPendingRelease(hit)) SendEvent(hit, UIEventType::MouseEnter, pt);
}

void CPaintManagerUI::OnMouseMove(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    if (m_pressed) SendEvent(m_pressed, UIEventType::MouseMove, pt);
    UpdateHover(pt);
    if (!m_pressed && m_hover) SendEvent(m_hover, UIEventType::MouseMove, pt);
    EndDispatch();
}

void CPaintManagerUI::OnMouseLeave()
{
    BeginDispatch();
    if (m_host) m_host->ShowToolTip(std::wstring(), UIRect{});
    CControlUI* old = m_hover;
    m_hover = nullptr;
    if (old) SendEvent(old, UIEventType::MouseLeave, m_mousePos);
    EndDispatch();
}

void CPaintManagerUI::PressAt(UIPoint pt, UIEventType type)
{
    m_mousePos = pt;
    BeginDispatch();
    if (m_pressed) {
        // A press that never saw its release (the button went up outside the window).
        CControlUI* stale = m_pressed;
        m_pressed = nullptr;
        SendEvent(stale, UIEventType::CaptureLost, pt);
    }
    CControlUI* hit = FindControlAt(pt);
    if (hit) {
        const bool takesFocus = hit->WantsFocus() && hit->IsEnabled() && hit->IsKeyboardEnabled();
        SetFocus(takesFocus ? hit : nullptr);
        if (!IsPendingRelease(hit)) {
            m_pressed = hit;
            if (m_host) m_host->SetCapture();
            SendEvent(hit, type, pt);
        }
    }
    EndDispatch();
}

void CPaintManagerUI::OnLButtonDown(UIPoint pt) { PressAt(pt, UIEventType::ButtonDown); }

void CPaintManagerUI::OnLButtonDblClick(UIPoint pt) { PressAt(pt, UIEventType::DoubleClick); }

void CPaintManagerUI::OnLButtonUp(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    // The press is taken first: a window that reports our own release of the capture back as a
    // lost capture (Windows sends WM_CAPTURECHANGED at once) then finds nothing to cancel.
    CControlUI* pressed = m_pressed;
    m_pressed = nullptr;
    if (m_host) m_host->ReleaseCapture();
    if (pressed) SendEvent(pressed, UIEventType::ButtonUp, pt);
    UpdateHover(pt);
    EndDispatch();
}

void CPaintManagerUI::OnCaptureLost()
{
    BeginDispatch();
    CControlUI* pressed = m_pressed;
    m_pressed = nullptr;
    if (pressed) SendEvent(pressed, UIEventType::CaptureLost, m_mousePos);
    EndDispatch();
}

void CPaintManagerUI::OnMouseHover(UIPoint pt)
{
    m_mousePos = pt;
    BeginDispatch();
    CControlUI* hit = FindControlAt(pt);
    if (m_host) {
        if (hit && !hit->GetToolTip().empty()) m_host->ShowToolTip(hit->GetToolTip(), hit->GetPos());
        else m_host->ShowToolTip(std::wstring(), UIRect{});
    }
    if (hit) SendEvent(hit, UIEventType::MouseHover, pt);
    EndDispatch();
}

bool CPaintManagerUI::OnMouseWheel(UIPoint pt, int delta)
{
    CControlUI* hit = FindControlAt(pt);
    if (!hit) return false;
    BeginDispatch();
    SendEvent(hit, UIEventType::ScrollWheel, pt, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(delta)));
    EndDispatch();
    return true;
}

bool CPaintManagerUI::OnSetCursor(UIPoint pt)
{
    CControlUI* hit = FindControlAt(pt);
    if (!hit || !m_host) return false;
    m_host->SetCursor(hit->IsEnabled() ? hit->GetCursor() : UICursor::Arrow);
    return true;
}

bool CPaintManagerUI::OnKeyDown(unsigned virtualKey)
{
    if (!m_focus) return false;
    BeginDispatch();
    SendEvent(m_focus, UIEventType::KeyDown, m_mousePos, 0, virtualKey);
    EndDispatch();
    return true;
}

bool CPaintManagerUI::OnChar(unsigned character)
{
    if (!m_focus) return false;
    BeginDispatch();
    SendEvent(m_focus, UIEventType::Char, m_mousePos, 0, character);
    EndDispatch();
    return true;
}

void CPaintManagerUI::OnWindowSetFocus()
{
    if (m_hasLayoutRect) Invalidate(m_layoutRect);
}

void CPaintManagerUI::OnWindowKillFocus() { OnCaptureLost(); }

// --- Dispatch ---

void CPaintManagerUI::SendEvent(CControlUI* control, UIEventType type, UIPoint pt, std::uintptr_t wParam, unsigned key)
{
    if (!control) return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = Now();
    event.ptMouse = pt;
    event.chKey = key;
    event.wParam = wParam;
    Dispatch(control, event);
}

void CPaintManagerUI::Dispatch(CControlUI* control, TEventUI& event)
{
    BeginDispatch();
    control->Event(event);
    EndDispatch();
}

void CPaintManagerUI::EndDispatch()
{
    if (--m_dispatchDepth > 0) return;
    while (!m_delayedCleanup.empty()) {
        std::vector<CControlUI*> pending;
        pending.swap(m_delayedCleanup);
        for (CControlUI* control : pending) delete control;
    }
}

std::uint32_t CPaintManagerUI::Now() const { return m_host ? m_host->GetTickCount() : 0; }

// --- Skin resources ---

void CPaintManagerUI::SetResourceMode(int mode) { CSkinResources::SetResourceMode(mode); }

int CPaintManagerUI::GetResourceMode() { return CSkinResources::GetResourceMode(); }

void CPaintManagerUI::SetResourceFolder(const std::wstring& path) { CSkinResources::SetResourceFolder(path); }

std::wstring CPaintManagerUI::GetResourceFolder() { return CSkinResources::GetResourceFolder(); }

std::wstring CPaintManagerUI::GetResourceZipName() { return CSkinResources::GetResourceZipName(); }

bool CPaintManagerUI::IsResourceZipCached() { return CSkinResources::IsResourceZipCached(); }

bool CPaintManagerUI::OpenResourceArchive(const void* buffer, std::size_t length, const std::string& password)
{
    return CSkinResources::OpenResourceArchive(buffer, length, password);
}

bool CPaintManagerUI::OpenResourceArchiveFile(const std::wstring& name, bool cached)
{
    return CSkinResources::OpenResourceArchiveFile(name, cached);
}

}  // namespace SkinUI
