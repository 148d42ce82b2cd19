// The settings the program keeps between runs in "Korvan2.ini", and the state file beside it.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "files/atomic_write.h"
#include "files/ini_store.h"
#include "params/device_image.h"
#include "params/localized_text.h"

namespace korvan {

constexpr const char* kSettingsFileName = "Korvan2.ini";
constexpr const char* kFormSection = "FORM_HLAV";
constexpr const char* kIgnitionSection = "IGNITION";
constexpr const char* kPortsSection = "PORTS";

struct Settings {
    int left = 0;
    int top = 0;
    std::uint8_t comPort = 1;
    std::uint8_t language = 0;
    std::string file;    // the file label's text
    std::string iniDir;  // despite the name, the full path of the last parameter file
    int activePage = 1;  // 1 Miscellaneous, 2 Advance Map, 3 N2O Controller, 4 Servo
    std::optional<bool> extendedMonitor;  // unset: the box keeps its state
};

// Reads every key; a missing key or one that is not an integer keeps the value in `defaults`.
// The active page is reduced to 1..4 (2, 3 and 4 select that page, anything else the first).
Settings ReadSettings(const IniStore& store, const Settings& defaults);

// Sets the keys in their fixed order and replaces the file once.
WriteResult WriteSettings(IniStore& store, const Settings& settings);

// The keys of Settings, for the part of the window that keeps each one.
enum SettingsKey : unsigned {
    kPositionKeys = 1u << 0,  // Left, Top
    kComPortKey = 1u << 1,
    kLanguageKey = 1u << 2,
    kFileKey = 1u << 3,
    kIniDirKey = 1u << 4,
    kActivePageKey = 1u << 5,
    kExtendedMonitorKey = 1u << 6,
    kAllSettingsKeys = (1u << 7) - 1,
};
// Sets the chosen keys (SettingsKey bits) in memory, written as WriteSettings writes them;
// the caller replaces the file once when every part has set its keys.
void SetSettings(IniStore& store, const Settings& settings, unsigned keys);

struct StateFileLoad {
    bool present = false;  // a regular file is there
    bool understood =
        true;  // false: a file is there, but it could not be read or did not hold 300 numbers
    std::size_t numbers = 0;  // how many image bytes it gave
    std::string error;
};
// Reads the numbers at the start of the state file over `image`. A missing file, or a device
// such as /dev/null, gives nothing and counts as understood.
StateFileLoad LoadStateFile(const std::string& path, DeviceImage& image);

// Keeps a state file that was not understood beside itself, as "<path>.unreadable-<time>"
// (local time, YYYYMMDD-HHMMSS), before a save replaces it. The file itself stays in place.
WriteResult KeepStateFile(const std::string& path, std::time_t when, std::string& keptPath);
std::string KeptStateFileName(const std::string& path, std::time_t when);
// The note that a state file was kept: %1 is its path, %2 the kept copy's.
extern const LocalizedText kStateFileKept;
// Replaces the state file atomically.
WriteResult SaveStateFile(const std::string& path, const DeviceImage& image);

// The device opened for COM port n (1..10): "COMn" on Windows; elsewhere the device named by
// key "COMn" of section "PORTS" (for example COM1=/dev/ttyUSB0), else /dev/ttyS(n-1).
std::string PortDeviceName(const IniStore& store, int comPort);

// The device for COM port n on a first run: with key "COMn" present, that device; without it
// and exactly one adapter in `adapters` (USB or ACM, present now), that adapter, which the caller
// stores as the key (storeAsKey); otherwise the rule of PortDeviceName.
struct PortChoice {
    std::string device;
    bool storeAsKey = false;
};
PortChoice ChoosePortDevice(const IniStore& store, int comPort,
                            const std::vector<std::string>& adapters);

// Writes key "COMn" of section "PORTS"; the other keys and sections stay as they are.
WriteResult StorePortDevice(IniStore& store, int comPort, const std::string& device);

}  // namespace korvan
