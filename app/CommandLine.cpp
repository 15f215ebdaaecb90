#include "app/CommandLine.h"

#include <cstring>

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

// Keys whose value is the rest of their own token. "/D=" is not among them: it takes the rest of
// the line.
const wchar_t* const kTokenFolderKeys[] = {L"/DIR=", L"/dir=", L"/d=", L"--insPath=", L"--INSPATH=", L"APPDIR=", L"-o"};
const wchar_t* const kLogKeys[] = {L"/LOG=", L"/log="};
const wchar_t kWholeLineFolderKey[] = L"/D=";
constexpr wchar_t kReplacementCharacter = 0xFFFD;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

bool IsSilentKey(const std::wstring& token)
{
    for (const wchar_t* key : kSilentKeys)
        if (token == key) return true;
    return false;
}

// One token starting at `at` (no blank there): its text without quotes, and where it ends.
std::wstring ReadToken(const std::wstring& line, size_t& at)
{
    std::wstring token;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const wchar_t c = line[at];
        if (c == L'"') quoted = !quoted;
        else if (IsBlank(c) && !quoted) break;
        else token += c;
    }
    return token;
}

// The rest of the line after "/D=": trailing blanks go, and one pair of quotes around all of it.
std::wstring RestOfLine(const std::wstring& line, size_t from)
{
    size_t end = line.size();
    while (end > from && IsBlank(line[end - 1])) --end;
    std::wstring value = line.substr(from, end - from);
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
    return value;
}

void SetFolder(CommandLineOptions& options, std::wstring folder)
{
    if (options.directoryGiven) options.problem = CommandLineProblem::SeveralFolders;
    options.directoryGiven = true;
    options.directory = std::move(folder);
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& line)
{
    std::vector<std::wstring> tokens;
    size_t at = 0;
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        tokens.push_back(ReadToken(line, at));
    }
    return tokens;
}

CommandLineOptions ParseCommandLine(const std::wstring& line)
{
    CommandLineOptions options;
    size_t at = 0;
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        if (line.compare(at, std::wcslen(kWholeLineFolderKey), kWholeLineFolderKey) == 0) {
            SetFolder(options, RestOfLine(line, at + std::wcslen(kWholeLineFolderKey)));
            break;
        }
        const std::wstring token = ReadToken(line, at);
        if (IsSilentKey(token)) {
            options.silent = true;
            continue;
        }
        // A quoted "/D=..." is one token; its value ends with the quotes.
        if (StartsWith(token, kWholeLineFolderKey)) SetFolder(options, token.substr(std::wcslen(kWholeLineFolderKey)));
        for (const wchar_t* key : kTokenFolderKeys) {
            if (StartsWith(token, key)) {
                SetFolder(options, token.substr(std::wcslen(key)));
                break;
            }
        }
        for (const wchar_t* key : kLogKeys)
            if (StartsWith(token, key)) options.logPath = token.substr(std::wcslen(key));
    }
    // Several folders outweigh a garbled one: both are refused, the first says more.
    if (options.problem == CommandLineProblem::None &&
        options.directory.find(kReplacementCharacter) != std::wstring::npos)
        options.problem = CommandLineProblem::GarbledFolder;
    return options;
}
