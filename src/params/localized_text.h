// A text in the program's three languages, picked by the language index at the moment it is
// shown (0 Czech, 1 English, 2 German). Texts are UTF-8.
//
// Placeholders are written %1 .. %9 in every language, the same marks Qt's QString::arg uses,
// so a translator moves them freely ("%1 Zeilen" / "řádků: %1"). Fill is the one way to put
// values into them, in every layer.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace korvan {

struct LocalizedText {
    const char* czech;
    const char* english;
    const char* german;

    const char* In(std::uint8_t language) const {
        return language == 0 ? czech : (language == 2 ? german : english);
    }
};

// One value for a placeholder: text as it is, whole numbers in plain decimal digits.
class TextArg {
  public:
    TextArg(const std::string& text) : text_(text) {}
    TextArg(std::string_view text) : text_(text) {}
    TextArg(const char* text) : text_(text ? text : "") {}
    template <typename Int,
              typename = std::enable_if_t<std::is_integral_v<Int> && !std::is_same_v<Int, bool> &&
                                          !std::is_same_v<Int, char>>>
    TextArg(Int number) : text_(std::to_string(number)) {}

    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// The pattern with every %n replaced by the n-th value (n = 1..9). A mark without a value and
// "%" followed by anything else stay as they are; a value is never searched for marks again.
std::string FillPattern(std::string_view pattern, std::initializer_list<TextArg> args);
// The same with values known only at run time (a name kept to be shown in another language).
std::string FillPattern(std::string_view pattern, const std::vector<std::string>& args);

// The text in the chosen language with its placeholders filled.
template <typename... Args>
std::string Fill(const LocalizedText& text, std::uint8_t language, const Args&... args) {
    return FillPattern(text.In(language), {TextArg(args)...});
}

// A finished text in Czech, English and German (language index 0, 1, 2).
struct Phrase {
    std::array<std::string, 3> text;

    // Any index above German is English, as everywhere in the program.
    const std::string& In(std::uint8_t language) const { return text[language > 2 ? 1 : language]; }
    bool Empty() const { return text[1].empty(); }
};

// `text` with its placeholders filled by the same values in every language.
template <typename... Args>
Phrase MakePhrase(const LocalizedText& text, const Args&... args) {
    Phrase p;
    for (std::uint8_t language = 0; language < 3; ++language)
        p.text[language] = Fill(text, language, args...);
    return p;
}

// A text built by `f(language)` for each language: for values that are words themselves.
template <typename F>
Phrase PhraseEach(F&& f) {
    Phrase p;
    for (std::uint8_t language = 0; language < 3; ++language) p.text[language] = f(language);
    return p;
}

}  // namespace korvan
