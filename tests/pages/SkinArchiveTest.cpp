// The built skin archive: exactly the planned members, every image at its size and every
// display-scale variant at base size x factor, the documents' encoding and line ends, every
// image a document names present, and text readable on the images drawn behind it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "pages/SkinArchiveFile.h"

using skintest::Bytes;

namespace {

struct Planned {
    std::string path;
    int width;
    int height;
    bool variants;  // has @1.25x, @1.5x, @1.75x and @2x files
};

const double kFactors[] = {1.25, 1.5, 1.75, 2.0};
const char* const kSuffixes[] = {"@1.25x", "@1.5x", "@1.75x", "@2x"};

// The files' pixel size at a factor: base x factor, halves rounded up.
int Scaled(int base, double factor) { return static_cast<int>(std::floor(base * factor + 0.5)); }

std::string WithSuffix(const std::string& path, const char* suffix)
{
    const size_t dot = path.rfind('.');
    return path.substr(0, dot) + suffix + path.substr(dot);
}

void AddStates(std::vector<Planned>& out, const std::string& stem, int w, int h, bool variants)
{
    for (const char* state : {"", "_hover", "_press"}) out.push_back({stem + state + ".png", w, h, variants});
}

// The skin's images as planned (base files).
std::vector<Planned> PlannedImages()
{
    const std::string iu = "Install uninstall/";
    std::vector<Planned> p;
    for (const char* n : {"01", "02", "03", "04"}) p.push_back({iu + "table_bg_install_" + n + ".png", 700, 420, true});
    AddStates(p, iu + "btn_Install_new_package", 146, 44, true);
    AddStates(p, iu + "btn_complete_the_uninstall", 96, 36, true);
    AddStates(p, iu + "btn_modify_path", 60, 32, true);
    p.push_back({"btn_multiple_choice.png", 18, 18, true});
    p.push_back({"btn_multiple_choice_select.png", 18, 18, true});
    AddStates(p, "btn_return", 24, 24, true);
    AddStates(p, "icon_public_close", 20, 20, true);
    AddStates(p, "icon_public_hide", 20, 20, true);
    p.push_back({"icon_pupup_tips.png", 24, 24, true});
    p.push_back({"path_bkimage.png", 520, 40, false});
    p.push_back({"table_bg_progress_bar.png", 103, 14, false});
    p.push_back({"table_progress_bar.png", 103, 14, false});
    AddStates(p, "table_slide_bar", 6, 64, false);
    p.push_back({"icon_bg_pop_up_prompt.png", 417, 213, false});
    p.push_back({"table_bg_Installation_path.png", 520, 40, false});
    p.push_back({"table_popup_bg.png", 417, 212, false});
    p.push_back({"table_scroll_bar.png", 4, 64, false});
    // Supplied for names that the documents and the code use.
    p.push_back({"btn_unchecked.png", 18, 18, true});
    p.push_back({"btn_select.png", 18, 18, true});
    AddStates(p, "image15/table_slide_bar", 6, 64, false);
    p.push_back({"kp_appended/shadow/shadow_black.png", 96, 96, false});
    return p;
}

const std::vector<std::string> kDocuments = {"KPMainFrame.xml", "KPMsgBox.xml"};

class SkinArchiveTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { members_ = new std::map<std::string, Bytes>(skintest::ReadSkinArchive()); }
    static void TearDownTestSuite() { delete members_; }
    static const std::map<std::string, Bytes>& Members() { return *members_; }
    static const Bytes& Member(const std::string& name)
    {
        static const Bytes none;
        auto it = members_->find(name);
        return it == members_->end() ? none : it->second;
    }
    // Decoded once per file: the contrast checks look at the large backgrounds many times.
    static const skintest::Rgba& Decoded(const std::string& name)
    {
        static std::map<std::string, skintest::Rgba> cache;
        auto it = cache.find(name);
        if (it == cache.end()) {
            skintest::Rgba image;
            skintest::DecodeImage(Member(name), image);
            it = cache.emplace(name, std::move(image)).first;
        }
        return it->second;
    }
    static std::string Text(const std::string& name)
    {
        const Bytes& b = Member(name);
        return std::string(b.begin(), b.end());
    }

private:
    static std::map<std::string, Bytes>* members_;
};
std::map<std::string, Bytes>* SkinArchiveTest::members_ = nullptr;

