#pragma once
#include <string>

// The optional resource index of a skin: a small document of image aliases that image names are
// translated through before they are looked up. A skin without one uses the names as written.
//
// Format (UTF-8 XML; element and attribute names ignore case):
//   <?xml version="1.0" encoding="utf-8"?>
//   <Resources>
//     <Image name="logo.png" file="Install uninstall\logo_large.png" />
//   </Resources>
// Each Image element maps the name an image attribute uses (compared without regard to case or
// to "\" versus "/") to the file read in its place. Aliases are not chained: the file is used as
// it stands. Other elements, and Image elements without both attributes, are ignored; of two
// entries for one name the first counts.
namespace SkinUI {

class CResourceIndex {
public:
    // Loads the index document `name` from the skin (or, with a resource type, from the
    // executable's resources of that type), replacing any index loaded before. Returns false,
    // and leaves no index, when there is no such document or it does not parse.
    static bool Load(const std::wstring& name, const std::wstring& type = std::wstring());
    // Parses index document text directly (what Load does after reading).
    static bool LoadFromText(const std::wstring& text);
    static void Clear();

    // The file that stands for image `name`: its alias target, or `name` itself.
    static std::wstring TranslateImage(const std::wstring& name);
    static size_t ImageCount();
};

}  // namespace SkinUI
