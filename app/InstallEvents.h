#pragma once

// Events of the install flow (KpBase::OnEvent codes) and the window message that carries them to
// the UI thread.
enum InstallEvent : int {
    EVENT_POST_TO_UI = 1,       // argument: an event code to run on the UI thread (argument 0)
    EVENT_SHOW_PAGE = 64,       // argument: page 0 welcome, 1 options, 2 progress, 3 completion
    EVENT_START_INSTALL = 65,   // the start procedure
};

enum InstallPage : int {
    PAGE_WELCOME = 0,
    PAGE_OPTIONS = 1,
    PAGE_PROGRESS = 2,
    PAGE_COMPLETE = 3,
};

// WM_USER + 0x202: wParam is the event code.
constexpr unsigned int WM_INSTALL_EVENT = 0x602;

// Timers of the main window.
constexpr unsigned int TIMER_POLL_STATUS = 268;  // every 108 ms while the package installs
constexpr unsigned int TIMER_AUTO_CLOSE = 286;   // 3000 ms after the completion page is shown
// Once, as soon as the window has nothing else to do after its first frame: a timer's message
// comes only when no posted message or paint is waiting.
constexpr unsigned int TIMER_WARM_UP = 300;
constexpr unsigned int POLL_STATUS_MS = 108;
constexpr unsigned int AUTO_CLOSE_MS = 3000;
