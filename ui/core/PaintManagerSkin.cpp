// The process-wide skin calls of CPaintManagerUI, kept for code written against the paint
// manager; the skin itself is CSkinResources.
#include "ui/core/PaintManagerUI.h"
#include "ui/resources/SkinResources.h"

namespace SkinUI {

void CPaintManagerUI::SetResourceMode(int mode) { CSkinResources::SetResourceMode(mode); }

int CPaintManagerUI::GetResourceMode() { return CSkinResources::GetResourceMode(); }

void CPaintManagerUI::SetResourceFolder(const std::wstring& path) { CSkinResources::SetResourceFolder(path); }

std::wstring CPaintManagerUI::GetResourceFolder() { return CSkinResources::GetResourceFolder(); }

std::wstring CPaintManagerUI::GetResourceZipName() { return CSkinResources::GetResourceZipName(); }

bool CPaintManagerUI::IsResourceZipCached() { return CSkinResources::IsResourceZipCached(); }

bool CPaintManagerUI::OpenResourceArchive(const void* buffer, std::size_t length, const std::string& password)
{
    return CSkinResources::OpenResourceArchive(buffer, length, password);
}

bool CPaintManagerUI::OpenResourceArchiveFile(const std::wstring& name, bool cached)
{
    return CSkinResources::OpenResourceArchiveFile(name, cached);
}

}  // namespace SkinUI
