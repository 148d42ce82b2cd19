// The pieces the text logs (.msl, CSV) write and read lines with, so that both formats put
// numbers and times on the line and split the file into lines by one rule. Internal to the
// log layer.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvan::logtext {

constexpr std::uint32_t kMsPerSecond = 1000;

// Integers through to_chars: no locale can put a separator into them.
template <typename Int>
void AppendInt(std::string& out, Int value) {
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

// Whole milliseconds as seconds with three decimals: "12.345".
inline void AppendSeconds(std::string& out, std::uint32_t ms) {
    AppendInt(out, ms / kMsPerSecond);
    const unsigned frac = ms % kMsPerSecond;
    const char digits[3] = {static_cast<char>('0' + frac / 100),
                            static_cast<char>('0' + frac / 10 % 10),
                            static_cast<char>('0' + frac % 10)};
    out.push_back('.');
    out.append(digits, sizeof digits);
}

// The lines of a text one by one, without their "\n" or "\r\n", counted from 1.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        ++number_;
        return true;
    }
    std::size_t Number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

}  // namespace korvan::logtext
