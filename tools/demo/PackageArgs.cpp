#include "tools/demo/PackageArgs.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring ParametersOf(const std::wstring& commandLine)
{
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::optional<PackageArgs> ParsePackageArgs(const std::wstring& parameters)
{
    static const std::wstring instdir = L"-instdir=";
    static const std::wstring dsc = L" -dsc=";
    if (parameters.compare(0, instdir.size(), instdir) != 0) return std::nullopt;
    const size_t dscAt = parameters.rfind(dsc);
    if (dscAt == std::wstring::npos || dscAt < instdir.size()) return std::nullopt;

    PackageArgs args;
    args.installDir = parameters.substr(instdir.size(), dscAt - instdir.size());
    std::wstring choice = parameters.substr(dscAt + dsc.size());
    while (!choice.empty() && IsBlank(choice.back())) choice.pop_back();
    if (args.installDir.empty()) return std::nullopt;
    if (choice == L"true") {
        args.desktopShortcut = true;
    } else if (choice != L"false") {
        return std::nullopt;
    }
    return args;
}
