#pragma once
#include <string>

// What a shortcut file says when the shell reads it back (COM must be initialised).
struct ResolvedLink {
    bool loaded = false;
    std::wstring target, arguments, workingDir, description, iconPath;
    int iconIndex = -1;
};

ResolvedLink ResolveLink(const std::wstring& linkFile);
