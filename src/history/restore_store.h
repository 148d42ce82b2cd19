// Restore points: every parameter set the program read, programmed, opened or saved, kept as
// its own .ign file in one folder with an index beside them, so a lost tune can always be
// found again. The program only ever adds files; it never deletes one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "params/device_image.h"

namespace korvan {

enum class RestoreKind { Read, Programmed, Opened, Saved };

// "read", "programmed", "opened", "saved": the word in the file name and the index.
const char* RestoreKindWord(RestoreKind kind);
std::optional<RestoreKind> RestoreKindFromWord(const std::string& word);
// The kind as the history window shows it.
const char* RestoreKindText(RestoreKind kind, std::uint8_t language);

struct RestorePoint {
    std::string fileName;  // "20261208T064503Z-read.ign", in the store's folder
    std::string time;      // "20261208T064503Z" (UTC)
    int sequence = 1;      // 2, 3, ... for further points of the same second and kind
    RestoreKind kind = RestoreKind::Read;
    IdentityTexts unit;      // the unit's version, date and time texts; empty without a unit
    std::string sourcePath;  // the file for Open and Save
    std::string note;
    bool unreadable = false;  // the file is there but is no parameter file any more
    bool missing = false;     // named by the index, but the file is gone: not listed, kept
                              // in the index so its note comes back with the file
};

// Something the store met and stepped over; the history window lists these as lines.
struct StoreProblem {
    enum Kind {
        IndexUnreadable,  // the index exists but cannot be read
        IndexLine,        // a line of the index is corrupt; it was left out
        MissingFile,      // the index names a file that is not there
        UnreadableFile,   // the file is there but is no parameter file
        Recovered,        // a point file the index did not name was taken in
    };
    Kind kind;
    std::string subject;  // the file name, or "index line N"
    std::string detail;   // the system's reason where there is one
};
// One line for the history window in the given language.
std::string StoreProblemText(const StoreProblem& problem, std::uint8_t language);

struct StoreResult {
    bool ok = false;
    std::string error;  // why not, for the status bar (file name and the system's reason)
};

// `ok` once the point's file is written. A failed index write after that is reported in
// `error` with `ok` still true: the next listing finds the file and takes it in again.
struct AddResult : StoreResult {
    std::string fileName;
};

struct LoadedPoint : StoreResult {
    DeviceImage image;  // the base given to Load with the file's values over it
    bool extendedMonitor = false;
};

class RestoreStore {
  public:
    using Clock = std::function<std::int64_t()>;  // seconds since 1970-01-01 UTC

    // `folder` is created on the first Add. The clock is the system's unless a test gives one.
    explicit RestoreStore(std::string folder, Clock clock = {});

    // Stores a point: the file first, then the index. The image's parameter pages are
    // written exactly as File > Save writes them.
    AddResult Add(RestoreKind kind, const DeviceImage& image, bool extendedMonitor,
                  const IdentityTexts& unit, const std::string& sourcePath,
                  const std::string& note);

    // The points, newest first, from the index and one listing of the folder (point files
    // are not opened). Problems met on the way are in Problems() afterwards.
    const std::vector<RestorePoint>& List();
    const std::vector<StoreProblem>& Problems() const { return problems_; }

    // Reads a point's file. A file that cannot be read marks the point unreadable in this and
    // every later listing of this store, until a Load succeeds again.
    // As File > Open does, the file's values go over `base` (bytes a parameter file does not
    // hold keep their value); the caller normalises.
    LoadedPoint Load(const std::string& fileName, const DeviceImage& base = DeviceImage{});
    // Opens every listed file and marks the ones that are no parameter file (slow for a long
    // history; the window checks a point when it is used instead).
    void CheckFiles();

    StoreResult SetNote(const std::string& fileName, const std::string& note);

    // A kill during a write leaves the write's temporary file behind ("<point>.ign.XXXXXX",
    // "index.txt.XXXXXX", the same beside a kept damaged index). Removes those older than
    // `minAgeSeconds` (a younger one may be another running copy's write) and nothing else;
    // returns how many went.
    std::size_t RemoveStaleTemporaryFiles(long long minAgeSeconds);

    const std::string& Folder() const { return folder_; }
    std::string PathOf(const std::string& fileName) const;

    static constexpr const char* kIndexName = "index.txt";

  private:
    void EnsureLoaded();
    StoreResult WriteIndex();
    RestorePoint* Find(const std::string& fileName);

    std::string folder_;
    Clock clock_;
    bool loaded_ = false;
    bool indexDamaged_ = false;         // the next write keeps a copy of the old index first
    std::vector<RestorePoint> points_;  // oldest first, as in the index
    std::vector<RestorePoint> newestFirst_;
    std::vector<StoreProblem> problems_;
    std::unordered_set<std::string> unreadable_;  // files a Load found unreadable
};

// The index, "index.txt" in the store's folder, UTF-8 with LF line breaks:
//   KORVAN2-HISTORY 1
//   <time>TAB<kind>TAB<file>TAB<unit version>TAB<unit date>TAB<unit time>TAB<source path>TAB<note>
// one line per point, oldest first. Time and kind are those of the file name
// ("20261208T064503Z", "read"); the unit texts are empty when no unit was involved.
// In the last five columns a backslash, tab, CR and LF are written as \\, \t, \r, \n and any
// other control character as \xHH. A line whose time, kind and file name disagree, or which
// has another number of columns or a bad escape, is left out and reported.
// The index text of the points (oldest first), and back. Exposed for tests and benchmarks.
std::string IndexText(const std::vector<RestorePoint>& points);
std::vector<RestorePoint> ParseIndex(const std::string& text, std::vector<StoreProblem>& problems);

// "20261208T064503Z" of seconds since 1970 (UTC), and the point file name of time, kind and
// sequence.
std::string UtcStamp(std::int64_t seconds);
std::string PointFileName(const std::string& stamp, RestoreKind kind, int sequence);
// Splits a point file name; false for any other file.
bool ParsePointFileName(const std::string& name, RestorePoint& point);

}  // namespace korvan
