#include "app/InstallFlowServices.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <utility>

#include "app/PackageCommand.h"
#include "app/StatusFile.h"
#include "net/WinDownloader.h"

namespace {

// The status file's place, found once per start: each poll tick then only makes sure its folder
// is still there (the package, or the user, may have removed it), which keeps a tick cheap.
struct StatusFilePlace {
    std::wstring folder;
    std::wstring file;
};

}  // namespace

InstallFlowServices RealInstallFlowServices()
{
    InstallFlowServices services;
    services.makeDownloader = [](DownloadCallback observer, const std::wstring& url, const std::wstring& savePath) {
        return std::shared_ptr<CDownloader>(
            std::make_shared<CWinDownloader>(std::move(observer), url.c_str(), savePath.c_str()));
    };
    services.makePackagePath = MakePackagePath;
    services.startPackage = [](const std::wstring& path, const std::wstring& parameters) {
        // Values above 32 mean the program was started.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", path.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
        return result > 32;
    };
    services.removePackage = [](const std::wstring& path) { DeleteFileW(path.c_str()); };
    auto place = std::make_shared<StatusFilePlace>();
    services.prepareStatusFile = [place] {
        place->folder = GetRoamingDataDir();
        place->file = GetStatusFilePath();
        PrepareStatusFile(place->file);
    };
    services.pollStatusFile = [place] {
        if (!PathFileExistsW(place->folder.c_str())) EnsureDirectory(place->folder);
        return PollStatusFile(place->file);
    };
    return services;
}

std::wstring MakePackagePath()
{
    const std::wstring folder = GetRoamingDataDir();
    EnsureDirectory(folder);
    // A failure leaves the record zeroed: the name is then all zeros, still a usable name.
    GUID guid{};
    CoCreateGuid(&guid);
    return folder + L"\\" + PackageFileName(guid.Data1, guid.Data2, guid.Data3, guid.Data4);
}
