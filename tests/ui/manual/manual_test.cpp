// The user manual in its three languages: present, readable as UTF-8, built alike (the same
// section anchors, every link and picture resolving), and using the window's own words, so a
// renamed caption or message cannot leave the manual describing a window that no longer exists.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "params/language_tables.h"
#include "params/localized_text.h"
#include "ui/analysis/analysis_texts.h"
#include "ui/help/help_window.h"
#include "ui/ridelog/ridelog_texts.h"
#include "ui/surface/surface_texts.h"
#include "ui/window/map_tools_texts.h"

namespace korvan {
namespace {

struct Manual {
    const char* file;
    std::uint8_t language;
};

// Language indices as the window counts them.
const Manual kManuals[] = {{"manual_cs.html", 0}, {"manual_en.html", 1}, {"manual_de.html", 2}};

std::filesystem::path ManualDir() {
    return std::filesystem::path(KORVAN_MANUAL_DIR);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Strict UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing above
// U+10FFFF. Returns the offset of the first bad byte, or npos.
std::size_t FirstInvalidUtf8(const std::string& text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        int extra = 0;
        std::uint32_t cp = 0;
        std::uint32_t least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, least = 0x10000;
        } else {
            return i;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (s[i + k] & 0xC0) != 0x80) return i;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return std::string::npos;
}

std::vector<std::string> AllMatches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1].str());
    }
    return found;
}

// HTML shows every run of blanks and line breaks as one blank; so does the window.
std::string CollapseBlanks(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (blank && !out.empty() && out.back() == ' ') continue;
        out += blank ? ' ' : c;
    }
    return out;
}

std::string WithoutAccessKey(std::string caption) {
    const auto amp = caption.find('&');
    if (amp != std::string::npos) caption.erase(amp, 1);
    return caption;
}

