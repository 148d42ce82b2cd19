#include "files/recent_files.h"

#include <algorithm>

namespace korvan {

namespace {

std::string KeyOf(std::size_t place) {
    return "File" + std::to_string(place + 1);
}

}  // namespace

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path) {
    if (path.empty()) return list;
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.insert(list.begin(), path);
    if (list.size() > kRecentFileCount) list.resize(kRecentFileCount);
    return list;
}

std::vector<std::string> ReadRecentFiles(const IniStore& store) {
    std::vector<std::string> list;
    for (std::size_t place = 0; place < kRecentFileCount; ++place) {
        const std::string path = store.ReadString(kRecentFilesSection, KeyOf(place), "");
        if (path.empty() || std::find(list.begin(), list.end(), path) != list.end()) continue;
        list.push_back(path);
    }
    return list;
}

void SetRecentFiles(IniStore& store, const std::vector<std::string>& list) {
    bool present = !list.empty();
    for (std::size_t place = 0; place < kRecentFileCount && !present; ++place)
        present = store.ReadString(kRecentFilesSection, KeyOf(place)).has_value();
    if (!present) return;
    for (std::size_t place = 0; place < kRecentFileCount; ++place)
        store.SetString(kRecentFilesSection, KeyOf(place), place < list.size() ? list[place] : "");
}

}  // namespace korvan
