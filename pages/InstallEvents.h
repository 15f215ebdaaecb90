#pragma once

// Events of the wizard (KpBase::OnEvent codes), its pages, and the window message that carries an
// event to the UI thread.
enum InstallEvent : int {
    EVENT_POST_TO_UI = 1,      // argument: an event code to run on the UI thread (argument 0)
    EVENT_SHOW_PAGE = 64,      // argument: page 0 welcome, 1 options, 2 progress, 3 completion
    EVENT_START_INSTALL = 65,  // the start procedure
};

enum InstallPage : int {
    PAGE_WELCOME = 0,
    PAGE_OPTIONS = 1,
    PAGE_PROGRESS = 2,
    PAGE_COMPLETE = 3,
};

// WM_USER + 0x202: wParam is the event code.
constexpr unsigned int WM_INSTALL_EVENT = 0x602;