TEST_F(SkinArchiveTest, HoldsExactlyThePlannedMembers)
{
    ASSERT_FALSE(Members().empty()) << "cannot read " << skintest::SkinZipPath();
    std::set<std::string> expected(kDocuments.begin(), kDocuments.end());
    expected.insert("scrollbar.bmp");
    for (const Planned& p : PlannedImages()) {
        expected.insert(p.path);
        if (p.variants) {
            for (const char* s : kSuffixes) expected.insert(WithSuffix(p.path, s));
        }
    }
    std::set<std::string> actual;
    for (const auto& m : Members()) actual.insert(m.first);
    EXPECT_EQ(expected, actual);
    EXPECT_EQ(152u, actual.size());
}

TEST_F(SkinArchiveTest, EveryImageAndVariantHasItsPixelSize)
{
    for (const Planned& p : PlannedImages()) {
        int w = 0, h = 0;
        ASSERT_TRUE(skintest::PngSize(Member(p.path), w, h)) << p.path;
        EXPECT_EQ(p.width, w) << p.path;
        EXPECT_EQ(p.height, h) << p.path;
        if (!p.variants) continue;
        for (int i = 0; i < 4; ++i) {
            const std::string name = WithSuffix(p.path, kSuffixes[i]);
            ASSERT_TRUE(skintest::PngSize(Member(name), w, h)) << name;
            EXPECT_EQ(Scaled(p.width, kFactors[i]), w) << name;
            EXPECT_EQ(Scaled(p.height, kFactors[i]), h) << name;
        }
    }
    // Spot checks of the rounding: exact products and halves rounded up.
    int w = 0, h = 0;
    ASSERT_TRUE(skintest::PngSize(Member("Install uninstall/table_bg_install_01@2x.png"), w, h));
    EXPECT_EQ(1400, w);
    EXPECT_EQ(840, h);
    ASSERT_TRUE(skintest::PngSize(Member("Install uninstall/table_bg_install_03@1.75x.png"), w, h));
    EXPECT_EQ(1225, w);
    EXPECT_EQ(735, h);
    ASSERT_TRUE(skintest::PngSize(Member("Install uninstall/btn_Install_new_package@1.25x.png"), w, h));
    EXPECT_EQ(183, w);  // 182.5
    EXPECT_EQ(55, h);
    ASSERT_TRUE(skintest::PngSize(Member("btn_multiple_choice_select@1.75x.png"), w, h));
    EXPECT_EQ(32, w);  // 31.5
    EXPECT_EQ(32, h);
}

TEST_F(SkinArchiveTest, EveryImageDecodesToItsHeaderSize)
{
    for (const auto& m : Members()) {
        if (m.first.size() > 4 && m.first.substr(m.first.size() - 4) == ".xml") continue;
        skintest::Rgba image;
        ASSERT_TRUE(skintest::DecodeImage(m.second, image)) << m.first;
        int w = 0, h = 0;
        if (skintest::PngSize(m.second, w, h)) {
            EXPECT_EQ(w, image.width) << m.first;
            EXPECT_EQ(h, image.height) << m.first;
        }
    }
    skintest::Rgba sprite;
    ASSERT_TRUE(skintest::DecodeImage(Member("scrollbar.bmp"), sprite));
    EXPECT_EQ(64, sprite.width);
    EXPECT_EQ(80, sprite.height);
    // The sprite's key colour (#FF00FF, made transparent by the documents' mask) fills the
    // corners around the rounded thumb.
    const unsigned char* corner = sprite.At(0, 32);
    EXPECT_EQ(0xFF, corner[0]);
    EXPECT_EQ(0x00, corner[1]);
    EXPECT_EQ(0xFF, corner[2]);
}

