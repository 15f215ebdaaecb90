#pragma once
#include <windows.h>

#include <string>

// Opens a document or web address with the program associated with it, shown normally, from this
// process (so with its rights). Returns what ShellExecuteW returns: a value above 32 on success.
HINSTANCE OpenWithShell(const std::wstring& file);

// Opens `file` (a program, a document or a web address) through the desktop's own shell: the
// Explorer that shows the desktop runs it (IShellDispatch2::ShellExecute of the desktop's folder
// view), so it gets the signed-in user's ordinary rights, not this elevated process's. `directory`
// is its current folder (empty: the shell's choice). S_OK when the shell has taken it; an error
// when there is no desktop shell to ask (no Explorer running, or a session without a desktop).
HRESULT ShellExecuteThroughDesktop(const std::wstring& file, const std::wstring& directory);

// How OpenAsDesktopUser started something.
enum class ShellStart {
    AsDesktopUser,  // through the desktop's shell
    Directly,       // no desktop shell answered: from this process, as OpenWithShell does
    Failed,         // neither way
};

using DesktopRoute = HRESULT (*)(const std::wstring& file, const std::wstring& directory);

// The desktop's shell when it answers, otherwise this process's own start (the program then runs
// with the installer's rights, as it would without the desktop route). `route` is the desktop
// route unless a test hands in another.
ShellStart OpenAsDesktopUser(const std::wstring& file, const std::wstring& directory = std::wstring(),
                             DesktopRoute route = ShellExecuteThroughDesktop);
