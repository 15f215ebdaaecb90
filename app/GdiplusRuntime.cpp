#include "app/GdiplusRuntime.h"

// GDI+ needs the COM property types, which the lean Windows header leaves out.
#include <objbase.h>
#include <gdiplus.h>

#include "KPCore/inner/DllHardening.h"

namespace {

using StartupFunction = Gdiplus::Status(WINAPI*)(ULONG_PTR*, const Gdiplus::GdiplusStartupInput*,
                                                 Gdiplus::GdiplusStartupOutput*);
using ShutdownFunction = void(WINAPI*)(ULONG_PTR);

}  // namespace

ULONG_PTR StartGdiplus()
{
    auto startup = SystemFunction<StartupFunction>(L"gdiplus.dll", "GdiplusStartup");
    if (!startup) return 0;
    Gdiplus::GdiplusStartupInput input;  // version 1, nothing suppressed
    ULONG_PTR token = 0;
    if (startup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
    return token;
}

void StopGdiplus(ULONG_PTR token)
{
    if (token == 0) return;
    if (auto shutdown = SystemFunction<ShutdownFunction>(L"gdiplus.dll", "GdiplusShutdown")) shutdown(token);
}
