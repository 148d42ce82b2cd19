// Fuzzes the ini store and the settings read from it. The input is the file's text; the
// section and key names found in it (and a few the program uses) are the probes. The store
// must keep every probe's value through Text() and LoadText, find names whatever their case
// and surrounding blanks, give back what SetString wrote and leave every other key alone.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "files/ini_store.h"
#include "files/settings.h"
#include "fuzz_support.h"

namespace korvan::fuzz {
namespace {

// Enough probes to meet the input's own names and a few of the program's, few enough that a
// long input still runs quickly: each probe read scans every line.
constexpr std::size_t kMaxSections = 4;
constexpr std::size_t kMaxKeys = 6;

const char* const kBlanks = " \t\r\n\v\f";

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

bool SameName(const std::string& a, const std::string& b) {
    return Lower(Trim(a)) == Lower(Trim(b));
}

// A name the program could hand to SetString: one that cannot end its line, end the key or
// look like a section header.
bool UsableName(const std::string& s) {
    return s.find_first_of("\r\n=[]") == std::string::npos;
}

// A value that reads back exactly as written: no line break, no blanks around it (they are
// trimmed) and no pair of quotes around it (they are dropped).
bool ReadsBackAsWritten(const std::string& v) {
    if (v.find_first_of("\r\n") != std::string::npos || Trim(v) != v) return false;
    return !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

void AddName(std::vector<std::string>& names, const std::string& name, std::size_t limit) {
    if (names.size() >= limit) return;
    for (const std::string& n : names) {
        if (SameName(n, name)) return;
    }
    names.push_back(name);
}

struct Probes {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    std::vector<std::string> values;  // right-hand sides found in the input, for writing
};

Probes FindProbes(const std::string& text) {
    Probes p;
    AddName(p.sections, kFormSection, kMaxSections);
    AddName(p.keys, "ActivePage", kMaxKeys);
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const auto open = line.find('[');
        const auto close = open == std::string::npos ? open : line.find(']', open);
        if (close != std::string::npos)
            AddName(p.sections, line.substr(open + 1, close - open - 1), kMaxSections);
        const auto eq = line.find('=');
        if (eq != std::string::npos) {
            AddName(p.keys, line.substr(0, eq), kMaxKeys);
            if (p.values.size() < kMaxKeys) p.values.push_back(line.substr(eq + 1));
        }
    }
    AddName(p.sections, kIgnitionSection, kMaxSections);
    AddName(p.keys, "Left", kMaxKeys);
    return p;
}

using Values = std::vector<std::optional<std::string>>;  // one per (section, key) probe

Values ReadAll(const IniStore& store, const Probes& p) {
    Values v;
    for (const std::string& s : p.sections) {
        for (const std::string& k : p.keys) v.push_back(store.ReadString(s, k));
    }
    return v;
}

void CheckSameSettings(const Settings& a, const Settings& b) {
    FUZZ_CHECK(a.left == b.left && a.top == b.top && a.comPort == b.comPort &&
                   a.language == b.language && a.file == b.file && a.iniDir == b.iniDir &&
                   a.activePage == b.activePage && a.extendedMonitor == b.extendedMonitor,
               "the settings survive Text() and LoadText");
}

std::uint32_t Hash(const std::string& text) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// Sets one key and checks that it reads back and that no other probe changed.
void CheckWrite(IniStore& store, const Probes& p, Values& values, const std::string& section,
                const std::string& key, const std::string& value) {
    store.SetString(section, key, value);
    std::string expected = value;
    if (expected.size() > IniStore::kMaxTextLength) expected.resize(IniStore::kMaxTextLength);
    FUZZ_CHECK(store.ReadString(section, key) == std::optional<std::string>(expected),
               "a value set reads back");

    std::size_t n = 0;
    for (const std::string& s : p.sections) {
        for (const std::string& k : p.keys) {
            const auto now = store.ReadString(s, k);
            if (SameName(s, section) && SameName(k, key)) {
                FUZZ_CHECK(now == std::optional<std::string>(expected),
                           "a value set reads back under any spelling");
            } else {
                FUZZ_CHECK(now == values[n], "setting a key leaves the other keys alone");
            }
            values[n++] = now;
        }
    }
}

}  // namespace
}  // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    using namespace korvan::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Probes probes = FindProbes(text);

    IniStore store;
    store.LoadText(text);
    Values values = ReadAll(store, probes);

    // Names are found whatever their case and the blanks around them.
    std::size_t n = 0;
    for (const std::string& s : probes.sections) {
        for (const std::string& k : probes.keys) {
            FUZZ_CHECK(store.ReadString(" " + Upper(s) + "\t", Lower(k) + " ") == values[n],
                       "names are found case-insensitively, blanks around them ignored");
            ++n;
        }
    }

    const Settings defaults{11, 22, 3, 1, "file", "dir", 2, std::nullopt};
    const Settings settings = ReadSettings(store, defaults);
    FUZZ_CHECK(settings.activePage >= 1 && settings.activePage <= 4,
               "the active page is one of the four");

    {
        IniStore reloaded;
        reloaded.LoadText(store.Text());
        FUZZ_CHECK(ReadAll(reloaded, probes) == values, "Text() reads back to the same values");
        FUZZ_CHECK(reloaded.Text() == store.Text(), "Text() of what Text() gave is the same text");
        CheckSameSettings(ReadSettings(reloaded, defaults), settings);
    }

    // Writes: a value found in the input over an existing name, a new key in an existing
    // section, and integers in a section of their own.
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    for (const std::string& s : probes.sections) {
        if (UsableName(s)) sections.push_back(s);
    }
    for (const std::string& k : probes.keys) {
        if (UsableName(k)) keys.push_back(k);
    }
    std::vector<std::string> writable;
    for (const std::string& v : probes.values) {
        if (ReadsBackAsWritten(v)) writable.push_back(v);
    }
    const std::string value0 = writable.empty() ? "value" : writable.front();
    const std::string value1 = writable.empty() ? "" : writable.back();
    CheckWrite(store, probes, values, sections.front(), keys.front(), value0);
    CheckWrite(store, probes, values, sections.back(), "Korvan Fuzz Key", value1);

    const std::uint32_t bits = Hash(text);
    int number;
    std::memcpy(&number, &bits, sizeof number);
    CheckWrite(store, probes, values, "Korvan Fuzz", keys.back(), std::to_string(number));
    FUZZ_CHECK(store.ReadInteger("Korvan Fuzz", keys.back()) == std::optional<int>(number),
               "a decimal integer reads back");
    char hex[16];
    std::snprintf(hex, sizeof hex, bits % 2 ? "0x%X" : "$%x", static_cast<unsigned>(bits));
    CheckWrite(store, probes, values, sections.back(), keys.back(), hex);
    FUZZ_CHECK(store.ReadInteger(sections.back(), keys.back()) == std::optional<int>(number),
               "a hexadecimal integer reads back as its 32-bit pattern");

    IniStore reloaded;
    reloaded.LoadText(store.Text());
    FUZZ_CHECK(ReadAll(reloaded, probes) == values,
               "Text() after writes reads back to the same values");
    return 0;
}
