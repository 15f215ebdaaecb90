#include "ui/render/win/FontCache.h"

#include <algorithm>
#include <iterator>

#include "ui/render/FontFace.h"

namespace SkinUI {
namespace Render {

namespace {

LOGFONTW DefaultGuiLogFont()
{
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return lf;
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one match is enough
}

}  // namespace

bool IsFontInstalled(const std::wstring& face)
{
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    face.copy(lf.lfFaceName, face.size());
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

CFontCache::CFontCache(InstalledProbe isInstalled) : m_probe(std::move(isInstalled)) {}

CFontCache::~CFontCache() { Clear(); }

void CFontCache::Clear()
{
    for (auto& entry : m_fonts) DeleteObject(entry.second);
    m_fonts.clear();
}

bool CFontCache::Installed(const std::wstring& face)
{
    auto it = m_installed.find(face);
    if (it == m_installed.end()) it = m_installed.emplace(face, m_probe(face)).first;
    return it->second;
}

std::wstring CFontCache::FaceFor(const TFontSpec& request)
{
    LOGFONTW base = DefaultGuiLogFont();
    return ChooseFontFace(
        request.face, [this](const std::wstring& face) { return Installed(face); }, base.lfFaceName);
}

HFONT CFontCache::Get(const TFontSpec& request)
{
    Key key{request.face, request.height, request.bold, request.underline, request.italic};
    auto it = m_fonts.find(key);
    if (it != m_fonts.end()) return it->second;

    // Built from the default GUI font, so whatever the declaration leaves open matches the system.
    LOGFONTW lf = DefaultGuiLogFont();
    std::wstring face = FaceFor(request);
    std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
    face.copy(lf.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
    if (request.height != 0) lf.lfHeight = request.height;
    lf.lfWeight = request.bold ? FW_BOLD : FW_NORMAL;
    lf.lfUnderline = request.underline ? TRUE : FALSE;
    lf.lfItalic = request.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;  // grey-scale coverage; ClearType would tint the edges
    HFONT font = CreateFontIndirectW(&lf);
    if (font == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_fonts.emplace(key, font);
    return font;
}

}  // namespace Render
}  // namespace SkinUI
