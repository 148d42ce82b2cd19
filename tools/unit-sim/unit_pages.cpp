#include "unit-sim/unit_pages.h"

#include <algorithm>
#include <fstream>

#include "files/state_file.h"
#include "params/defaults.h"

namespace korvan::sim {

std::uint8_t MonthCode(const char* abbreviation) {
    unsigned sum = 0;
    for (const char* c = abbreviation; *c; ++c) sum += static_cast<unsigned char>(*c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

DeviceImage DefaultUnitPages() {
    DeviceImage pages;
    std::copy(kSimVersionName, kSimVersionName + 3, pages.bytes.begin() + field::VersionName);
    pages[field::VersionNumber] = kSimVersionNumber;
    pages[field::BuildDay] = kSimBuildDay;
    pages[field::BuildMonthCode] = MonthCode(kSimBuildMonth);
    pages[field::BuildYear] = kSimBuildYear;
    pages[field::BuildHour] = kSimBuildHour;
    pages[field::BuildMinute] = kSimBuildMinute;
    pages[field::ReadEnable] = 1;
    pages[field::FormatVersion] = kFormatVersion;
    for (std::size_t i = 0; i < 3; ++i) pages[field::BikeMask + i] = 0xFF;

    pages[field::BikeType] = 0;
    SetDefaults(pages);
    return pages;
}

std::string LoadPagesFile(const std::string& path, DeviceImage& pages) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot open the pages file " + path;
    DeviceImage loaded = pages;
    const std::size_t stored = ReadStateFile(in, loaded);
    if (stored < kImageSize) {
        return "the pages file " + path + " holds " + std::to_string(stored) +
               " numbers before its end or a non-number; it needs 300";
    }
    pages = loaded;
    return {};
}

void ApplyIdentityOptions(const UnitConfig& config, DeviceImage& pages) {
    if (config.readEnable) pages[field::ReadEnable] = *config.readEnable;
    if (config.formatVersion) pages[field::FormatVersion] = *config.formatVersion;
    if (config.bikeMask) {
        for (std::size_t i = 0; i < 3; ++i) {
            pages[field::BikeMask + i] = static_cast<std::uint8_t>(*config.bikeMask >> (8 * i));
        }
    }
    if (config.versionText) {
        auto text = pages.bytes.begin() + field::VersionText;
        std::fill(text, text + field::VersionTextLength, 0);
        const std::size_t n = std::min(config.versionText->size(), field::VersionTextLength);
        std::copy(config.versionText->begin(), config.versionText->begin() + n, text);
    }
}

std::string StartPages(const UnitConfig& config, DeviceImage& pages) {
    pages = DefaultUnitPages();
    if (!config.pagesFile.empty()) {
        if (std::string error = LoadPagesFile(config.pagesFile, pages); !error.empty()) {
            return error;
        }
    }
    ApplyIdentityOptions(config, pages);
    return {};
}

}  // namespace korvan::sim
