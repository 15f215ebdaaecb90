#include "app/StatusFileRules.h"

namespace {
constexpr std::size_t kCutFromLocal = 6;
constexpr std::size_t kLongestPath = 260;
}  // namespace

std::wstring RoamingDataDirFrom(const std::wstring& localAppData)
{
    if (localAppData.size() <= kCutFromLocal) return std::wstring();
    const std::wstring appData = localAppData.substr(0, localAppData.size() - kCutFromLocal);
    const bool onDrive = appData.size() > 3 && appData[1] == L':' && appData[2] == L'\\' &&
                         ((appData[0] >= L'A' && appData[0] <= L'Z') || (appData[0] >= L'a' && appData[0] <= L'z'));
    const bool onShare = appData.size() > 2 && appData[0] == L'\\' && appData[1] == L'\\';
    if ((!onDrive && !onShare) || appData.back() == L'\\') return std::wstring();
    return appData + L"\\Roaming\\" + kProductFolder;
}

std::wstring StatusFilePathIn(const std::wstring& folder)
{
    const bool endsWithSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return folder + (endsWithSeparator || folder.empty() ? L"" : L"\\") + L"APP.ini";
}

bool ChannelNeedsSeed(const std::wstring& channelRead) { return channelRead == kStatusDefault; }

bool IsInstallFinished(const std::wstring& active) { return active == L"1"; }

std::optional<std::vector<std::wstring>> DirectoryCreationSteps(const std::wstring& path)
{
    if (path.size() > kLongestPath) return std::nullopt;
    std::vector<std::wstring> steps;
    for (std::size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        steps.push_back(path.substr(0, at + 1));
    if (path.empty() || path.back() != L'\\') steps.push_back(path);
    return steps;
}
