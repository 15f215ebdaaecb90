#include "ui/resources/SkinMarkup.h"

#include <vector>

#include "ui/resources/SkinResources.h"

namespace SkinUI {

bool LoadSkinMarkup(CMarkup& markup, const std::wstring& name, int encoding)
{
    if (!name.empty() && name[0] == L'<') {
        return markup.Load(name);
    }
    markup.Release();
    std::vector<unsigned char> bytes;
    std::wstring errorText;
    if (!CSkinResources::ReadMember(name, bytes, errorText, kMaxDocumentBytes)) {
        markup.SetLastError(errorText);
        return false;
    }
    return markup.LoadFromMem(bytes.data(), bytes.size(), encoding);
}

}  // namespace SkinUI