TEST(UtfCheck, RejectsWhatIsNotUtf8) {
    struct Case {
        std::string text;
        std::size_t bad;
    };
    const Case cases[] = {
        {"plain ascii", std::string::npos},
        {"P\xC5\x99\xC3\xADru\xC4\x8Dka \xE2\x80\x93 \xC3\x9C",
         std::string::npos},      // Czech, dash, German
        {"x\xC5", 1},             // cut off
        {"x\x80y", 1},            // stray continuation
        {"\xC0\xAF", 0},          // overlong '/'
        {"\xED\xA0\x80", 0},      // surrogate
        {"\xE8\xA0", 0},          // Windows-1250 "č " bytes
        {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(FirstInvalidUtf8(c.text), c.bad) << c.text;
}

TEST(Manual, EachLanguageIsUtf8WithItsCharsetDeclared) {
    for (const Manual& m : kManuals) {
        const auto path = ManualDir() / m.file;
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        const std::string text = ReadAll(path);
        EXPECT_EQ(FirstInvalidUtf8(text), std::string::npos) << m.file;
        EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << m.file;
        EXPECT_EQ(text.find("<script"), std::string::npos)
            << m.file << ": the help window runs no scripts";
    }
}

TEST(Manual, SectionsLinksAndPicturesAgreeAcrossLanguages) {
    const std::regex anchor(R"re(<a name="([^"]+)")re");
    const std::regex link(R"re(href="#([^"]+)")re");
    const std::regex picture(R"re(<img src="([^"]+)")re");

    std::set<std::string> reference;
    for (const Manual& m : kManuals) {
        const std::string text = ReadAll(ManualDir() / m.file);
        const std::vector<std::string> names = AllMatches(text, anchor);
        const std::set<std::string> anchors(names.begin(), names.end());
        EXPECT_EQ(anchors.size(), names.size()) << m.file << ": an anchor name is used twice";
        EXPECT_GE(anchors.size(), 20u) << m.file;
        if (reference.empty()) reference = anchors;
        EXPECT_EQ(anchors, reference) << m.file << " has other sections than " << kManuals[0].file;

        for (const std::string& target : AllMatches(text, link)) {
            EXPECT_TRUE(anchors.count(target)) << m.file << ": link to missing #" << target;
        }
        const std::vector<std::string> pictures = AllMatches(text, picture);
        EXPECT_FALSE(pictures.empty()) << m.file;
        for (const std::string& src : pictures) {
            EXPECT_EQ(src.rfind("images/", 0), 0u)
                << m.file << ": " << src << " is not beside the manual";
            EXPECT_TRUE(std::filesystem::is_regular_file(ManualDir() / src))
                << m.file << ": missing " << src;
        }
    }
}

// What the tuner reads in the manual is what the window of that language shows.
TEST(Manual, UsesTheWindowsOwnWordsInEachLanguage) {
    const std::set<std::string> captions = {
        "TabSheet1",
        "TabSheet2",
        "TabSheet3",
        "TabSheet4",
        "Button1",
        "BitBtn1",
        "BitBtn2",
        "MenuFile",
        "MenuNew",
        "MenuOpen",
        "MenuSave",
        "MenuPrint",
        "MenuDevice",
        "MenuRead",
        "MenuLanguage",
        "MenuEnglish",
        "MenuCzech",
        "MenuGerman",
        "MenuHelp",
        "CheckBoxIgnAll",
        "CheckBoxProgHned",
        "CheckBoxZakazCteni",
        "GroupBox1",
        "GroupBox4",
        "LabelOmez1",
        "LabelOmez2",
        "LabelLedRazeni",
        "CheckBoxGas",
        "LabelGas1",
        "LabelGasD",
        "LabelGasT",
        "GroupBoxRetard",
        "LabelRetard1",
        "LabelRetard2",
        "CheckBoxAktLimiter1",
        "CheckBoxAktBlok1",
        "CheckBoxAktBlok2",
        "CheckBoxBuzDlouhe",
        "CheckBoxRpm2Krat",
        "CheckBoxAktN2o",
        "LabelFile1",
        "CheckBoxPrivEnable",
        "LabelPrivHyster",
        "MenuContens",
        "MenuAbout",
    };
    const std::set<std::string> hints = {"ComboBox1",   "BitBtnAdvMinus", "BitBtnAdvPlus",
                                         "LabelVerze1", "LabelVerze2",    "LabelVerze3",
                                         "GroupBox4"};
    const LocalizedText* messages[] = {
        &DeviceLink::kReadDevice,
        &DeviceLink::kVerifyDevice,
        &DeviceLink::kVerifyDeviceCommand,
        &DeviceLink::kProgramDevice,
        &DeviceLink::kReadError,
        &DeviceLink::kVerifyError,
        &DeviceLink::kProgramError,
        &DeviceLink::kNoReading,
        &DeviceLink::kVerifyOk,
        &DeviceLink::kVersionMismatch,
        &DeviceLink::kWrongBikeType,
        &kIgnVersionMessage,
    };

    for (const Manual& m : kManuals) {
        const std::string text = CollapseBlanks(ReadAll(ManualDir() / m.file));
        std::set<std::string> checked;
        for (const LanguageEntry& e : LanguageTable()) {
            const bool caption = e.kind == TextKind::Caption && captions.count(e.control);
            const bool hint = e.kind == TextKind::Hint && hints.count(e.control);
            if (!caption && !hint) continue;
            const std::string words = caption ? WithoutAccessKey(e.text.In(m.language))
                                              : ShortHint(e.text.In(m.language));
            EXPECT_NE(text.find(words), std::string::npos)
                << m.file << " lacks \"" << words << "\" (" << e.control << ")";
            checked.insert(e.control);
        }
        EXPECT_EQ(checked.size(), captions.size() + hints.size() - 1)
            << "a control left the language table";
        for (const LocalizedText* message : messages) {
            const std::string words = CollapseBlanks(message->In(m.language));
            EXPECT_NE(text.find(words), std::string::npos)
                << m.file << " lacks the message \"" << words << "\"";
        }
    }
}

// The map tools' section names the Map menu's items and the option as the window does.
TEST(Manual, NamesTheMapToolsAsTheWindowDoes) {
    namespace t = maptoolstext;
    const LocalizedText* words[] = {
        &t::kMapMenu,
        &t::kSetItem,
        &t::kAddItem,
        &t::kSubtractItem,
        &t::kAddFiveItem,
        &t::kSubtractFiveItem,
        &t::kScaleItem,
        &t::kInterpolateRpmItem,
        &t::kInterpolateThrottleItem,
        &t::kInterpolateCornersItem,
        &t::kSmoothItem,
        &t::kCopyItem,
        &t::kCopyWithAxesItem,
        &t::kPasteItem,
        &t::kSelectAllItem,
        &t::kClearSelectionItem,
        &t::kLiveCellItem,
        &t::kExportItem,
        &t::kImportItem,
        &t::kKeepAdvance,
    };
    for (const Manual& m : kManuals) {
        const std::string text = CollapseBlanks(ReadAll(ManualDir() / m.file));
        for (const LocalizedText* w : words) {
            const std::string caption = WithoutAccessKey(w->In(m.language));
            EXPECT_NE(text.find(caption), std::string::npos)
                << m.file << " lacks \"" << caption << "\"";
        }
    }
}

// The ride analysis and the ride log's feedback are described in the words the window shows.
TEST(Manual, DescribesTheRideAnalysisInTheWindowsWords) {
    const LocalizedText* words[] = {
        &analysistext::kMenuItem,      &analysistext::kCellsTab,
        &analysistext::kScatterTab,    &analysistext::kSummaryTab,
        &analysistext::kCompareTab,    &analysistext::kOpenLog,
        &analysistext::kReplayLog,     &analysistext::kLastRecording,
        &analysistext::kOpenSecondLog, &analysistext::kExportLog,
        &analysistext::kFromReplay,    &analysistext::kToReplay,
        &analysistext::kBetweenMarks,  &analysistext::kWithoutLimiter,
        &analysistext::kWithoutClutch, &analysistext::kWithoutN2o,
        &analysistext::kClearFilter,   &analysistext::kMinSamples,
        &analysistext::kXAxis,         &analysistext::kYAxis,
        &analysistext::kColourBy,      &ridelogtext::kReplayIndicator,
        &ridelogtext::kOpenFolder,     &ridelogtext::kAnalyseIt,
    };
    for (const Manual& m : kManuals) {
        const std::string text = CollapseBlanks(ReadAll(ManualDir() / m.file));
        EXPECT_NE(text.find("<a name=\"analysis\">"), std::string::npos) << m.file;
        for (const LocalizedText* w : words) {
            const std::string caption = WithoutAccessKey(w->In(m.language));
            EXPECT_NE(text.find(caption), std::string::npos)
                << m.file << " lacks \"" << caption << "\"";
        }
    }
}

// The width of a PNG picture from its header; 0 for what is not a PNG.
int PngWidth(const std::filesystem::path& path) {
    const std::string bytes = ReadAll(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    return (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
}

// The help window shows pictures at their own size: none is wider than it has room for, and
// each language shows its own window.
TEST(Manual, PicturesFitTheHelpWindowAndSpeakTheManualsLanguage) {
    const std::regex picture(R"re(<img src="images/([a-z]+)_[^"]+\.png")re");
    for (const Manual& m : kManuals) {
        const std::string text = ReadAll(ManualDir() / m.file);
        const std::string code = std::string(m.file).substr(7, 2);
        for (const std::string& prefix : AllMatches(text, picture))
            EXPECT_EQ(prefix, code) << m.file << " shows another language's picture";
    }
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ManualDir() / "images")) {
        if (entry.path().extension() != ".png") continue;
        ++pictures;
        const int width = PngWidth(entry.path());
        EXPECT_GT(width, 0) << entry.path();
        EXPECT_LE(width, HelpWindow::kWidestPicture) << entry.path();
    }
    EXPECT_GE(pictures, 21);  // seven in each language
}

// The 3D window and the dragged curves are described with the words the window shows.
TEST(Manual, DescribesTheMapIn3DAndCurveDraggingInTheWindowsWords) {
    const LocalizedText* words[] = {
        &surfacetext::kMenuItem,     &surfacetext::kCompareWith,  &surfacetext::kCompareFile,
        &surfacetext::kCompareUnit,  &surfacetext::kComparePoint, &surfacetext::kEndCompare,
        &surfacetext::kCopyPicture,  &surfacetext::kSavePng,      &surfacetext::kPrintPicture,
        &surfacetext::kStartingView, &ridelogtext::kMapAsCurves,
    };
    for (const Manual& m : kManuals) {
        const std::string text = CollapseBlanks(ReadAll(ManualDir() / m.file));
        for (const std::string anchor : {"surface", "curvedrag"})
            EXPECT_NE(text.find("<a name=\"" + anchor + "\">"), std::string::npos) << m.file;
        for (const LocalizedText* w : words) {
            const std::string shown = WithoutAccessKey(w->In(m.language));
            EXPECT_NE(text.find(shown), std::string::npos)
                << m.file << " lacks \"" << shown << "\"";
        }
    }
}
}  // namespace
}  // namespace korvan
