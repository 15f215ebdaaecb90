// Loading a layout document by name: from the skin archive or folder, or, for a name that starts
// with "<", from the name itself.
#include <vector>

#include "ui/Markup.h"
#include "ui/SkinResources.h"

namespace SkinUI {

bool CMarkup::LoadFromFile(const std::wstring& name, int encoding)
{
    if (!name.empty() && name[0] == L'<') {
        return Load(name);
    }
    Release();
    std::vector<unsigned char> bytes;
    std::wstring errorText;
    if (!CSkinResources::ReadMember(name, bytes, errorText, kMaxDocumentBytes)) {
        SetLastError(errorText);
        return false;
    }
    return LoadFromMem(bytes.data(), bytes.size(), encoding);
}

}  // namespace SkinUI
