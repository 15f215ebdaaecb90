#pragma once
// What every installer window shares: the program icon, and the window styles of the main window
// and of each question box over it. The resource script of KPSetup.exe reads this file too, so the
// icon's id is a preprocessor definition.
#define KP_PROGRAM_ICON_ID 101

#ifndef RC_INVOKED
#include <windows.h>

constexpr UINT kProgramIconId = KP_PROGRAM_ICON_ID;

// Visible, with caption, system menu and sizing frame (the skin draws its own caption and frame
// over them), and a raised edge.
constexpr DWORD kInstallerWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kInstallerWindowExStyle = WS_EX_WINDOWEDGE;
static_assert(kInstallerWindowStyle == 0x10CC0000, "the installer's windows keep their style");
#endif
