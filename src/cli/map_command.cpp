#include "cli/map_command.h"

#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "files/atomic_write.h"
#include "files/map_file.h"
#include "files/parameter_file.h"

namespace korvan::cli {

namespace {

const LocalizedText kStandardInput{"standardní vstup", "standard input", "Standardeingabe"};
const LocalizedText kNamedReason{"%1: %2", "%1: %2", "%1: %2"};

}  // namespace

int CommandMap(CommandContext& c, const MapOptions& o) {
    DeviceImage image;
    if (const int code = LoadTuneFile(c, o.file, o.acceptIgnored, image); code != kExitSuccess)
        return code;
    const bool throttleAxis = HasThrottleAxis(image);
    if (o.setFrom.empty()) {
        // The rows in use, as the window's Select All and Copy with axes give them.
        c.out << FormatMapText(image, MapRect::WholeMap(throttleAxis), true);
        return kExitSuccess;
    }

    // The file's "Extended Monitor" state goes into the new file as it was; the parameters
    // were taken above as File > Open takes them.
    DeviceImage scratch;
    const std::optional<bool> extendedMonitor =
        LoadParameterFile(o.file, scratch).parsed.extendedMonitor;

    const bool fromInput = o.setFrom == "-";
    const MapFileRead read = fromInput && o.in
                                 ? ReadMapTextStream(*o.in, MakePhrase(kStandardInput))
                                 : ReadMapTextFile(o.setFrom);
    if (!read.ok) {
        c.err << read.error.In(c.language) << '\n';
        return kExitFile;
    }
    // As a paste without a selection: a block with the axis header lands on the points it
    // names, one without on the first cell in use; a single number fills the map in use.
    const EditOutcome pasted =
        PasteMapText(image, read.text, {MapRect::WholeMap(throttleAxis), true},
                     fromInput ? CommaRule::DecimalWhenAlone : CommaRuleForFile(o.setFrom));
    if (pasted.refused) {
        const std::string source = fromInput ? kStandardInput.In(c.language) : o.setFrom;
        c.err << korvan::Fill(kNamedReason, c.language, source, pasted.reason.In(c.language))
              << '\n';
        return kExitFile;
    }
    if (!c.quiet) c.err << pasted.step.In(c.language) << '\n';

    const std::string text = ParameterFileText(image, extendedMonitor.value_or(c.extendedMonitor));
    if (o.output.empty()) {
        c.out << text << std::flush;
        return kExitSuccess;
    }
    const WriteResult written = WriteFileAtomically(o.output, text);
    if (!written.ok) {
        c.err << Fill(kFileUnwritable, c.language, written.error) << '\n';
        return kExitFile;
    }
    return kExitSuccess;
}

}  // namespace korvan::cli
