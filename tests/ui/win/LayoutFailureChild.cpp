// A program whose first window names a layout document the skin does not hold. The window base
// must tell the user and end the process with exit code 1; reaching the end of main is a fault.
#include <windows.h>

#include "WindowTestSupport.h"
#include "ui/win/WindowImplBase.h"

namespace {

class CMissingLayoutWnd : public SkinUI::WindowImplBase {
public:
    const wchar_t* GetWindowClass() const override { return L"kpfailchild"; }
    std::wstring GetLayoutFile() const override { return L"NoSuchPage.xml"; }
};

}  // namespace

int main()
{
    WindowTest::InitProcessDpi();
    if (!WindowTest::OpenSkin()) return 2;
    CMissingLayoutWnd window;
    window.Create(nullptr, L"凯普视频工坊", 0x10CC0000, 0x100);
    return 3;
}
