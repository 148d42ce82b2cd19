// Splits text into white-space separated tokens, as the .ign and state file readers see it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace korvan {

struct Token {
    std::string text;       // at most kMaxTokenLength characters are kept
    bool overlong = false;  // the token was longer; it can never be a key
    bool numeric = false;   // only decimal digits
    std::uint32_t value =
        0;  // a numeric token's value modulo 2^32 (exact modulo any power of 2 below)
    bool beyond32Bits = false;  // numeric, and 2^32 or more: `value` is not the number
    int line = 0;               // the line the token starts on, from 1
};

class TokenReader {
  public:
    // Longest token the readers keep; the file formats never need more than 14 characters.
    static constexpr std::size_t kMaxTokenLength = 271;

    explicit TokenReader(std::istream& in) : in_(in) {}

    // Reads the next token without consuming it; false at the end of the input.
    bool Peek(Token& token);
    // Reads and consumes the next token; false at the end of the input.
    bool Next(Token& token);
    // Consumes the token Peek returned.
    void Consume() { havePeeked_ = false; }

  private:
    bool ReadToken(Token& token);

    std::istream& in_;
    int line_ = 1;
    Token peeked_;
    bool havePeeked_ = false;
};

}  // namespace korvan
