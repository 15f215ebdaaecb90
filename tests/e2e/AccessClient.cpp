// A screen reader's view of the installer, for the end-to-end tests: reads the accessible tree of
// one of KPSetup.exe's windows through AccessibleObjectFromWindow (the process boundary and all)
// and prints it, runs a control's default action, follows a progress bar's value, and checks
// what objects that outlived their control or window answer.
//
//   kp_access_client tree CLASS             the window's client object and its children, a line each
//   kp_access_client do CLASS NAME          the default action of the child named NAME
//   kp_access_client watch CLASS NAME SEC   the tree, each new value of child NAME until it is gone or
//                                           SEC passed, then the tree again
//   kp_access_client stale CLASS NAME       holds child NAME and the client object, runs NAME's default
//                                           action, waits for the page or the window to change, and
//                                           prints what the held objects answer then
// CLASS is the window class ("kpmainframe", "kpmsgbox"). Exit code 0 on success, 1 on a failure
// (printed), 2 for a wrong command line.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ComPtr {
    IAccessible* p = nullptr;
    ~ComPtr()
    {
        if (p) p->Release();
    }
};

VARIANT Self()
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::string Utf8(const std::wstring& text)
{
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Take(BSTR text)
{
    std::wstring out = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return out;
}

std::string RoleName(long role)
{
    switch (role) {
    case ROLE_SYSTEM_CLIENT: return "client";
    case ROLE_SYSTEM_DIALOG: return "dialog";
    case ROLE_SYSTEM_PUSHBUTTON: return "push button";
    case ROLE_SYSTEM_CHECKBUTTON: return "check button";
    case ROLE_SYSTEM_LINK: return "link";
    case ROLE_SYSTEM_PROGRESSBAR: return "progress bar";
    case ROLE_SYSTEM_STATICTEXT: return "static text";
    case ROLE_SYSTEM_GRAPHIC: return "graphic";
    default: return "role " + std::to_string(role);
    }
}

std::string StateNames(long state)
{
    static const struct {
        long bit;
        const char* name;
    } kNames[] = {{STATE_SYSTEM_FOCUSED, "focused"},
                  {STATE_SYSTEM_FOCUSABLE, "focusable"},
                  {STATE_SYSTEM_CHECKED, "checked"},
                  {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
                  {STATE_SYSTEM_INVISIBLE, "invisible"}};
    std::string out;
    for (const auto& entry : kNames) {
        if (state & entry.bit) out += (out.empty() ? "" : ",") + std::string(entry.name);
    }
    return "[" + out + "]";
}

// One line: role "name" [states] value="..." action="..." description="..." @left,top,width,height
std::string Describe(IAccessible* object)
{
    const VARIANT self = Self();
    VARIANT role, state;
    BSTR name = nullptr, value = nullptr, action = nullptr, description = nullptr;
    const HRESULT hr = object->get_accRole(self, &role);
    if (FAILED(hr)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "error 0x%08lX", static_cast<unsigned long>(hr));
        return buffer;
    }
    object->get_accState(self, &state);
    object->get_accName(self, &name);
    object->get_accValue(self, &value);
    object->get_accDefaultAction(self, &action);
    object->get_accDescription(self, &description);
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, self);
    std::string line = RoleName(role.lVal) + " \"" + Utf8(Take(name)) + "\" " + StateNames(state.lVal);
    const std::wstring v = Take(value), a = Take(action), d = Take(description);
    if (!v.empty()) line += " value=\"" + Utf8(v) + "\"";
    if (!a.empty()) line += " action=\"" + Utf8(a) + "\"";
    if (!d.empty()) line += " description=\"" + Utf8(d) + "\"";
    line += " @" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + "," +
            std::to_string(height);
    return line;
}

bool OpenClient(const wchar_t* windowClass, ComPtr& client)
{
    const HWND hWnd = ::FindWindowW(windowClass, nullptr);
    if (!hWnd) {
        std::printf("FAIL: no window of class %s\n", Utf8(windowClass).c_str());
        return false;
    }
    const HRESULT hr = ::AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(&client.p));
    if (FAILED(hr) || !client.p) {
        std::printf("FAIL: AccessibleObjectFromWindow: 0x%08lX\n", static_cast<unsigned long>(hr));
        return false;
    }
    return true;
}

std::vector<IAccessible*> Children(IAccessible* client)
{
    std::vector<IAccessible*> children;
    long count = 0;
    if (FAILED(client->get_accChildCount(&count))) return children;
    for (long i = 1; i <= count; ++i) {
        VARIANT id;
        ::VariantInit(&id);
        id.vt = VT_I4;
        id.lVal = i;
        IDispatch* dispatch = nullptr;
        IAccessible* child = nullptr;
        if (client->get_accChild(id, &dispatch) == S_OK && dispatch) {
            dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child));
            dispatch->Release();
        }
        if (child) children.push_back(child);
    }
    return children;
}

