// The last parameter files opened or saved, newest first, as File > Recent files lists them.
// They are kept in section "RECENT_FILES" of the settings file (keys File1..File5), a section
// of their own so the keys the program has always written stay exactly as they were.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "files/ini_store.h"

namespace korvan {

constexpr std::size_t kRecentFileCount = 5;
constexpr const char* kRecentFilesSection = "RECENT_FILES";

// `list` with `path` in front: an earlier mention of it goes, the oldest beyond five go.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path);

// File1..File5 in order; empty keys and repeated paths are skipped.
std::vector<std::string> ReadRecentFiles(const IniStore& store);
// Sets File1..File5 in memory (empty for unused places). Nothing is set while the list is empty
// and the settings never had the section, so a program that never used a file writes no new
// section.
void SetRecentFiles(IniStore& store, const std::vector<std::string>& list);

}  // namespace korvan
