#include "params/language_tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace korvan {
namespace {

constexpr std::uint8_t kCzech = 0;
constexpr std::uint8_t kEnglish = 1;
constexpr std::uint8_t kGerman = 2;

const LanguageEntry* Find(const std::string& control, TextKind kind) {
    for (const LanguageEntry& entry : LanguageTable())
        if (control == entry.control && entry.kind == kind) return &entry;
    return nullptr;
}

bool IsValidUtf8(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        int follow = 0;
        if (*p < 0x80)
            follow = 0;
        else if ((*p & 0xE0) == 0xC0 && *p >= 0xC2)
            follow = 1;
        else if ((*p & 0xF0) == 0xE0)
            follow = 2;
        else if ((*p & 0xF8) == 0xF0 && *p <= 0xF4)
            follow = 3;
        else
            return false;
        ++p;
        for (int i = 0; i < follow; ++i, ++p)
            if ((*p & 0xC0) != 0x80) return false;
    }
    return true;
}

TEST(LanguageTableTest, EveryEntryHasAUniqueTargetAndThreeTexts) {
    const auto& table = LanguageTable();
    ASSERT_EQ(table.size(), 96u);
    std::set<std::pair<std::string, TextKind>> targets;
    int titles = 0;
    for (const LanguageEntry& entry : table) {
        ASSERT_NE(entry.control, nullptr);
        EXPECT_TRUE(targets.insert({entry.control, entry.kind}).second)
            << entry.control << " is set twice by one language";
        if (entry.kind == TextKind::Title) ++titles;
        for (std::uint8_t language : {kCzech, kEnglish, kGerman}) {
            const char* text = entry.text.In(language);
            ASSERT_NE(text, nullptr) << entry.control << " language " << int(language);
            EXPECT_GT(std::strlen(text), 0u) << entry.control << " language " << int(language);
            EXPECT_TRUE(IsValidUtf8(text)) << entry.control << " language " << int(language);
        }
    }
    EXPECT_EQ(titles, 1);
    EXPECT_STREQ(table.front().control, "FormHlav");
    EXPECT_EQ(table.front().kind, TextKind::Title);
}

TEST(LanguageTableTest, OrderOfApplication) {
    const auto& table = LanguageTable();
    struct Case {
        std::size_t index;
        const char* control;
        TextKind kind;
    };
    const Case cases[] = {
        {1, "MenuFile", TextKind::Caption},   {29, "ComboBox1", TextKind::Hint},
        {30, "GroupBox1", TextKind::Caption}, {57, "Label26", TextKind::Hint},
        {75, "MenuCom", TextKind::Hint},      {76, "MenuCom1", TextKind::Hint},
        {85, "MenuCom10", TextKind::Hint},    {86, "MenuRead", TextKind::Hint},
        {95, "GroupBox4", TextKind::Hint},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.index, table.size());
        EXPECT_STREQ(table[c.index].control, c.control) << "entry " << c.index;
        EXPECT_EQ(table[c.index].kind, c.kind) << "entry " << c.index;
    }
    for (int port = 1; port <= 10; ++port) {
        const LanguageEntry& entry = table[75 + port];
        const std::string n = std::to_string(port);
        EXPECT_EQ(entry.control, "MenuCom" + n);
        EXPECT_EQ(entry.text.In(kEnglish), "Set com " + n);
        EXPECT_EQ(entry.text.In(kCzech), "Nastavení komunikace na port com " + n);
        EXPECT_EQ(entry.text.In(kGerman), "Com " + n + " festzustellen");
    }
}

TEST(LanguageTableTest, TextsAreKeptExactly) {
    struct Case {
        const char* control;
        TextKind kind;
        std::uint8_t language;
        const char* text;
    };
    const Case cases[] = {
        {"FormHlav", TextKind::Title, kCzech, "Programování jednotky Korvan 2"},
        {"FormHlav", TextKind::Title, kEnglish, "Programming of Korvan 2 unit"},
        {"FormHlav", TextKind::Title, kGerman, "Programmierung der Korvan 2 Zündbox"},
        {"MenuRead", TextKind::Caption, kCzech, "Čí&st"},
        {"MenuAbout", TextKind::Caption, kGerman, "&Über Programm..."},
        {"MenuEnglish", TextKind::Caption, kGerman, "Englisch"},
        {"GroupBox1", TextKind::Caption, kCzech, "Ostatní"},
        {"GroupBox1", TextKind::Caption, kGerman, "Vorzündung"},
        {"LabelPrivHyster", TextKind::Caption, kEnglish, "Sevro Hysteresis [mV]"},
        {"LabelRetard1", TextKind::Caption, kEnglish, "Retard 1 [°]"},
        {"Label26", TextKind::Hint, kGerman, "Umdrehungen pro Minute"},
        {"Label26", TextKind::Hint, kCzech, "Otáčky za minutu|Rychlost - Otáčky za minutu"},
        {"BitBtn1", TextKind::Hint, kEnglish, "Programing  set parametrs to ignition"},
        {"BitBtn2", TextKind::Hint, kEnglish, "Compare set parametrs  with parametrs of ignition"},
        {"MenuNew", TextKind::Hint, kEnglish, "Set default parameters "},
        {"MenuOpen", TextKind::Hint, kEnglish, "Open file with parameters "},
        {"MenuCom", TextKind::Hint, kCzech, "Nastavení čísla serivého portu (Com) "},
        {"MenuExit", TextKind::Hint, kGerman, "Speichern"},
        {"MenuProgram", TextKind::Hint, kEnglish, "Programing  set parameters to unit"},
        {"CheckBoxProgHned", TextKind::Hint, kGerman, "Programmmieren gleich after die Umänderung"},
    };
    for (const Case& c : cases) {
        const LanguageEntry* entry = Find(c.control, c.kind);
        ASSERT_NE(entry, nullptr) << c.control;
        EXPECT_STREQ(entry->text.In(c.language), c.text)
            << c.control << " language " << int(c.language);
    }
}

