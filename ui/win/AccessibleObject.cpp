#include "ui/win/AccessibleObject.h"

#include <oleacc.h>

#include <string>
#include <vector>

#include "ui/core/ControlUI.h"
#include "ui/core/PaintManagerUI.h"
#include "ui/win/PaintManagerWnd.h"

namespace SkinUI {

namespace {

// oleacc.dll is no DLL that Windows maps from its known list, so it is loaded from the system
// folder when a reader first asks, never looked for beside the program.
struct TOleAcc {
    decltype(&::LresultFromObject) lresultFromObject = nullptr;
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
};

const TOleAcc& OleAcc()
{
    static const TOleAcc api = [] {
        TOleAcc loaded;
        if (HMODULE dll = ::LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            loaded.lresultFromObject = reinterpret_cast<decltype(&::LresultFromObject)>(
                reinterpret_cast<void*>(::GetProcAddress(dll, "LresultFromObject")));
            loaded.createStdAccessibleObject = reinterpret_cast<decltype(&::CreateStdAccessibleObject)>(
                reinterpret_cast<void*>(::GetProcAddress(dll, "CreateStdAccessibleObject")));
        }
        return loaded;
    }();
    return api;
}

LONG RoleOf(AccRole role)
{
    switch (role) {
    case AccRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccRole::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
    case AccRole::Link: return ROLE_SYSTEM_LINK;
    case AccRole::ProgressBar: return ROLE_SYSTEM_PROGRESSBAR;
    case AccRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccRole::None: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

LONG StatesOf(unsigned states)
{
    LONG system = 0;
    if (states & kAccFocused) system |= STATE_SYSTEM_FOCUSED;
    if (states & kAccFocusable) system |= STATE_SYSTEM_FOCUSABLE;
    if (states & kAccChecked) system |= STATE_SYSTEM_CHECKED;
    if (states & kAccUnavailable) system |= STATE_SYSTEM_UNAVAILABLE;
    if (states & kAccInvisible) system |= STATE_SYSTEM_INVISIBLE;
    return system;
}

HRESULT AnswerText(const std::wstring& text, BSTR* out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

std::wstring TextOf(CPaintManagerUI& model, const std::wstring& controlName)
{
    const CControlUI* control = controlName.empty() ? nullptr : model.FindControl(controlName);
    return control ? control->GetText() : std::wstring();
}

class CAccessible : public IAccessible {
public:
    // The client object of `hWnd` (control null) or the object of one of its controls.
    CAccessible(HWND hWnd, CControlUI* control)
        : m_hWnd(hWnd), m_control(control), m_serial(control ? control->GetSerial() : 0)
    {
    }
    virtual ~CAccessible() = default;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_refs);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }

    // IDispatch: readers use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        CPaintManagerWnd* window = Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        if (m_control) {
            *parent = new CAccessible(m_hWnd, nullptr);
            return S_OK;
        }
        if (!OleAcc().createStdAccessibleObject) return S_FALSE;
        return OleAcc().createStdAccessibleObject(m_hWnd, OBJID_WINDOW, IID_IDispatch,
                                                  reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count) return E_POINTER;
        *count = 0;
        CPaintManagerWnd* window = Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        if (!m_control) *count = static_cast<long>(Children(*window).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        if (!m_control && control) {
            *out = new CAccessible(m_hWnd, control);
            return S_OK;
        }
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        if (control) return AnswerText(control->GetAccessibleName(), name);
        CPaintManagerWnd* window = Window();
        if (!window->GetAccessibleTitle().empty())
            return AnswerText(TextOf(window->Model(), window->GetAccessibleTitle()), name);
        wchar_t caption[256] = {};
        ::GetWindowTextW(m_hWnd, caption, 256);
        return AnswerText(caption, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        return AnswerText(control ? control->GetAccessibleValue() : std::wstring(), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        CPaintManagerWnd* window = Window();
        // A dialog's description is its message, which readers speak after the title.
        if (!control && !window->GetAccessibleMessage().empty())
            return AnswerText(TextOf(window->Model(), window->GetAccessibleMessage()), description);
        return AnswerText(std::wstring(), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role) return E_POINTER;
        ::VariantInit(role);
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        role->vt = VT_I4;
        if (control) role->lVal = RoleOf(control->GetAccessibleRole());
        else role->lVal = Window()->GetAccessibleTitle().empty() ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_DIALOG;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!state) return E_POINTER;
        ::VariantInit(state);
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        state->vt = VT_I4;
        const bool windowFocused = ::GetFocus() == m_hWnd;
        if (control) {
            unsigned states = control->GetAccessibleStates();
            // The control keeps its focus while another window is active; a reader asks about now.
            if (!windowFocused) states &= ~kAccFocused;
            state->lVal = StatesOf(states);
        } else {
            state->lVal = STATE_SYSTEM_FOCUSABLE;
            if (windowFocused && !Window()->Model().GetFocus()) state->lVal |= STATE_SYSTEM_FOCUSED;
            if (!::IsWindowVisible(m_hWnd)) state->lVal |= STATE_SYSTEM_INVISIBLE;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return AnswerText(std::wstring(), help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override
    {
        return AnswerText(std::wstring(), shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus) return E_POINTER;
        ::VariantInit(focus);
        CPaintManagerWnd* window = Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        if (::GetFocus() != m_hWnd) return S_FALSE;
        CControlUI* focused = window->Model().GetFocus();
        if (m_control) {
            if (focused != m_control) return S_FALSE;
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
            return S_OK;
        }
        if (focused && AccessibleIndexOf(Children(*window), focused) > 0) {
            focus->vt = VT_DISPATCH;
            focus->pdispVal = new CAccessible(m_hWnd, focused);
        } else {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection) return E_POINTER;
        ::VariantInit(selection);
        return Window() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        return AnswerText(control ? control->GetAccessibleDefaultAction() : std::wstring(), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        if (!(flags & SELFLAG_TAKEFOCUS)) return E_NOTIMPL;
        ::SetFocus(m_hWnd);
        if (control) control->SetFocus();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        RECT rc = {};
        if (control)
            rc = RECT{control->GetPos().left, control->GetPos().top, control->GetPos().right, control->GetPos().bottom};
        else ::GetClientRect(m_hWnd, &rc);
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        *left = rc.left;
        *top = rc.top;
        *width = rc.right - rc.left;
        *height = rc.bottom - rc.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end) return E_POINTER;
        ::VariantInit(end);
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(start, control);
        if (FAILED(hr)) return hr;
        const std::vector<CControlUI*> children = Children(*Window());
        const int count = static_cast<int>(children.size());
        int index = 0;
        if (!control && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
            index = direction == NAVDIR_FIRSTCHILD ? 1 : count;
        } else if (control && (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS)) {
            index = AccessibleIndexOf(children, control) + (direction == NAVDIR_NEXT ? 1 : -1);
        } else {
            return E_NOTIMPL;
        }
        if (index < 1 || index > count) return S_FALSE;
        end->vt = VT_DISPATCH;
        end->pdispVal = new CAccessible(m_hWnd, children[static_cast<std::size_t>(index - 1)]);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        if (!hit) return E_POINTER;
        ::VariantInit(hit);
        CPaintManagerWnd* window = Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        POINT pt = {x, y};
        ::ScreenToClient(m_hWnd, &pt);
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        if (!::PtInRect(&client, pt)) return S_FALSE;
        const std::vector<CControlUI*> children = Children(*window);
        // The innermost accessible control under the point, else the client area itself.
        CControlUI* found = nullptr;
        for (CControlUI* c = window->Model().FindControlAt(UIPoint{pt.x, pt.y}); c && !found; c = c->GetParent()) {
            if (AccessibleIndexOf(children, c) > 0) found = c;
        }
        if (m_control && found != m_control) return S_FALSE;
        if (found && !m_control) {
            hit->vt = VT_DISPATCH;
            hit->pdispVal = new CAccessible(m_hWnd, found);
        } else {
            hit->vt = VT_I4;
            hit->lVal = CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        CControlUI* control = nullptr;
        const HRESULT hr = Resolve(child, control);
        if (FAILED(hr)) return hr;
        if (!control || control->GetAccessibleDefaultAction().empty()) return DISP_E_MEMBERNOTFOUND;
        // Nothing acts while the control is hidden or disabled, or a modal box runs over the window.
        if (!control->IsVisible() || !control->IsEnabled() || !::IsWindowEnabled(m_hWnd)) return E_FAIL;
        // The action may open a modal question or close the window: it runs from the window's
        // own loop once this call has returned.
        Window()->QueueDefaultAction(control->GetSerial());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    CPaintManagerWnd* Window() const { return CPaintManagerWnd::FromWindow(m_hWnd); }

    static std::vector<CControlUI*> Children(CPaintManagerWnd& window)
    {
        return AccessibleChildren(window.Model().GetRoot());
    }

    // The control a call is about: null for the client object itself. Fails when the window has
    // closed, the control has left the tree, or the child id names no child.
    HRESULT Resolve(const VARIANT& child, CControlUI*& control) const
    {
        control = nullptr;
        CPaintManagerWnd* window = Window();
        if (!window) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (m_control) {
            if (child.lVal != CHILDID_SELF) return E_INVALIDARG;
            control = window->FindLiveControl(m_control, m_serial);
            return control ? S_OK : CO_E_OBJNOTCONNECTED;
        }
        if (child.lVal == CHILDID_SELF) return S_OK;
        const std::vector<CControlUI*> children = Children(*window);
        if (child.lVal < 1 || child.lVal > static_cast<long>(children.size())) return E_INVALIDARG;
        control = children[static_cast<std::size_t>(child.lVal - 1)];
        return S_OK;
    }

    LONG m_refs = 1;
    HWND m_hWnd;
    CControlUI* m_control;  // compared, never followed, until FindLiveControl vouches for it
    std::uint64_t m_serial;
};

}  // namespace

LRESULT AnswerGetObject(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    if (!OleAcc().lresultFromObject || !CPaintManagerWnd::FromWindow(hWnd)) return 0;
    CAccessible* client = new CAccessible(hWnd, nullptr);
    const LRESULT result = OleAcc().lresultFromObject(__uuidof(IAccessible), wParam, client);
    client->Release();
    return result > 0 ? result : 0;
}

}  // namespace SkinUI
