// A small profile-style ini store that reads and writes the way the Windows profile functions
// do: sections and keys found case-insensitively, blanks around names ignored, a written key
// replaces its own line and every other line of the file (a user's [PORTS] section, comments)
// is kept. Each write replaces the file atomically.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/atomic_write.h"

namespace korvan {

class IniStore {
  public:
    // Longest text a read returns, as the profile functions' 2048-byte buffer allows.
    static constexpr std::size_t kMaxTextLength = 2047;

    explicit IniStore(std::string path = {}) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // Reads the file again. A missing file reads as empty, and so does a character device
    // (a settings file linked to /dev/null); one that exists but cannot be read also leaves the
    // store empty and returns false, so that nothing overwrites it.
    bool Load();
    void LoadText(const std::string& text);
    std::string Text() const;

    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal, or hexadecimal behind "$", "0x" or "0X", with an optional sign; anything else,
    // an empty value or a number beyond 32 bits reads as missing.
    std::optional<int> ReadInteger(const std::string& section, const std::string& key) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;

    // Sets the key in memory and replaces the file with the new text. A file that exists but
    // cannot be read is never replaced (its other sections would be lost); on any failure the
    // file on disk is left as it was.
    WriteResult WriteString(const std::string& section, const std::string& key,
                            const std::string& value);
    WriteResult WriteInteger(const std::string& section, const std::string& key, int value);

    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    // Sets all the keys and replaces the file once: starting from what the file holds now, as
    // one write does, so the file never holds some keys of this save and some of another.
    WriteResult WriteStrings(const std::vector<Entry>& entries);

    // Replaces the file with the lines in memory (Load, then SetString for every key).
    WriteResult WriteLines();

    // Sets the key in memory only.
    void SetString(const std::string& section, const std::string& key, const std::string& value);

  private:
    std::string path_;
    std::vector<std::string> lines_;
};

// The integer rule of the store, exposed for its tests.
std::optional<int> ParseProfileInteger(const std::string& text);

}  // namespace korvan
