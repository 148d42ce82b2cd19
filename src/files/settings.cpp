#include "files/settings.h"

#include <filesystem>
#include <sstream>

#include "files/state_file.h"

namespace korvan {

Settings ReadSettings(const IniStore& store, const Settings& defaults) {
    Settings s = defaults;
    s.left = store.ReadInteger(kFormSection, "Left", defaults.left);
    s.top = store.ReadInteger(kFormSection, "Top", defaults.top);
    s.comPort = static_cast<std::uint8_t>(store.ReadInteger(kFormSection, "ComPort", defaults.comPort));
    s.language = static_cast<std::uint8_t>(store.ReadInteger(kFormSection, "Language", defaults.language));
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

WriteResult WriteSettings(IniStore& store, const Settings& s) {
    const int page = (s.activePage >= 1 && s.activePage <= 3) ? s.activePage : 4;
    struct Entry {
        const char* section;
        const char* key;
        std::string value;
    };
    const Entry entries[] = {
        {kFormSection, "Left", std::to_string(s.left)},
        {kFormSection, "Top", std::to_string(s.top)},
        {kFormSection, "ComPort", std::to_string(s.comPort)},
        {kFormSection, "Language", std::to_string(s.language)},
        {kFormSection, "File", s.file},
        {kFormSection, "IniDir", s.iniDir},
        // The key is written with a trailing blank and read without; the store ignores
        // blanks around names, so both address one entry.
        {kFormSection, "ActivePage ", std::to_string(page)},
        {kIgnitionSection, "CheckBoxExtMonitor->Checked", s.extendedMonitor.value_or(false) ? "1" : "0"},
    };
    for (const Entry& e : entries) {
        WriteResult r = store.WriteString(e.section, e.key, e.value);
        if (!r.ok) return r;
    }
    return WriteResult{true, {}};
}

bool LoadStateFile(const std::string& path, DeviceImage& image) {
    std::string text;
    if (!ReadWholeFile(path, text).ok) return false;
    std::istringstream in(text);
    ReadStateFile(in, image);
    return true;
}

WriteResult SaveStateFile(const std::string& path, const DeviceImage& image) {
    std::error_code ec;
    const auto folder = FilePath(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return WriteFileAtomically(path, StateFileText(image));
}

namespace {
std::string PortKey(int comPort) { return "COM" + std::to_string(comPort); }
}  // namespace

std::string PortDeviceName(const IniStore& store, int comPort) { return ChoosePortDevice(store, comPort, {}).device; }

PortChoice ChoosePortDevice(const IniStore& store, int comPort, const std::vector<std::string>& adapters) {
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
