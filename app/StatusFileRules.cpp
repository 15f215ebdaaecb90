#include "app/StatusFileRules.h"

namespace {
constexpr std::size_t kCutFromLocal = 6;
constexpr std::size_t kLongestPath = 260;
}  // namespace

std::wstring RoamingDataDirFrom(const std::wstring& localAppData)
{
    const std::wstring appData =
        localAppData.size() > kCutFromLocal ? localAppData.substr(0, localAppData.size() - kCutFromLocal) : L"";
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