void ReleaseAll(std::vector<IAccessible*>& objects)
{
    for (IAccessible* o : objects) o->Release();
    objects.clear();
}

std::wstring NameOf(IAccessible* object)
{
    BSTR name = nullptr;
    object->get_accName(Self(), &name);
    return Take(name);
}

// The child named `name` (AddRef'd), or null.
IAccessible* FindChild(IAccessible* client, const std::wstring& name)
{
    std::vector<IAccessible*> children = Children(client);
    IAccessible* found = nullptr;
    for (IAccessible* child : children) {
        if (!found && NameOf(child) == name) {
            found = child;
            found->AddRef();
        }
    }
    ReleaseAll(children);
    return found;
}

void PrintTree(IAccessible* client)
{
    std::printf("%s\n", Describe(client).c_str());
    std::vector<IAccessible*> children = Children(client);
    for (IAccessible* child : children) std::printf("  %s\n", Describe(child).c_str());
    ReleaseAll(children);
}

int Tree(const wchar_t* windowClass)
{
    ComPtr client;
    if (!OpenClient(windowClass, client)) return 1;
    PrintTree(client.p);
    return 0;
}

// The window's client object and its child of that name; false, said on stdout, without either.
bool OpenChild(const wchar_t* windowClass, const std::wstring& name, ComPtr& client, ComPtr& child)
{
    if (!OpenClient(windowClass, client)) return false;
    child.p = FindChild(client.p, name);
    if (child.p) return true;
    std::printf("FAIL: no child named %s\n", Utf8(name).c_str());
    return false;
}

int Do(const wchar_t* windowClass, const std::wstring& name)
{
    ComPtr client, child;
    if (!OpenChild(windowClass, name, client, child)) return 1;
    const HRESULT hr = child.p->accDoDefaultAction(Self());
    std::printf("default action: 0x%08lX\n", static_cast<unsigned long>(hr));
    return SUCCEEDED(hr) ? 0 : 1;
}

int Watch(const wchar_t* windowClass, const std::wstring& name, int seconds)
{
    ComPtr client;
    if (!OpenClient(windowClass, client)) return 1;
    PrintTree(client.p);
    std::wstring last;
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (::GetTickCount() < end) {
        IAccessible* child = FindChild(client.p, name);
        if (!child) break;  // the page changed
        BSTR value = nullptr;
        child->get_accValue(Self(), &value);
        child->Release();
        const std::wstring now = Take(value);
        if (now != last) std::printf("value %s\n", Utf8(now).c_str());
        last = now;
        ::Sleep(20);
    }
    // The page that follows, read at once (the completion page closes by itself soon).
    std::printf("then:\n");
    PrintTree(client.p);
    return 0;
}

int Stale(const wchar_t* windowClass, const std::wstring& name)
{
    ComPtr client, child;
    if (!OpenChild(windowClass, name, client, child)) return 1;
    long before = 0;
    client.p->get_accChildCount(&before);
    std::printf("before: %s\n", Describe(child.p).c_str());
    std::printf("default action: 0x%08lX\n", static_cast<unsigned long>(child.p->accDoDefaultAction(Self())));
    // Until the window is gone or shows other children.
    const HWND hWnd = ::FindWindowW(windowClass, nullptr);
    for (int i = 0; i < 100 && ::IsWindow(hWnd); ++i) {
        long count = 0;
        if (client.p->get_accChildCount(&count) == S_OK && count != before) break;
        ::Sleep(50);
    }
    ::Sleep(200);
    std::printf("window: %s\n", ::IsWindow(hWnd) ? "open" : "closed");
    std::printf("held child: %s\n", Describe(child.p).c_str());
    long count = -1;
    const HRESULT hr = client.p->get_accChildCount(&count);
    std::printf("held client: 0x%08lX children %ld\n", static_cast<unsigned long>(hr), count);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::CoInitialize(nullptr);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    int code = 2;
    if (command == L"tree" && argc == 3) code = Tree(argv[2]);
    else if (command == L"do" && argc == 4) code = Do(argv[2], argv[3]);
    else if (command == L"watch" && argc == 5) code = Watch(argv[2], argv[3], _wtoi(argv[4]));
    else if (command == L"stale" && argc == 4) code = Stale(argv[2], argv[3]);
    else std::printf("usage: kp_access_client tree|do|watch|stale CLASS [NAME] [SECONDS]\n");
    ::CoUninitialize();
    return code;
}
