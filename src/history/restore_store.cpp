#include "history/restore_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "files/atomic_write.h"
#include "files/parameter_file.h"
#include "params/localized_text.h"

namespace korvan {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexHeader = "KORVAN2-HISTORY 1";
constexpr char kSeparator = '\t';
constexpr std::size_t kIndexColumns = 8;
constexpr std::size_t kStampLength = 16;  // "20261208T064503Z"
constexpr const char* kPointExtension = ".ign";
// An index of many thousand points is a few megabytes; anything beyond this is not one.
constexpr std::size_t kMaxIndexSize = std::size_t{256} << 20;
constexpr std::int64_t kSecondsPerDay = 86400;

struct KindWord {
    RestoreKind kind;
    const char* word;
    LocalizedText text;
};

const KindWord kKinds[] = {
    {RestoreKind::Read, "read", {"Čtení", "Read", "Lesen"}},
    {RestoreKind::Programmed, "programmed", {"Programování", "Programmed", "Programmiert"}},
    {RestoreKind::Opened, "opened", {"Otevřeno", "Opened", "Geöffnet"}},
    {RestoreKind::Saved, "saved", {"Uloženo", "Saved", "Gespeichert"}},
};

bool AllDigits(const std::string& s, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
    }
    return true;
}

bool IsStamp(const std::string& s) {
    return s.size() == kStampLength && AllDigits(s, 0, 8) && s[8] == 'T' && AllDigits(s, 9, 6) &&
           s[15] == 'Z';
}