TEST(LanguageTableTest, LanguageMenuHintsAreTheSameInEveryLanguage) {
    const std::pair<const char*, const char*> cases[] = {
        {"MenuEnglish", "Set Englich menu"},
        {"MenuCzech", "Nastavit české menu"},
        {"MenuGerman", "Deutche Menü"},
    };
    for (const auto& [control, text] : cases) {
        const LanguageEntry* entry = Find(control, TextKind::Hint);
        ASSERT_NE(entry, nullptr) << control;
        for (std::uint8_t language : {kCzech, kEnglish, kGerman})
            EXPECT_STREQ(entry->text.In(language), text)
                << control << " language " << int(language);
    }
}

TEST(LanguageTableTest, EnglishToolButtonHintsHaveNoShortPart) {
    for (const char* control :
         {"SpeedButton5", "SpeedButton6", "SpeedButton7", "SpeedButtonPrint"}) {
        const LanguageEntry* entry = Find(control, TextKind::Hint);
        ASSERT_NE(entry, nullptr) << control;
        const std::string hint = entry->text.In(kEnglish);
        EXPECT_EQ(ShortHint(hint), LongHint(hint)) << control;
    }
}

TEST(HintTest, ShortAndLongParts) {
    struct Case {
        const char* hint;
        const char* short_part;
        const char* long_part;
    };
    const Case cases[] = {
        {"Com|Set number of com", "Com", "Set number of com"},
        {"Set Englich menu", "Set Englich menu", "Set Englich menu"},
        {"", "", ""},
        {"|only long", "", "only long"},
        {"only short|", "only short", ""},
        {"a|b|c", "a", "b|c"},
        {"Čtení|Čtení parametrů z jednotky", "Čtení", "Čtení parametrů z jednotky"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortHint(c.hint), c.short_part) << c.hint;
        EXPECT_EQ(LongHint(c.hint), c.long_part) << c.hint;
    }
}

TEST(WindowMessagesTest, AboutTextsKeepTheirLayout) {
    struct Case {
        std::uint8_t language;
        const char* head;
    };
    const Case cases[] = {
        {kCzech,
         "Program pro nastavování zapalování           \n\nverze 2.0\n\nMar  9 "
         "2005\n\n18:09:19\n\n"},
        {kEnglish,
         "Programm for setting of ignition            \n\nversion 2.0\n\nMar  9 "
         "2005\n\n18:09:19\n\n"},
        {kGerman,
         "Program für der Adjustierung der Zündung        \nVersion 2.0\n\nMar  9 "
         "2005\n\n18:09:19\n\n"},
    };
    for (const Case& c : cases) {
        // Exactly the two places, the date first: a text without them would hide the build.
        const std::string format = kAboutFormat.In(c.language);
        std::size_t percents = 0;
        for (std::size_t at = format.find('%'); at != std::string::npos;
             at = format.find('%', at + 1)) {
            ++percents;
            EXPECT_EQ(format.compare(at, 2, percents == 1 ? "%1" : "%2"), 0)
                << "language " << int(c.language);
        }
        EXPECT_EQ(percents, 2u);

        const std::string text = AboutText(c.language, "Mar  9 2005", "18:09:19");
        EXPECT_EQ(text.rfind(c.head, 0), 0u) << text;
        EXPECT_EQ(text.back(), '\n');
        EXPECT_NE(text.find(c.language == kEnglish ? "\nContact:\n" : "\nKontakt:\n"),
                  std::string::npos);
    }
}

TEST(WindowMessagesTest, FileAndPrintTexts) {
    EXPECT_STREQ(kIgnVersionMessage.In(kCzech), "Neshodná verze souboru *.ign!");
    EXPECT_STREQ(kIgnVersionMessage.In(kEnglish), "Unmatched version of *.ign file!");
    EXPECT_STREQ(kIgnVersionMessage.In(kGerman), "Uneinig Version der Datendatei *.ign!");
    EXPECT_STREQ(kManualDocument.In(kCzech), "Manual_Korvan15_cz.doc");
    EXPECT_STREQ(kManualDocument.In(kEnglish), "Manual_Korvan15_en.doc");
    EXPECT_STREQ(kManualDocument.In(kGerman), "Manual_Korvan15_de.doc");
}

}  // namespace
}  // namespace korvan
