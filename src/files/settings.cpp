#include "files/settings.h"

#include <ctime>
#include <filesystem>
#include <sstream>

#include "files/state_file.h"

namespace korvan {

Settings ReadSettings(const IniStore& store, const Settings& defaults) {
    Settings s = defaults;
    s.left = store.ReadInteger(kFormSection, "Left", defaults.left);
    s.top = store.ReadInteger(kFormSection, "Top", defaults.top);
    s.comPort =
        static_cast<std::uint8_t>(store.ReadInteger(kFormSection, "ComPort", defaults.comPort));
    s.language =
        static_cast<std::uint8_t>(store.ReadInteger(kFormSection, "Language", defaults.language));
    s.file = store.ReadString(kFormSection, "File", defaults.file);
    s.iniDir = store.ReadString(kFormSection, "IniDir", defaults.iniDir);
    const int page = store.ReadInteger(kFormSection, "ActivePage", defaults.activePage) & 0xFF;
    s.activePage = (page >= 2 && page <= 4) ? page : 1;
    if (auto ext = store.ReadInteger(kIgnitionSection, "CheckBoxExtMonitor->Checked")) {
        s.extendedMonitor = *ext != 0;
    } else {
        s.extendedMonitor = defaults.extendedMonitor;
    }
    return s;
}

namespace {

std::vector<IniStore::Entry> SettingsEntries(const Settings& s, unsigned keys) {
    const int page = (s.activePage >= 1 && s.activePage <= 3) ? s.activePage : 4;
    std::vector<IniStore::Entry> entries;
    if (keys & kPositionKeys) {
        entries.push_back({kFormSection, "Left", std::to_string(s.left)});
        entries.push_back({kFormSection, "Top", std::to_string(s.top)});
    }
    if (keys & kComPortKey) entries.push_back({kFormSection, "ComPort", std::to_string(s.comPort)});
    if (keys & kLanguageKey)
        entries.push_back({kFormSection, "Language", std::to_string(s.language)});
    if (keys & kFileKey) entries.push_back({kFormSection, "File", s.file});
    if (keys & kIniDirKey) entries.push_back({kFormSection, "IniDir", s.iniDir});
    // The key is written with a trailing blank and read without; the store ignores blanks
    // around names, so both address one entry.
    if (keys & kActivePageKey)
        entries.push_back({kFormSection, "ActivePage ", std::to_string(page)});
    if (keys & kExtendedMonitorKey) {
        entries.push_back({kIgnitionSection, "CheckBoxExtMonitor->Checked",
                           s.extendedMonitor.value_or(false) ? "1" : "0"});
    }
    return entries;
}

}  // namespace

WriteResult WriteSettings(IniStore& store, const Settings& s) {
    return store.WriteStrings(SettingsEntries(s, kAllSettingsKeys));
}

void SetSettings(IniStore& store, const Settings& s, unsigned keys) {
    for (const IniStore::Entry& e : SettingsEntries(s, keys))
        store.SetString(e.section, e.key, e.value);
}

StateFileLoad LoadStateFile(const std::string& path, DeviceImage& image) {
    StateFileLoad load;
    std::string text;
    // Only the first 300 numbers count, so the start of a file of any size is enough; a file
    // that is larger than any state file is read as far as that, not refused.
    const ReadResult read = ReadFileStart(path, text, kMaxReadSize);
    if (read.missing || read.device) return load;
    std::error_code ec;
    load.present = std::filesystem::is_regular_file(FilePath(path), ec);
    if (!read.ok) {
        load.understood = false;
        load.error = read.error;
        return load;
    }
    // A number cut in two by the end of what was read is not one of the file's numbers.
    if (read.truncated) {
        const auto lastBlank = text.find_last_of(" \t\r\n\v\f");
        text.resize(lastBlank == std::string::npos ? 0 : lastBlank);
    }
    std::istringstream in(text);
    load.numbers = ReadStateFile(in, image);
    // An empty file holds nothing to lose.
    load.understood = load.numbers == kImageSize || (text.empty() && !read.truncated);
    return load;
}

std::string KeptStateFileName(const std::string& path, std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return path + ".unreadable-" + stamp;
}

WriteResult KeepStateFile(const std::string& path, std::time_t when, std::string& keptPath) {
    namespace fs = std::filesystem;
    const fs::path from = FilePath(path);
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return WriteResult{false, path + ": not a regular file"};
    // A second name for the same file: nothing is copied, and it works even for a file that
    // cannot be read. Where the file system has no such names, a copy.
    constexpr int kMaxAttempts = 100;
    const std::string base = KeptStateFileName(path, when);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const std::string candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        const fs::path to = FilePath(candidate);
        if (fs::exists(fs::symlink_status(to, ec))) continue;
        fs::create_hard_link(from, to, ec);
        if (ec) fs::copy_file(from, to, ec);
        if (ec) return WriteResult{false, candidate + ": " + ec.message()};
        keptPath = candidate;
        return WriteResult{true, {}};
    }
    return WriteResult{false, base + ": the name is taken"};
}

const LocalizedText kStateFileKept{
    "Stavový soubor %1 nebylo možné přečíst. Aby se neztratil, byl uschován jako %2.",
    "The state file %1 could not be read. So that it is not lost, it has been kept as %2.",
    "Die Zustandsdatei %1 war nicht lesbar. Damit sie nicht verloren geht, wurde sie als %2 "
    "aufbewahrt.",
};

WriteResult SaveStateFile(const std::string& path, const DeviceImage& image) {
    std::error_code ec;
    const auto folder = FilePath(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return WriteFileAtomically(path, StateFileText(image));
}

namespace {
std::string PortKey(int comPort) {
    return "COM" + std::to_string(comPort);
}
}  // namespace

std::string PortDeviceName(const IniStore& store, int comPort) {
    return ChoosePortDevice(store, comPort, {}).device;
}

PortChoice ChoosePortDevice(const IniStore& store, int comPort,
                            const std::vector<std::string>& adapters) {
#ifdef _WIN32
    (void)store;
    (void)adapters;
    return {PortKey(comPort), false};  // the name exactly, without a device-namespace prefix
#else
    const std::string named = store.ReadString(kPortsSection, PortKey(comPort), "");
    if (!named.empty()) return {named, false};
    // One adapter and no key: it is what the tuner plugged in for this program. With two the
    // program cannot know which, and with none the built-in port is the only guess.
    if (adapters.size() == 1) return {adapters.front(), true};
    return {"/dev/ttyS" + std::to_string(comPort - 1), false};
#endif
}

WriteResult StorePortDevice(IniStore& store, int comPort, const std::string& device) {
    return store.WriteString(kPortsSection, PortKey(comPort), device);
}

}  // namespace korvan
