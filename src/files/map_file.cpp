#include "files/map_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "files/atomic_write.h"

namespace korvan {

namespace {

namespace fs = std::filesystem;

const LocalizedText kMissing{"%1: soubor neexistuje", "%1: there is no such file",
                             "%1: Datei nicht gefunden"};
const LocalizedText kFolder{"%1 je složka, ne soubor", "%1 is a folder, not a file",
                            "%1 ist ein Ordner, keine Datei"};
const LocalizedText kNotRegular{
    "%1 není obyčejný soubor (je to roura nebo zařízení)",
    "%1 is not a regular file (it is a pipe or a device)",
    "%1 ist keine gewöhnliche Datei (sondern eine Pipe oder ein Gerät)"};
const LocalizedText kTooLarge{"%1 je na mapu příliš velký (%2 bajtů, nejvýše %3)",
                              "%1 is too large for a map (%2 bytes, at most %3)",
                              "%1 ist für ein Kennfeld zu groß (%2 Bytes, höchstens %3)"};
const LocalizedText kBinary{"%1 není textový soubor", "%1 is not a text file",
                            "%1 ist keine Textdatei"};
const LocalizedText kUnreadable{"Nelze číst %1", "Cannot read %1", "Lesen nicht möglich: %1"};
const LocalizedText kUnwritable{"Nelze zapsat %1", "Cannot write %1",
                                "Schreiben nicht möglich: %1"};
const LocalizedText kInFile{"%1: %2", "%1: %2", "%1: %2"};

MapFileRead Refused(Phrase error) {
    MapFileRead r;
    r.error = std::move(error);
    return r;
}

std::string FileName(const std::string& path) {
    const std::string name = FilePath(path).filename().u8string();
    return name.empty() ? path : name;
}

}  // namespace

MapFileRead ReadMapTextFile(const std::string& path) {
    // The type first, without opening: opening a pipe would wait for a writer.
    std::error_code ec;
    const fs::file_status status = fs::status(FilePath(path), ec);
    if (status.type() == fs::file_type::not_found) return Refused(MakePhrase(kMissing, path));
    if (status.type() == fs::file_type::directory) return Refused(MakePhrase(kFolder, path));
    if (!ec && status.type() != fs::file_type::regular)
        return Refused(MakePhrase(kNotRegular, path));
    const std::uintmax_t size = fs::file_size(FilePath(path), ec);
    if (!ec && size > kMaxMapTextSize)
        return Refused(MakePhrase(kTooLarge, path, std::to_string(size), kMaxMapTextSize));

    MapFileRead read;
    const ReadResult result = ReadWholeFile(path, read.text, kMaxMapTextSize);
    if (!result.ok) {
        if (result.missing) return Refused(MakePhrase(kMissing, path));
        return Refused(MakePhrase(kUnreadable, result.error));
    }
    if (LooksBinary(read.text)) return Refused(MakePhrase(kBinary, path));
    read.ok = true;
    return read;
}

MapFileRead ReadMapTextStream(std::istream& in, const Phrase& name) {
    MapFileRead read;
    std::uintmax_t size = 0;
    constexpr std::size_t kChunkSize = 64 * 1024;
    std::string chunk(kChunkSize, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        size += got;
        // What lies beyond the limit is only counted, so a huge input costs no memory.
        if (read.text.size() < kMaxMapTextSize)
            read.text.append(chunk, 0, std::min(got, kMaxMapTextSize - read.text.size()));
    }
    const auto named = [&](const LocalizedText& text, const auto&... args) {
        return PhraseEach([&](std::uint8_t language) {
            return Fill(text, language, name.In(language), args...);
        });
    };
    if (in.bad()) return Refused(named(kUnreadable));
    if (size > kMaxMapTextSize)
        return Refused(named(kTooLarge, std::to_string(size), kMaxMapTextSize));
    if (LooksBinary(read.text)) return Refused(named(kBinary));
    read.ok = true;
    return read;
}

CommaRule CommaRuleForFile(const std::string& path) {
    std::string extension = FilePath(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".csv" ? CommaRule::Separates : CommaRule::DecimalWhenAlone;
}

MapFileWrite WriteMapCsv(const std::string& path, const DeviceImage& image, char separator) {
    MapFileWrite out;
    const std::string text =
        FormatMapText(image, MapRect::WholeMap(HasThrottleAxis(image)), true, separator);
    const WriteResult written = WriteFileAtomically(path, text);
    if (!written.ok) {
        out.error = MakePhrase(kUnwritable, written.error);
        return out;
    }
    out.ok = true;
    return out;
}

EditOutcome ImportMapFile(DeviceImage& image, const std::string& path) {
    EditOutcome out;
    const MapFileRead read = ReadMapTextFile(path);
    if (!read.ok) {
        out.refused = true;
        out.reason = read.error;
        return out;
    }
    const PasteTarget target{MapRect::WholeMap(HasThrottleAxis(image)), true};
    out = PasteMapText(image, read.text, target, CommaRuleForFile(path));
    if (out.refused) {
        // Which file, then what in it.
        out.reason = PhraseEach([&](std::uint8_t language) {
            return Fill(kInFile, language, path, out.reason.In(language));
        });
        return out;
    }
    out.step = MakePhrase(maptext::kStepImport, FileName(path));
    return out;
}

}  // namespace korvan
