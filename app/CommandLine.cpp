#include "app/CommandLine.h"

namespace {

const wchar_t* const kSilentKeys[] = {
    L"/S",
    L"/s",
    L"/verysilent/norestart/suppressmsgboxes",
    L"/VERYSILENT/NORESATRT/SUPPRESSMSGBOXES",
    L"/silent",
    L"/SILENT",
    L"/quiet",
    L"-instdir",
    L"-INSTDIR",
};

// Searched in this order; when a token holds several, the last one found wins.
const wchar_t* const kDirectoryKeys[] = {
    L"/D=", L"/dir=", L"--insPath=", L"/d=", L"/DIR=", L"--INSPATH=", L"APPDIR=", L"-o",
};

bool IsSilentKey(const std::wstring& token)
{
    for (const wchar_t* key : kSilentKeys)
        if (token == key) return true;
    return false;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& line)
{
    std::vector<std::wstring> tokens;
    size_t start = 0;
    while (start < line.size()) {
        const size_t space = line.find(L' ', start);
        if (space == std::wstring::npos) {
            tokens.push_back(line.substr(start));
            break;
        }
        tokens.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    return tokens;
}

CommandLineOptions ParseCommandLine(const std::wstring& line)
{
    CommandLineOptions options;
    for (const std::wstring& token : SplitCommandLine(line)) {
        if (IsSilentKey(token)) {
            options.silent = true;
            continue;
        }
        for (const wchar_t* key : kDirectoryKeys) {
            const std::wstring k(key);
            const size_t at = token.find(k);
            if (at != std::wstring::npos) options.directory = token.substr(at + k.size());
        }
    }
    return options;
}
