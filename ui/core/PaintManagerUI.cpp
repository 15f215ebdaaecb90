#include "ui/core/PaintManagerUI.h"

#include <algorithm>
#include <utility>

#include "ui/core/ControlUI.h"
#include "ui/image/DpiVariant.h"
#include "ui/image/ImageCache.h"

namespace SkinUI {

namespace {

int g_processDpi = 96;

}  // namespace

CPaintManagerUI::CPaintManagerUI(ImageVariantResolver resolveVariant) : m_resolveVariant(std::move(resolveVariant))
{
    m_dpi.SetScale(CDPIScale::ScaleFromDpi(g_processDpi));
}

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
    const std::wstring group = control->GetOptionGroupName();
    if (!group.empty()) AddOptionGroup(group, control);
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
    if (m_focus == control) {
        InvalidateFocusRing(control);
        m_focus = nullptr;
    }
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
    if (m_resolveVariant) return m_resolveVariant(file, resType, mask, GetScale(), imageScale);
    return ResolveDpiVariant(file, resType, mask, GetScale(), imageScale);
}

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
    return m_timers.Set(m_host, control, timerId, elapseMs);
}

bool CPaintManagerUI::KillTimer(CControlUI* control, unsigned timerId)
{
    return m_timers.Kill(m_host, control, timerId);
}

void CPaintManagerUI::KillTimers(CControlUI* control) { m_timers.KillAll(m_host, control); }

void CPaintManagerUI::RemoveAllTimers() { m_timers.RemoveAll(m_host); }

bool CPaintManagerUI::OnTimer(unsigned nativeId)
{
    CControlUI* control = nullptr;
    unsigned timerId = 0;
    if (!m_timers.Find(nativeId, control, timerId)) return false;
    SendEvent(control, UIEventType::Timer, m_mousePos, timerId);
    return true;
}

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

}  // namespace SkinUI
