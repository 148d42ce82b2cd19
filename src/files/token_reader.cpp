#include "files/token_reader.h"

namespace korvan {

namespace {
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

bool TokenReader::ReadToken(Token& token) {
    token = Token{};
    std::streambuf* buf = in_.rdbuf();
    if (!buf) return false;
    int c = buf->sgetc();
    while (c != std::char_traits<char>::eof() && IsSpace(c)) {
        if (c == '\n') ++line_;
        c = buf->snextc();
    }
    if (c == std::char_traits<char>::eof()) return false;
    token.line = line_;

    token.numeric = true;
    std::size_t length = 0;
    while (c != std::char_traits<char>::eof() && !IsSpace(c)) {
        const char ch = static_cast<char>(c);
        if (length < kMaxTokenLength) {
            token.text += ch;
        } else {
            token.overlong = true;
        }
        ++length;
        if (ch >= '0' && ch <= '9') {
            const std::uint64_t next =
                std::uint64_t{token.value} * 10u + static_cast<std::uint64_t>(ch - '0');
            if (next > UINT32_MAX) token.beyond32Bits = true;
            token.value = static_cast<std::uint32_t>(next);
        } else {
            token.numeric = false;
        }
        c = buf->snextc();
    }
    return true;
}

bool TokenReader::Peek(Token& token) {
    if (!havePeeked_) {
        if (!ReadToken(peeked_)) return false;
        havePeeked_ = true;
    }
    token = peeked_;
    return true;
}

bool TokenReader::Next(Token& token) {
    if (!Peek(token)) return false;
    havePeeked_ = false;
    return true;
}

}  // namespace korvan
