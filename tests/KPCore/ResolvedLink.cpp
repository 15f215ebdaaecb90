#include "ResolvedLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

ResolvedLink ResolveLink(const std::wstring& linkFile)
{
    ResolvedLink resolved;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return resolved;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(linkFile.c_str(), STGM_READ))) {
            resolved.loaded = true;
            wchar_t text[INFOTIPSIZE] = {};
            // The target as the shell follows it: the item list. (Wine's GetPath answers with the
            // path passed through the ANSI code page, which turns Chinese folder names into "?".)
            PIDLIST_ABSOLUTE items = nullptr;
            if (SUCCEEDED(link->GetIDList(&items)) && items != nullptr) {
                if (SHGetPathFromIDListW(items, text)) resolved.target = text;
                CoTaskMemFree(items);
            }
            text[0] = 0;
            link->GetArguments(text, INFOTIPSIZE);
            resolved.arguments = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, MAX_PATH);
            resolved.workingDir = text;
            text[0] = 0;
            link->GetDescription(text, INFOTIPSIZE);
            resolved.description = text;
            text[0] = 0;
            link->GetIconLocation(text, MAX_PATH, &resolved.iconIndex);
            resolved.iconPath = text;
        }
        file->Release();
    }
    link->Release();
    return resolved;
}
