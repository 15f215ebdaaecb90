// The demo application of 凯普视频工坊: what the installer installs and starts with "立即体验".
// One window that says which product and version it is and where it is installed.
#include <windows.h>

#include <string>

#include "KPCore/inner/PathText.h"
#include "KPCore/inner/ProductInfo.h"
#include "KPCore/inner/SystemFolders.h"
#include "tools/demo/DemoProduct.h"

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 240;

HFONT MakeFont(int height, int weight)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"微软雅黑");
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(RGB(0x1C, 0x22, 0x2E));
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);

    HFONT title = MakeFont(34, FW_BOLD);
    HFONT body = MakeFont(18, FW_NORMAL);
    HGDIOBJ previous = SelectObject(dc, title);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT line = {32, 36, client.right - 32, 84};
    DrawTextW(dc, kProductName, -1, &line, DT_LEFT | DT_SINGLELINE | DT_VCENTER);

    SelectObject(dc, body);
    SetTextColor(dc, RGB(0xEA, 0xEA, 0xEA));
    const std::wstring version = std::wstring(L"版本 ") + kProductVersion + L"（演示版）已安装，可以开始使用。";
    line = {32, 100, client.right - 32, 130};
    DrawTextW(dc, version.c_str(), -1, &line, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    const std::wstring folder = L"安装位置: " + GetModuleDir();
    line = {32, 136, client.right - 32, 196};
    DrawTextW(dc, folder.c_str(), -1, &line, DT_LEFT | DT_WORDBREAK | DT_PATH_ELLIPSIS);

    SelectObject(dc, previous);
    DeleteObject(title);
    DeleteObject(body);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kDemoAppWindowClass;
    if (!RegisterClassExW(&windowClass)) return 1;

    // Titled with the product name and "KPApp", so it can be told apart from the installer.
    const std::wstring title = std::wstring(kProductName) + L" - KPApp";
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, kDemoAppWindowClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                                  kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