// Tabs and line breaks would end a column or a line; a backslash starts an escape.
std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '\\') {
            out += "\\\\";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 'x': {
                if (i + 2 >= text.size()) return false;
                const int hi = HexDigit(text[i + 1]);
                const int lo = HexDigit(text[i + 2]);
                if (hi < 0 || lo < 0) return false;
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

std::vector<std::string> SplitColumns(const std::string& line) {
    std::vector<std::string> columns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find(kSeparator, start);
        columns.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return columns;
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian), without the C library's time
// functions, which differ between platforms and are not thread-safe everywhere.
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t SystemSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

constexpr const char* kDamagedPrefix = "index-";
constexpr const char* kDamagedExtension = ".damaged";

// "index-20261208T064503Z.damaged": an index kept aside because it was damaged.
bool IsDamagedIndexName(const std::string& name) {
    const std::string prefix = kDamagedPrefix;
    const std::string ext = kDamagedExtension;
    return name.size() == prefix.size() + kStampLength + ext.size() &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           IsStamp(name.substr(prefix.size(), kStampLength)) &&
           name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
}

// Newest first; within one second the order the list already has (the caller puts later
// additions first).
void SortNewestFirst(std::vector<RestorePoint>& points) {
    std::stable_sort(points.begin(), points.end(),
                     [](const RestorePoint& a, const RestorePoint& b) { return a.time > b.time; });
}

}  // namespace

const char* RestoreKindWord(RestoreKind kind) {
    for (const KindWord& k : kKinds) {
        if (k.kind == kind) return k.word;
    }
    return "";
}

std::optional<RestoreKind> RestoreKindFromWord(const std::string& word) {
    for (const KindWord& k : kKinds) {
        if (word == k.word) return k.kind;
    }
    return std::nullopt;
}

const char* RestoreKindText(RestoreKind kind, std::uint8_t language) {
    for (const KindWord& k : kKinds) {
        if (k.kind == kind) return k.text.In(language);
    }
    return "";
}

std::string UtcStamp(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    int year = 0, month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02dZ", year, month, day,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buf;
}

std::string PointFileName(const std::string& stamp, RestoreKind kind, int sequence) {
    std::string name = stamp + "-" + RestoreKindWord(kind);
    if (sequence > 1) name += "-" + std::to_string(sequence);
    return name + kPointExtension;
}

bool ParsePointFileName(const std::string& name, RestorePoint& point) {
    const std::string ext = kPointExtension;
    if (name.size() < kStampLength + 1 + ext.size() ||
        name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return false;
    const std::string stamp = name.substr(0, kStampLength);
    if (!IsStamp(stamp) || name[kStampLength] != '-') return false;
    std::string rest = name.substr(kStampLength + 1, name.size() - kStampLength - 1 - ext.size());
    int sequence = 1;
    const std::size_t dash = rest.find('-');
    if (dash != std::string::npos) {
        const std::string digits = rest.substr(dash + 1);
        if (digits.empty() || digits.size() > 6 || !AllDigits(digits, 0, digits.size()) ||
            digits[0] == '0')
            return false;
        sequence = std::stoi(digits);
        if (sequence < 2) return false;
        rest = rest.substr(0, dash);
    }
    const auto kind = RestoreKindFromWord(rest);
    if (!kind) return false;
    point.fileName = name;
    point.time = stamp;
    point.kind = *kind;
    point.sequence = sequence;
    return true;
}

std::string IndexText(const std::vector<RestorePoint>& points) {
    std::string out = kIndexHeader;
    out += '\n';
    for (const RestorePoint& p : points) {
        const std::string* columns[] = {&p.unit.VersionString, &p.unit.DateString,
                                        &p.unit.TimeString, &p.sourcePath, &p.note};
        out += p.time;
        out += kSeparator;
        out += RestoreKindWord(p.kind);
        out += kSeparator;
        out += p.fileName;
        for (const std::string* c : columns) {
            out += kSeparator;
            out += Escape(*c);
        }
        out += '\n';
    }
    return out;
}

std::vector<RestorePoint> ParseIndex(const std::string& text, std::vector<StoreProblem>& problems) {
    std::vector<RestorePoint> points;
    std::unordered_set<std::string> seen;
    std::size_t start = 0;
    int lineNumber = 0;
    bool headerSeen = false;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();  // an index copied through Windows
        const std::string subject = "index line " + std::to_string(lineNumber);
        if (!headerSeen) {
            headerSeen = true;
            if (line != kIndexHeader) {
                problems.push_back({StoreProblem::IndexUnreadable, "", "no history index header"});
                return points;
            }
            continue;
        }
        if (line.empty()) continue;
        const std::vector<std::string> c = SplitColumns(line);
        RestorePoint p;
        std::string why;
        if (c.size() != kIndexColumns) {
            why = "wrong number of columns";
        } else if (!ParsePointFileName(c[2], p) || p.time != c[0] ||
                   RestoreKindWord(p.kind) != c[1]) {
            why = "bad time, kind or file name";
        } else if (!Unescape(c[3], p.unit.VersionString) || !Unescape(c[4], p.unit.DateString) ||
                   !Unescape(c[5], p.unit.TimeString) || !Unescape(c[6], p.sourcePath) ||
                   !Unescape(c[7], p.note)) {
            why = "bad escape";
        } else if (!seen.insert(p.fileName).second) {
            why = "file named twice";
        }
        if (!why.empty()) {
            problems.push_back({StoreProblem::IndexLine, subject, why});
            continue;
        }
        points.push_back(std::move(p));
    }
    if (!headerSeen) problems.push_back({StoreProblem::IndexUnreadable, "", "empty"});
    return points;
}

std::string StoreProblemText(const StoreProblem& p, std::uint8_t language) {
    static const LocalizedText kTexts[] = {
        {"Rejstřík historie nelze přečíst, sestaví se znovu ze souborů",
         "The history index cannot be read; it is rebuilt from the files",
         "Der Verlaufsindex ist nicht lesbar; er wird aus den Dateien neu erstellt"},
        {"poškozený řádek rejstříku vynechán", "damaged index line skipped",
         "beschädigte Indexzeile übersprungen"},
        {"soubor chybí, bod vynechán", "the file is missing; the point is skipped",
         "die Datei fehlt; der Punkt wird übersprungen"},
        {"nečitelný soubor parametrů", "unreadable parameter file", "unlesbare Kenndatendatei"},
        {"nebyl v rejstříku, byl doplněn", "was not in the index and has been added",
         "fehlte im Index und wurde ergänzt"},
    };
    std::string text;
    if (!p.subject.empty()) text = p.subject + ": ";
    text += kTexts[p.kind].In(language);
    if (!p.detail.empty()) text += " (" + p.detail + ")";
    return text;
}

RestoreStore::RestoreStore(std::string folder, Clock clock)
    : folder_(std::move(folder)), clock_(clock ? std::move(clock) : Clock(SystemSeconds)) {}

std::string RestoreStore::PathOf(const std::string& fileName) const {
    return (FilePath(folder_) / FilePath(fileName)).u8string();
}

RestorePoint* RestoreStore::Find(const std::string& fileName) {
    for (RestorePoint& p : points_) {
        if (p.fileName == fileName) return &p;
    }
    return nullptr;
}

void RestoreStore::EnsureLoaded() {
    if (!loaded_) List();
}

const std::vector<RestorePoint>& RestoreStore::List() {
    problems_.clear();
    points_.clear();
    indexDamaged_ = false;

    std::string text;
    const ReadResult read = ReadWholeFile(PathOf(kIndexName), text, kMaxIndexSize);
    if (read.ok) {
        points_ = ParseIndex(text, problems_);
    } else if (!read.missing) {
        problems_.push_back({StoreProblem::IndexUnreadable, "", read.error});
    }
    for (const StoreProblem& p : problems_) {
        if (p.kind == StoreProblem::IndexUnreadable || p.kind == StoreProblem::IndexLine)
            indexDamaged_ = true;
    }

    // One listing of the folder tells which points still have their file and which files the
    // index lost (a crash between the two writes, or a damaged index).
    std::unordered_set<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(FilePath(folder_), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        RestorePoint probe;
        if (ParsePointFileName(name, probe)) files.insert(name);
    }
    std::unordered_map<std::string, bool> indexed;
    indexed.reserve(points_.size());
    for (RestorePoint& p : points_) {
        indexed[p.fileName] = true;
        if (files.count(p.fileName) == 0) {
            p.missing = true;
            problems_.push_back({StoreProblem::MissingFile, p.fileName, ""});
        }
    }
    std::vector<std::string> recovered;
    for (const std::string& name : files) {
        if (indexed.count(name) == 0) recovered.push_back(name);
    }
    std::sort(recovered.begin(), recovered.end());
    for (const std::string& name : recovered) {
        RestorePoint p;
        ParsePointFileName(name, p);
        points_.push_back(p);
        problems_.push_back({StoreProblem::Recovered, name, ""});
    }
    if (!recovered.empty()) {
        std::stable_sort(
            points_.begin(), points_.end(),
            [](const RestorePoint& a, const RestorePoint& b) { return a.time < b.time; });
    }

    newestFirst_.clear();
    newestFirst_.reserve(points_.size());
    // From the newest line back, so that points of one second keep the order they were added in.
    for (auto it = points_.rbegin(); it != points_.rend(); ++it) {
        RestorePoint& p = *it;
        if (!unreadable_.empty() && unreadable_.count(p.fileName) != 0) {
            p.unreadable = true;
            if (!p.missing) problems_.push_back({StoreProblem::UnreadableFile, p.fileName, ""});
        }
        if (!p.missing) newestFirst_.push_back(p);
    }
    SortNewestFirst(newestFirst_);
    loaded_ = true;
    return newestFirst_;
}

StoreResult RestoreStore::WriteIndex() {
    StoreResult result;
    const std::string indexPath = PathOf(kIndexName);
    if (indexDamaged_) {
        // The damaged index may hold notes a person can still read; it is kept beside the
        // new one, never overwritten.
        std::string old;
        if (ReadWholeFile(indexPath, old, kMaxIndexSize).ok) {
            const std::string keep =
                PathOf(kDamagedPrefix + UtcStamp(clock_()) + kDamagedExtension);
            std::error_code ec;
            if (!fs::exists(FilePath(keep), ec)) WriteFileAtomically(keep, old);
        }
        indexDamaged_ = false;
    }
    const WriteResult w = WriteFileAtomically(indexPath, IndexText(points_));
    result.ok = w.ok;
    result.error = w.error;
    return result;
}

AddResult RestoreStore::Add(RestoreKind kind, const DeviceImage& image, bool extendedMonitor,
                            const IdentityTexts& unit, const std::string& sourcePath,
                            const std::string& note) {
    AddResult result;
    std::error_code ec;
    fs::create_directories(FilePath(folder_), ec);
    if (ec) {
        result.error = folder_ + ": " + ec.message();
        return result;
    }
    EnsureLoaded();

    RestorePoint p;
    p.time = UtcStamp(clock_());
    p.kind = kind;
    p.unit = unit;
    p.sourcePath = sourcePath;
    p.note = note;
    // Two points of one kind in one second (a Save right after a Save) get -2, -3, ...; a
    // name is never reused, even when the index has forgotten its file.
    for (p.sequence = 1;; ++p.sequence) {
        p.fileName = PointFileName(p.time, kind, p.sequence);
        if (!Find(p.fileName) && !fs::exists(FilePath(PathOf(p.fileName)), ec)) break;
    }

    const WriteResult w =
        WriteFileAtomically(PathOf(p.fileName), ParameterFileText(image, extendedMonitor));
    if (!w.ok) {
        result.error = w.error;
        return result;
    }
    result.ok = true;
    result.fileName = p.fileName;
    points_.push_back(p);
    newestFirst_.insert(newestFirst_.begin(), p);
    SortNewestFirst(newestFirst_);
    const StoreResult index = WriteIndex();
    if (!index.ok) result.error = index.error;
    return result;
}

LoadedPoint RestoreStore::Load(const std::string& fileName, const DeviceImage& base) {
    LoadedPoint result;
    result.image = base;
    RestorePoint probe;
    // Only point names: a name from elsewhere must not reach outside the folder.
    if (!ParsePointFileName(fileName, probe)) {
        result.error = fileName + ": not a restore point";
        return result;
    }
    const ParameterFileLoad load = LoadParameterFile(PathOf(fileName), result.image);
    const ReadResult& read = load.file;
    bool accepted = false;
    if (read.ok) {
        const ParameterFileResult& parsed = load.parsed;
        accepted = parsed.accepted;
        result.extendedMonitor = parsed.extendedMonitor.value_or(false);
        if (!accepted) result.error = fileName + ": no parameter file header";
    } else {
        result.error = read.error;
    }
    result.ok = accepted;
    if (accepted) {
        unreadable_.erase(fileName);
    } else {
        unreadable_.insert(fileName);
        problems_.push_back({StoreProblem::UnreadableFile, fileName, read.ok ? "" : read.error});
    }
    for (RestorePoint& p : points_) {
        if (p.fileName == fileName) p.unreadable = !accepted;
    }
    for (RestorePoint& p : newestFirst_) {
        if (p.fileName == fileName) p.unreadable = !accepted;
    }
    return result;
}

std::size_t RestoreStore::RemoveStaleTemporaryFiles(long long minAgeSeconds) {
    // The files whose temporary files lie here, found by one listing; each is then cleaned
    // by the write code's own rule (regular files only, by age).
    std::set<std::string> written;
    std::error_code ec;
    for (fs::directory_iterator it(FilePath(folder_), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        if (name.size() <= kTemporarySuffixLength + 1) continue;
        const std::string base = name.substr(0, name.size() - kTemporarySuffixLength - 1);
        if (!IsTemporaryFileName(name, base)) continue;
        RestorePoint probe;
        if (base == kIndexName || IsDamagedIndexName(base) || ParsePointFileName(base, probe))
            written.insert(base);
    }
    std::size_t removed = 0;
    for (const std::string& base : written)
        removed += korvan::RemoveStaleTemporaryFiles(PathOf(base), minAgeSeconds);
    return removed;
}

void RestoreStore::CheckFiles() {
    EnsureLoaded();
    std::vector<std::string> names;
    for (const RestorePoint& p : newestFirst_) names.push_back(p.fileName);
    for (const std::string& n : names) Load(n);
}

StoreResult RestoreStore::SetNote(const std::string& fileName, const std::string& note) {
    EnsureLoaded();
    RestorePoint* p = Find(fileName);
    if (!p) {
        StoreResult r;
        r.error = fileName + ": not a restore point";
        return r;
    }
    p->note = note;
    for (RestorePoint& q : newestFirst_) {
        if (q.fileName == fileName) q.note = note;
    }
    return WriteIndex();
}

}  // namespace korvan
