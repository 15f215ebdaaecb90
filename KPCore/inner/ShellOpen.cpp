#include "KPCore/inner/ShellOpen.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "KPCore/inner/ComRef.h"

namespace {

// A VARIANT holding a string, freed with it.
class StringVariant {
public:
    explicit StringVariant(const std::wstring& text)
    {
        VariantInit(&m_value);
        m_value.vt = VT_BSTR;
        m_value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    ~StringVariant() { VariantClear(&m_value); }
    StringVariant(const StringVariant&) = delete;
    StringVariant& operator=(const StringVariant&) = delete;
    const VARIANT& Get() const { return m_value; }
    bool Holds() const { return m_value.bstrVal != nullptr; }

private:
    VARIANT m_value;
};

// The desktop's IShellDispatch2: the shell windows, the desktop among them, its browser, its view,
// the view's automation object and that object's application.
HRESULT DesktopShell(ComRef<IShellDispatch2>& shell)
{
    ComRef<IShellWindows> windows;
    HRESULT hr =
        CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.ReceiveVoid());
    if (FAILED(hr)) return hr;
    VARIANT desktop;
    VariantInit(&desktop);
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none;
    VariantInit(&none);
    long window = 0;
    ComRef<IDispatch> found;
    hr = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Receive());
    // S_FALSE: no desktop window is registered.
    if (hr != S_OK || !found) return FAILED(hr) ? hr : E_FAIL;
    ComRef<IServiceProvider> provider;
    if (FAILED(hr = found->QueryInterface(IID_IServiceProvider, provider.ReceiveVoid()))) return hr;
    ComRef<IShellBrowser> browser;
    hr = provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.ReceiveVoid());
    if (FAILED(hr)) return hr;
    ComRef<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(view.Receive()))) return hr;
    ComRef<IDispatch> background;
    if (FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.ReceiveVoid()))) return hr;
    ComRef<IShellFolderViewDual> folderView;
    hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.ReceiveVoid());
    if (FAILED(hr)) return hr;
    ComRef<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(application.Receive()))) return hr;
    if (!application) return E_NOINTERFACE;
    return application->QueryInterface(IID_IShellDispatch2, shell.ReceiveVoid());
}

}  // namespace

HINSTANCE OpenWithShell(const std::wstring& file)
{
    return ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOW);
}

HRESULT ShellExecuteThroughDesktop(const std::wstring& file, const std::wstring& directory)
{
    ComRef<IShellDispatch2> shell;
    HRESULT hr = DesktopShell(shell);
    if (FAILED(hr)) return hr;
    // Explorer brings the program's window forward only when it may take the foreground from us.
    AllowSetForegroundWindow(ASFW_ANY);
    BSTR name = SysAllocStringLen(file.data(), static_cast<UINT>(file.size()));
    if (!name) return E_OUTOFMEMORY;
    const StringVariant arguments(L"");
    const StringVariant folder(directory);
    const StringVariant operation(L"open");
    VARIANT show;
    VariantInit(&show);
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    hr = (arguments.Holds() && folder.Holds() && operation.Holds())
             ? shell->ShellExecute(name, arguments.Get(), folder.Get(), operation.Get(), show)
             : E_OUTOFMEMORY;
    SysFreeString(name);
    return hr;
}

ShellStart OpenAsDesktopUser(const std::wstring& file, const std::wstring& directory, DesktopRoute route)
{
    if (route && SUCCEEDED(route(file, directory))) return ShellStart::AsDesktopUser;
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), nullptr,
                                           directory.empty() ? nullptr : directory.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? ShellStart::Directly : ShellStart::Failed;
}
