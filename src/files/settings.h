// The settings the program keeps between runs in "Korvan2.ini", and the state file beside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/atomic_write.h"
#include "files/ini_store.h"
#include "params/device_image.h"

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

// Writes the keys in their fixed order, one store write each, and stops at the first write
// the store refuses.
WriteResult WriteSettings(IniStore& store, const Settings& settings);

// Reads the state file over `image`; false when it cannot be opened.
bool LoadStateFile(const std::string& path, DeviceImage& image);
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
PortChoice ChoosePortDevice(const IniStore& store, int comPort, const std::vector<std::string>& adapters);

// Writes key "COMn" of section "PORTS"; the other keys and sections stay as they are.
WriteResult StorePortDevice(IniStore& store, int comPort, const std::string& device);

}  // namespace korvan
