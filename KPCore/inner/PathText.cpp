#include "KPCore/inner/PathText.h"

#include "KPCore/inner/ProductInfo.h"

std::wstring BoundedText(const std::wstring& text, std::size_t bufferChars)
{
    if (bufferChars == 0) return std::wstring();
    return text.substr(0, bufferChars - 1);
}

std::wstring DirectoryOfPath(const std::wstring& path)
{
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash);
}

std::wstring DefaultInstallDirIn(const std::wstring& programFilesFolder)
{
    if (programFilesFolder.empty()) return std::wstring();
    return programFilesFolder + L"\\" + kDefaultInstallFolderName;
}

ProgramShortcutPaths PlanProgramShortcuts(const std::wstring& programsFolder, const std::wstring& productName)
{
    ProgramShortcutPaths paths;
    auto bounded = [&paths](const std::wstring& full) {
        std::wstring cut = BoundedText(full);
        if (cut.size() != full.size()) paths.complete = false;
        return cut;
    };
    paths.groupFolder = bounded(programsFolder + L"\\" + productName);
    paths.applicationLink = bounded(paths.groupFolder + L"\\" + productName + L".lnk");
    paths.uninstallerLink = bounded(paths.groupFolder + L"\\卸载" + productName + L".lnk");
    return paths;
}

std::wstring ShortcutDescription(const std::wstring& productName, const std::wstring& installDir)
{
    return L"位置: " + productName + L"(" + installDir + L")";
}

static bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::optional<std::vector<std::wstring>> DirectoryChainSteps(const std::wstring& path)
{
    std::wstring work(path.c_str());
    if (work.empty() || !IsSeparator(work.back())) work += L'/';
    if (work.size() + 1 > kDirectoryChainBufferChars) return std::nullopt;

    std::vector<std::wstring> steps;
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (!IsSeparator(work[i])) continue;
        if (i > 0 && !IsSeparator(work[i - 1])) steps.push_back(work.substr(0, i));
        work[i] = L'/';
    }
    return steps;
}
