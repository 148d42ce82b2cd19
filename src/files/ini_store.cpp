#include "files/ini_store.h"

#include <cctype>
#include <filesystem>

namespace korvan {

namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string> SectionName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> ParseKeyLine(const std::string& line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return KeyLine{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> ParseProfileInteger(const std::string& raw) {
    const std::string text = Trim(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0 || d >= base) return std::nullopt;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL) return std::nullopt;
    }
    if (negative) v = -v;
    // Hexadecimal spells the 32-bit pattern ($FFFFFFFF is -1); decimal must fit the range.
    if (base == 16 && !negative && v > 0x7FFFFFFFLL) v -= 0x100000000LL;
    if (v < -2147483648LL || v > 2147483647LL) return std::nullopt;
    return static_cast<int>(v);
}

bool IniStore::Load() {
    std::string text;
    const ReadResult read = ReadWholeFile(path_, text);
    if (!read.ok) text.clear();
    LoadText(text);
    return read.ok || read.missing || read.device;
}

void IniStore::LoadText(const std::string& text) {
    lines_.clear();
    // An editor's byte order mark (or several) is not part of the first section's name.
    std::size_t start = 0;
    while (text.compare(start, 3, "\xEF\xBB\xBF") == 0) start += 3;
    while (start < text.size()) {
        // CR LF, LF or a lone CR ends a line.
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines_.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

std::string IniStore::Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

std::optional<std::string> IniStore::ReadString(const std::string& section,
                                                const std::string& key) const {
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = SectionName(line)) {
            inSection = SameName(*name, wantedSection);
            continue;
        }
        if (!inSection) continue;
        auto kv = ParseKeyLine(line);
        if (!kv || !SameName(kv->key, wantedKey)) continue;
        std::string value = kv->value;
        // The profile functions drop one pair of quotes around a value.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        if (value.size() > kMaxTextLength) value.resize(kMaxTextLength);
        return value;
    }
    return std::nullopt;
}

std::string IniStore::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    return ReadString(section, key).value_or(def);
}

std::optional<int> IniStore::ReadInteger(const std::string& section, const std::string& key) const {
    const auto text = ReadString(section, key);
    if (!text) return std::nullopt;
    return ParseProfileInteger(*text);
}

int IniStore::ReadInteger(const std::string& section, const std::string& key, int def) const {
    return ReadInteger(section, key).value_or(def);
}

void IniStore::SetString(const std::string& section, const std::string& key,
                         const std::string& value) {
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    const std::string newLine = wantedKey + "=" + value;

    bool inSection = false;
    bool sectionFound = false;
    std::size_t insertAt = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionName(lines_[i])) {
            if (inSection) break;  // the wanted section ended without the key
            inSection = SameName(*name, wantedSection);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (auto kv = ParseKeyLine(lines_[i])) {
            if (SameName(kv->key, wantedKey)) {
                lines_[i] = newLine;
                return;
            }
        }
        if (!Trim(lines_[i]).empty()) insertAt = i + 1;
    }
    if (!sectionFound) {
        lines_.push_back("[" + wantedSection + "]");
        lines_.push_back(newLine);
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
}

WriteResult IniStore::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    return WriteStrings({Entry{section, key, value}});
}

WriteResult IniStore::WriteStrings(const std::vector<Entry>& entries) {
    // Like the profile functions, start from what the file holds now, so that lines written
    // by hand since the last read are kept.
    if (!Load())
        return WriteResult{false, path_ + ": the file cannot be read, so it is not replaced"};
    for (const Entry& e : entries) SetString(e.section, e.key, e.value);
    return WriteLines();
}

WriteResult IniStore::WriteLines() {
    std::error_code ec;
    const auto folder = FilePath(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return WriteFileAtomically(path_, Text());
}

WriteResult IniStore::WriteInteger(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace korvan
