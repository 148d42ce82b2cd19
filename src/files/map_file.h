// The advance map as a file of its own: a .csv with the axes for spreadsheets, and the text
// files korvan2-cli takes a map from. The text is the clipboard's (params/map_text.h).
#pragma once

#include <istream>
#include <string>

#include "params/map_text.h"

namespace korvan {

struct MapFileRead {
    bool ok = false;
    std::string text;
    Phrase error;  // what is wrong with the file, naming it
};

// Reads a map text file: a regular file of at most kMaxMapTextSize bytes holding text. A
// folder, a pipe, a socket, a device or a larger file is refused before it is opened, so
// nothing blocks; a file with control bytes (a program, a text in UTF-16) after it is read.
MapFileRead ReadMapTextFile(const std::string& path);

// Reads a map text from a stream (standard input) to its end, keeping no more than
// kMaxMapTextSize bytes: a longer text is refused with its length. `name` says in each
// language what the stream is.
MapFileRead ReadMapTextStream(std::istream& in, const Phrase& name);

// How commas in the file at `path` are read: a ".csv" separates cells with them, any other
// text is read as a clipboard would be.
CommaRule CommaRuleForFile(const std::string& path);

struct MapFileWrite {
    bool ok = false;
    Phrase error;
};

// Writes the map's rows in use with the axes, cells separated by `separator` (see
// CsvSeparatorFor). The old file is replaced only once the new one is complete.
MapFileWrite WriteMapCsv(const std::string& path, const DeviceImage& image, char separator);

// Reads the file and writes its block into the map where its headers place it, without
// headers from the first cell in use; a single number fills the map in use. A file that cannot
// be read, or whose text is refused, changes nothing and the reason names the file.
EditOutcome ImportMapFile(DeviceImage& image, const std::string& path);

}  // namespace korvan
