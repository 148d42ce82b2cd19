// korvan2-cli map: the advance map of a .ign file as the tab-separated text the window's Copy
// with axes gives, and a new .ign with the map taken from such a text, by the paste's rules.
// Needs no unit.
#pragma once

#include <istream>
#include <string>

#include "cli/commands.h"

namespace korvan::cli {

struct MapOptions {
    std::string file;     // the .ign file
    std::string setFrom;  // the map text to take ("-": `in`); empty: print the map
    std::string output;   // the .ign to write; empty: standard output
    bool acceptIgnored = false;
    std::istream* in = nullptr;  // standard input, for setFrom "-"
};

int CommandMap(CommandContext& c, const MapOptions& options);

}  // namespace korvan::cli