TEST_F(SkinArchiveTest, DocumentsAreUtf8WithCrlfAndTheDeclaration)
{
    for (const std::string& name : kDocuments) {
        const std::string text = Text(name);
        ASSERT_FALSE(text.empty()) << name;
        const std::string declaration = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n";
        EXPECT_EQ(declaration, text.substr(0, declaration.size())) << name << ": no byte-order mark, declaration first";
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << ": bare LF at byte " << i;
            }
            if (text[i] == '\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << name << ": bare CR at byte " << i;
            }
        }
        EXPECT_EQ("\r\n", text.substr(text.size() - 2)) << name;
        // Well-formed UTF-8: lead bytes followed by the right number of continuation bytes.
        for (size_t i = 0; i < text.size();) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
            ASSERT_GE(more, 0) << name << ": bad UTF-8 lead byte at " << i;
            ASSERT_LE(i + more, text.size() - 1) << name;
            for (int k = 1; k <= more; ++k) {
                ASSERT_EQ(0x80, static_cast<unsigned char>(text[i + k]) & 0xC0) << name << ": at " << i;
            }
            i += more + 1;
        }
    }
    const std::string main = Text("KPMainFrame.xml");
    EXPECT_NE(std::string::npos,
              main.find("text=\"\xE8\x87\xAA\xE5\xAE\x9A\xE4\xB9\x89\xE5\xAE\x89\xE8\xA3\x85 &gt;\""))
        << "the custom-install link is written with &gt;";
}

// Image names in a document: file='...' values and bare *image="name" values, entities of the
// Default lists decoded first, "\" made "/".
std::set<std::string> ImageNames(std::string text)
{
    for (const auto& e : std::vector<std::pair<std::string, std::string>>{{"&quot;", "\""}, {"&apos;", "'"}}) {
        for (size_t at; (at = text.find(e.first)) != std::string::npos;) text.replace(at, e.first.size(), e.second);
    }
    std::set<std::string> names;
    auto collect = [&](const std::string& opening, char closing, bool bareOnly) {
        for (size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
            const size_t from = at + opening.size(), to = text.find(closing, from);
            if (to == std::string::npos) break;
            std::string name = text.substr(from, to - from);
            if (bareOnly && name.find_first_of("'=") != std::string::npos) continue;  // a key='value' list
            std::replace(name.begin(), name.end(), '\\', '/');
            names.insert(name);
        }
    };
    collect("file='", '\'', false);
    collect("image=\"", '"', true);
    return names;
}

TEST_F(SkinArchiveTest, EveryImageTheDocumentsNameIsInTheArchive)
{
    std::set<std::string> lowerMembers;
    for (const auto& m : Members()) {
        std::string n = m.first;
        std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
        lowerMembers.insert(n);
    }
    size_t checked = 0;
    for (const std::string& doc : kDocuments) {
        for (std::string name : ImageNames(Text(doc))) {
            // The completion page's top-left decoration is deliberately not drawn.
            if (name == "icon_Install_and_uninstall_small.png") continue;
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            EXPECT_EQ(1u, lowerMembers.count(name)) << doc << " names " << name;
            ++checked;
        }
    }
    EXPECT_GE(checked, 30u);
}

// --- readability of text over the drawn images ------------------------------------------------

