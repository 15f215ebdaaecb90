#pragma once
#include <windows.h>

// GDI+ brought up and down through gdiplus.dll from the system folder, loaded at run time: the
// program does not import it (see KPCore/inner/DllHardening.h).

// GdiplusStartup with version 1, no debug callback, the background thread and external codecs
// not suppressed, and no output record. Returns the token, 0 when GDI+ could not be started.
ULONG_PTR StartGdiplus();

// GdiplusShutdown with the token; nothing for 0.
void StopGdiplus(ULONG_PTR token);
