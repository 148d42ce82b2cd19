#include "ui/window/command_line.h"

#include <gtest/gtest.h>

#include <optional>

#include "params/binding.h"

namespace korvan {
namespace {

struct SplitCase {
    const char* name;
    QStringList arguments;
    std::optional<std::uint8_t> language;
    QString file;
    QStringList ignored;
};

TEST(SplitWindowArgumentsTest, LanguageWordFirstThenFile) {
    const SplitCase cases[] = {
        {"nothing", {}, std::nullopt, "", {}},
        {"english", {"ENGLISH"}, kLanguageEnglish, "", {}},
        {"czech", {"CESKY"}, kLanguageCzech, "", {}},
        {"german", {"DEUTSCH"}, kLanguageGerman, "", {}},
        {"language words are exact", {"english"}, std::nullopt, "english", {}},
        {"file alone", {"/home/t/base.ign"}, std::nullopt, "/home/t/base.ign", {}},
        {"language then file", {"DEUTSCH", "base.ign"}, kLanguageGerman, "base.ign", {}},
        {"file with spaces",
         {"CESKY", "/home/t/my tune.ign"},
         kLanguageCzech,
         "/home/t/my tune.ign",
         {}},
        {"language only first", {"base.ign", "ENGLISH"}, std::nullopt, "base.ign", {"ENGLISH"}},
        {"second language word", {"ENGLISH", "CESKY"}, kLanguageEnglish, "", {"CESKY"}},
        {"second file", {"a.ign", "b.ign"}, std::nullopt, "a.ign", {"b.ign"}},
        {"unknown option", {"--fullscreen", "a.ign"}, std::nullopt, "a.ign", {"--fullscreen"}},
        {"language then option", {"ENGLISH", "-x", "a.ign"}, kLanguageEnglish, "a.ign", {"-x"}},
        {"dash ends options", {"--", "-odd.ign"}, std::nullopt, "-odd.ign", {}},
        {"language word after dash dash is a file",
         {"ENGLISH", "--", "CESKY"},
         kLanguageEnglish,
         "CESKY",
         {}},
        {"a lone dash is a name", {"-"}, std::nullopt, "-", {}},
        {"empty argument", {"", "a.ign"}, std::nullopt, "a.ign", {""}},
        {"file url", {"file:///home/t/my%20tune.ign"}, std::nullopt, "/home/t/my tune.ign", {}},
        {"other url stays as given", {"http://host/a.ign"}, std::nullopt, "http://host/a.ign", {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowArguments split = SplitWindowArguments(c.arguments);
        EXPECT_EQ(split.language, c.language);
        EXPECT_EQ(split.file, c.file);
        EXPECT_EQ(split.ignored, c.ignored);
    }
}

}  // namespace
}  // namespace korvan
