#pragma once
#include <optional>
#include <string>
#include <vector>

// The pure rules of the status file APP.ini that the setup package and the installer share.
// The Windows side is in app/StatusFile.h.

constexpr wchar_t kStatusSection[] = L"Install";
constexpr wchar_t kChannelKey[] = L"channel";
constexpr wchar_t kActiveKey[] = L"active";
constexpr wchar_t kStatusDefault[] = L"error";  // what a read gives for a missing key or file
constexpr wchar_t kSeedChannel[] = L"360dazido01";
constexpr wchar_t kActiveAtStart[] = L"0";
constexpr wchar_t kProductFolder[] = L"KPCapture";

// The product's roaming data folder, made from the local application-data folder: its last six
// characters are cut whatever they are (normally "\Local"), then "\Roaming\KPCapture" is added.
// Empty when what is left is no full path ("X:\..." or "\\server\..."): a missing or short
// profile folder must not turn into a folder at the root of the current drive.
std::wstring RoamingDataDirFrom(const std::wstring& localAppData);

// The status file inside that folder.
std::wstring StatusFilePathIn(const std::wstring& folder);

// A channel that reads as the default (no key, no file, or the literal "error") is seeded; any
// other value belongs to the package and is kept.
bool ChannelNeedsSeed(const std::wstring& channelRead);

// Only the exact value "1" means the package has finished: not "01", "1 " or "true".
bool IsInstallFinished(const std::wstring& active);

// The folders to check and create, in order, to make `path` with every missing parent: each
// prefix up to and including a backslash, then the whole path unless it ends with a backslash.
// Only the backslash separates. No value for a path of 261 characters or more.
std::optional<std::vector<std::wstring>> DirectoryCreationSteps(const std::wstring& path);
