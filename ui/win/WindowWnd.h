#pragma once
#include <windows.h>

namespace SkinUI {

// The native window wrapper: registers the class, creates the window, routes its messages to
// HandleMessage and runs modal loops. The object outlives its window; OnFinalMessage runs after
// WM_NCDESTROY and is where windows that own themselves delete themselves.
class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;
    virtual ~CWindowWnd() = default;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The module that window classes are registered in and resources are loaded from.
    static void SetInstance(HINSTANCE instance) { s_instance = instance; }
    static HINSTANCE GetInstance();

    bool RegisterWindowClass();
    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);

    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window, disables its owner and runs messages until the window is gone. Returns the
    // wParam of the last WM_CLOSE that reached this window, posted or sent (0 when none did). Every
    // WM_CLOSE re-enables the owner before the window handles it, so that when the window goes
    // (Alt+F4, the system menu, another process) Windows activates the owner and not some other
    // application's window; a window that declines to close disables it again.
    UINT ShowModal();
    // The window whose modal loop (ShowModal) runs over `owner` on this thread, the innermost when
    // several do; null when none does.
    static HWND ModalWindowOver(HWND owner);
    // Posts WM_CLOSE carrying the result.
    void Close(UINT result = IDOK);
    void SetIcon(UINT resourceId);
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Every modal and main loop offers each message to this filter first (the paint managers'
    // pre-translation); true means consumed.
    using MessagePreTranslator = bool (*)(MSG* msg);
    static void SetMessagePreTranslator(MessagePreTranslator translator) { s_preTranslator = translator; }
    // Translates and dispatches one message unless the pre-translation consumes it.
    static void DispatchOne(MSG& msg);

protected:
    virtual const wchar_t* GetWindowClass() const = 0;
    virtual const wchar_t* GetBaseWindowClass() const { return nullptr; }
    virtual UINT GetWindowClassStyle() const { return CS_DBLCLKS; }
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd) {}

    HWND m_hWnd = nullptr;

private:
    // One running ShowModal, kept on its stack and linked from the innermost outwards.
    struct ModalLoop {
        HWND window;
        HWND owner;
        UINT result;
        ModalLoop* outer;
    };
    static ModalLoop* FindModalLoop(HWND window);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    static HINSTANCE s_instance;
    static MessagePreTranslator s_preTranslator;
    static ModalLoop* s_modalLoops;  // the UI thread's running modal loops, innermost first
};

}  // namespace SkinUI