double Channel(int v)
{
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(int r, int g, int b) { return 0.2126 * Channel(r) + 0.7152 * Channel(g) + 0.0722 * Channel(b); }
double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

struct TextOver {
    std::string image;  // base file; every variant is checked too
    int l, t, r, b;     // where the text goes, in the base image's pixels
    unsigned rgb;       // text colour
    const char* what;
};

// Lowest contrast between the colour and any pixel of the rectangle (scaled to the file's size).
// Pixels behind text must be opaque.
double LowestContrast(const skintest::Rgba& img, double sx, double sy, const TextOver& t)
{
    const double text = Luminance(t.rgb >> 16 & 0xFF, t.rgb >> 8 & 0xFF, t.rgb & 0xFF);
    double lowest = 21.0;
    for (int y = static_cast<int>(t.t * sy); y < static_cast<int>(std::ceil(t.b * sy)) && y < img.height; ++y) {
        for (int x = static_cast<int>(t.l * sx); x < static_cast<int>(std::ceil(t.r * sx)) && x < img.width; ++x) {
            const unsigned char* p = img.At(x, y);
            if (p[3] != 255) return 0.0;
            lowest = std::min(lowest, Contrast(text, Luminance(p[0], p[1], p[2])));
        }
    }
    return lowest;
}

TEST_F(SkinArchiveTest, TextKeepsAContrastOfAtLeast4_5ToTheImageBehindIt)
{
    const std::string iu = "Install uninstall/";
    const unsigned white = 0xFFFFFF, light = 0xEAEAEA, hover = 0x389BFD;
    std::vector<TextOver> cases = {
        {iu + "table_bg_install_01.png", 54, 372, 178, 401, white, "agreement link"},
        {iu + "table_bg_install_01.png", 54, 372, 178, 401, hover, "agreement link, hot"},
        {iu + "table_bg_install_01.png", 579, 370, 680, 402, white, "custom-install link"},
        {iu + "table_bg_install_01.png", 579, 370, 680, 402, hover, "custom-install link, hot"},
        {iu + "table_bg_install_02.png", 30, 10, 110, 34, 0x777879, "back link"},
        {iu + "table_bg_install_02.png", 30, 10, 110, 34, hover, "back link, hot"},
        {iu + "table_bg_install_02.png", 50, 84, 123, 113, white, "install path caption"},
        {iu + "table_bg_install_02.png", 54, 373, 174, 402, white, "desktop shortcut caption"},
        {iu + "table_bg_install_03.png", 47, 80, 261, 106, white, "product name"},
        {iu + "table_bg_install_03.png", 46, 146, 370, 325, light, "feature list"},
        {iu + "table_bg_install_03.png", 52, 367, 284, 388, light, "progress line"},
        {iu + "table_bg_install_04.png", 245, 96, 455, 152, white, "completion heading"},
        {"path_bkimage.png", 10, 6, 510, 34, white, "install path"},
        {iu + "btn_modify_path.png", 8, 6, 52, 26, white, "modify button"},
        {iu + "btn_modify_path_hover.png", 8, 6, 52, 26, white, "modify button, hot"},
        {iu + "btn_modify_path_press.png", 8, 6, 52, 26, 0x999999, "modify button, pushed"},
    };
    for (const char* state : {"", "_hover", "_press"}) {
        cases.push_back({iu + "btn_Install_new_package" + state + ".png", 10, 8, 136, 36, 0x1C1C1E, "large button"});
        cases.push_back({iu + "btn_complete_the_uninstall" + state + ".png", 10, 8, 86, 28, 0x807F7F, "OK button"});
    }
    for (const TextOver& c : cases) {
        std::vector<std::string> files = {c.image};
        if (Members().count(WithSuffix(c.image, "@2x"))) {
            for (const char* s : kSuffixes) files.push_back(WithSuffix(c.image, s));
        }
        const skintest::Rgba& base = Decoded(c.image);
        ASSERT_GT(base.width, 0) << c.image;
        for (const std::string& file : files) {
            const skintest::Rgba& img = Decoded(file);
            ASSERT_GT(img.width, 0) << file;
            const double sx = double(img.width) / base.width, sy = double(img.height) / base.height;
            EXPECT_GE(LowestContrast(img, sx, sy, c), 4.5) << c.what << " over " << file;
        }
    }
}

TEST(SkinProgramIcon, HoldsTheSixSizes)
{
    FILE* f = std::fopen(KP_PROGRAM_ICON, "rb");
    ASSERT_NE(nullptr, f) << KP_PROGRAM_ICON;
    Bytes ico;
    unsigned char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) ico.insert(ico.end(), buf, buf + n);
    std::fclose(f);
    ASSERT_GE(ico.size(), 6u + 6 * 16);
    auto le16 = [&](size_t at) { return ico[at] | ico[at + 1] << 8; };
    auto le32 = [&](size_t at) { return static_cast<size_t>(le16(at)) | static_cast<size_t>(le16(at + 2)) << 16; };
    EXPECT_EQ(0, le16(0));
    EXPECT_EQ(1, le16(2));  // icon
    ASSERT_EQ(6, le16(4));
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    for (int i = 0; i < 6; ++i) {
        const size_t entry = 6 + 16 * i;
        EXPECT_EQ(sizes[i] % 256, ico[entry]) << "width byte, 0 meaning 256";
        EXPECT_EQ(sizes[i] % 256, ico[entry + 1]);
        const size_t size = le32(entry + 8), offset = le32(entry + 12);
        ASSERT_LE(offset + size, ico.size());
        const Bytes image(ico.begin() + offset, ico.begin() + offset + size);
        // Every size is a PNG with an alpha channel (Windows reads PNG icons of any size from Vista on).
        skintest::Rgba decoded;
        ASSERT_TRUE(skintest::DecodeImage(image, decoded)) << sizes[i];
        EXPECT_EQ(sizes[i], decoded.width);
        EXPECT_EQ(sizes[i], decoded.height);
        EXPECT_EQ(0, decoded.At(0, 0)[3]) << sizes[i] << ": the rounded corner is transparent";
    }
}

}  // namespace
