#include "cli/log_commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>

#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "files/atomic_write.h"
#include "log/ride_log_writer.h"
#include "log/ride_summary.h"
#include "params/defaults.h"

namespace korvan::cli {

namespace {

const LocalizedText kOutputFormat = {
    "%1: přípona určuje formát výstupu: .msl, .mlg nebo .csv",
    "%1: the extension names the output's format: .msl, .mlg or .csv",
    "%1: die Endung bestimmt das Ausgabeformat: .msl, .mlg oder .csv",
};
const LocalizedText kSameFile = {
    "%1: vstup a výstup jsou tentýž soubor",
    "%1: the input and the output are the same file",
    "%1: Eingabe und Ausgabe sind dieselbe Datei",
};
const LocalizedText kConverted = {
    "%1: řádků %2, značek %3",
    "%1: %2 rows, %3 markers",
    "%1: %2 Zeilen, %3 Markierungen",
};
const LocalizedText kUnknownChannel = {
    "--channel %1: takový kanál není; kanály jsou: %2",
    "--channel %1: there is no such channel; the channels are: %2",
    "--channel %1: diesen Kanal gibt es nicht; die Kanäle sind: %2",
};
const LocalizedText kChannelNotLogged = {
    "%1 neobsahuje kanál %2",
    "%1 holds no channel %2",
    "%1 enthält keinen Kanal %2",
};
const LocalizedText kMarkNotInLog = {
    "--between-marks: %1 má značek %2",
    "--between-marks: %1 has %2 markers",
    "--between-marks: %1 hat %2 Markierungen",
};
const LocalizedText kCellsOfDefaults = {
    "Buňky odpovídají výchozí mapě; --tune SOUBOR.ign je umístí na vaši mapu.",
    "The cells follow the default map; --tune FILE.ign places them on your map.",
    "Die Zellen folgen dem Standardkennfeld; --tune DATEI.ign legt sie auf Ihr Kennfeld.",
};
const LocalizedText kSeconds = {"Sekundy", "Seconds", "Sekunden"};
const LocalizedText kSamples = {"Vzorky", "Samples", "Messwerte"};
const LocalizedText kMean = {"%1 průměr (%2)", "%1 mean (%2)", "%1 Mittel (%2)"};
const LocalizedText kMin = {"%1 minimum (%2)", "%1 minimum (%2)", "%1 Minimum (%2)"};
const LocalizedText kMax = {"%1 maximum (%2)", "%1 maximum (%2)", "%1 Maximum (%2)"};

const std::map<std::string, CellQuantity> kQuantities = {
    {"seconds", CellQuantity::Seconds}, {"samples", CellQuantity::Samples},
    {"mean", CellQuantity::Mean},       {"min", CellQuantity::Min},
    {"max", CellQuantity::Max},
};

std::string ChannelList() {
    std::string list;
    for (const LogChannel& ch : kLogChannels) {
        if (!list.empty()) list += ", ";
        list += ch.name;
    }
    return list;
}

std::string QuantityTitle(CellQuantity q, std::size_t channel, std::uint8_t language) {
    const std::string name = kLogChannels[channel].name;
    const std::string unit = kLogChannels[channel].unit;
    switch (q) {
        case CellQuantity::Seconds:
            return kSeconds.In(language);
        case CellQuantity::Samples:
            return kSamples.In(language);
        case CellQuantity::Mean:
            return korvan::Fill(kMean, language, name, unit);
        case CellQuantity::Min:
            return korvan::Fill(kMin, language, name, unit);
        case CellQuantity::Max:
            return korvan::Fill(kMax, language, name, unit);
    }
    return {};
}

}  // namespace

LogCommands::LogCommands(CLI::App& app) {
    log_ = app.add_subcommand(
        "log", "a ride log (.msl, .mlg, .csv) without a unit: convert, summary, cells");
    // None is reported by Run, naming the commands.
    log_->require_subcommand(0, 1);

    convert_ = log_->add_subcommand(
        "convert", "write IN again as OUT, the formats by their extensions (.msl, .mlg, .csv)");
    convert_->add_option("IN", input_, "the ride log to read")->required();
    convert_->add_option("OUT", output_, "the file to write (replaced only once complete)")
        ->required();

    summary_ = log_->add_subcommand(
        "summary",
        "print the ride's summary: duration, highest speed, time above the gear-shift light, at "
        "the limiter, at full throttle and with N2O on, the markers");
    summary_->add_option("IN", input_, "the ride log")->required();

    cells_ = log_->add_subcommand(
        "cells",
        "print the per-cell tables on the map's axes as tab-separated text: seconds, samples and "
        "the channel's mean, minimum and maximum");
    cells_->add_option("IN", input_, "the ride log")->required();
    cells_->add_option("--channel", channel_, "the channel of the mean, minimum and maximum")
        ->default_str("Lambda");
    cells_->add_option("--value", quantity_, "print only this table")
        ->check(CLI::IsMember({"seconds", "samples", "mean", "min", "max"}));
    cells_
        ->add_option("--min-samples", minSamples_,
                     "leave cells with fewer samples empty in the channel's tables")
        ->default_str("3")
        ->check(CLI::NonNegativeNumber);

    for (CLI::App* command : {convert_, summary_, cells_}) {
        command->add_option("--tune", tune_,
                            command == convert_
                                ? "the .ign file whose map places rows of a log that names no "
                                  "cells (default: the default set)"
                                : "the .ign file whose map the rows are placed on (default: the "
                                  "default set)");
        command->add_flag("--accept-ignored", acceptIgnored_,
                          "use the tune even when parts of it were ignored");
    }
    for (CLI::App* command : {summary_, cells_}) {
        command->add_option("--from", from_, "leave out rows before this time (s)");
        command->add_option("--to", to_, "leave out rows after this time (s)");
        command
            ->add_option("--between-marks", betweenMarks_,
                         "only the rows between markers A and B (numbered from 1)")
            ->expected(2)
            ->check(CLI::PositiveNumber);
        command->add_option("--tps", tps_, "only throttle openings MIN to MAX (%)")->expected(2);
        command->add_option("--rpm", rpm_, "only speeds MIN to MAX (rpm)")->expected(2);
        command->add_flag("--without-limiter", withoutLimiter_,
                          "leave out rows with the start limiter on or the speed at the limiter");
        command->add_flag("--without-clutch", withoutClutch_, "leave out rows with the clutch on");
        command->add_flag("--without-n2o", withoutN2o_, "leave out rows with N2O on");
    }
}

bool LogCommands::Parsed() const {
    return log_->parsed();
}

int LogCommands::Run(CommandContext& c) const {
    if (convert_->parsed()) return Convert(c);
    if (summary_->parsed()) return Summary(c);
    if (cells_->parsed()) return Cells(c);
    c.err << "korvan2-cli log: a command is required: convert, summary or cells (korvan2-cli "
             "log --help)\n";
    return kExitUsage;
}

std::optional<RideLogReadResult> LogCommands::Read(CommandContext& c) const {
    RideLogReadResult log = ReadRideLogFile(input_);
    if (!log.Ok()) {
        c.err << log.RefusalText(input_, c.language) << '\n';
        return std::nullopt;
    }
    // What was left out is said, and the rest is used, as the replay does.
    for (const std::string& note : {log.BadRowsText(c.language), log.TruncatedText(c.language)}) {
        if (!note.empty()) c.err << input_ << ": " << note << '\n';
    }
    return log;
}

bool LogCommands::LoadTune(CommandContext& c, DeviceImage& image) const {
    if (tune_.empty()) {
        image = DefaultImage();
        return true;
    }
    return LoadTuneFile(c, tune_, acceptIgnored_, image) == kExitSuccess;
}

bool LogCommands::Filter(CommandContext& c, const RideLogReadResult& log, LogFilter& filter) const {
    if (from_) filter.fromS = *from_;
    if (to_) filter.toS = *to_;
    if (betweenMarks_.size() == 2) {
        for (std::size_t mark : betweenMarks_) {
            if (mark > log.marks.size()) {
                c.err << korvan::Fill(kMarkNotInLog, c.language, input_, log.marks.size()) << '\n';
                return false;
            }
        }
        SetTimeBetweenMarks(filter, log, betweenMarks_[0] - 1, betweenMarks_[1] - 1);
    }
    if (tps_.size() == 2) {
        filter.tpsMin = std::min(tps_[0], tps_[1]);
        filter.tpsMax = std::max(tps_[0], tps_[1]);
    }
    if (rpm_.size() == 2) {
        filter.rpmMin = std::min(rpm_[0], rpm_[1]);
        filter.rpmMax = std::max(rpm_[0], rpm_[1]);
    }
    filter.withoutLimiter = withoutLimiter_;
    filter.withoutClutch = withoutClutch_;
    filter.withoutN2o = withoutN2o_;
    return true;
}

int LogCommands::Convert(CommandContext& c) const {
    const std::optional<LogFormat> format = LogFormatOfPath(output_);
    if (!format) {
        c.err << korvan::Fill(kOutputFormat, c.language, output_) << '\n';
        return kExitUsage;
    }
    // Written over its own input, a failed read would already have emptied it.
    std::error_code ec;
    if (std::filesystem::equivalent(FilePath(input_), FilePath(output_), ec)) {
        c.err << korvan::Fill(kSameFile, c.language, output_) << '\n';
        return kExitUsage;
    }
    DeviceImage image;
    if (!LoadTune(c, image)) return kExitFile;
    const std::optional<RideLogReadResult> log = Read(c);
    if (!log) return kExitFile;
    LogHeader header = LogHeaderOf(*log);
    if (header.tuneFile.empty() && !tune_.empty())
        header.tuneFile = FilePath(tune_).filename().string();
    const std::string bytes =
        EncodeRideLog(*log, *format, header, image, image[field::TpsMapa] != 0);
    const WriteResult written = WriteFileAtomically(output_, bytes);
    if (!written.ok) {
        c.err << Fill(kFileUnwritable, c.language, written.error) << '\n';
        return kExitFile;
    }
    if (!c.quiet)
        c.err << korvan::Fill(kConverted, c.language, output_, log->rows.size(), log->marks.size())
              << '\n';
    return kExitSuccess;
}

int LogCommands::Summary(CommandContext& c) const {
    DeviceImage image;
    if (!LoadTune(c, image)) return kExitFile;
    const std::optional<RideLogReadResult> log = Read(c);
    if (!log) return kExitFile;
    LogFilter filter;
    if (!Filter(c, *log, filter)) return kExitUsage;
    c.out << RideSummaryText(ComputeRideSummary(*log, image, filter), input_, c.language);
    return kExitSuccess;
}

int LogCommands::Cells(CommandContext& c) const {
    const std::size_t channel = FindLogChannel(channel_);
    if (channel == kNoChannel) {
        c.err << korvan::Fill(kUnknownChannel, c.language, channel_, ChannelList()) << '\n';
        return kExitUsage;
    }
    DeviceImage image;
    if (!LoadTune(c, image)) return kExitFile;
    const std::optional<RideLogReadResult> log = Read(c);
    if (!log) return kExitFile;
    if (!log->HasChannel(channel)) {
        c.err << korvan::Fill(kChannelNotLogged, c.language, input_, kLogChannels[channel].name)
              << '\n';
        return kExitFile;
    }
    LogFilter filter;
    if (!Filter(c, *log, filter)) return kExitUsage;
    if (tune_.empty() && !c.quiet) c.err << kCellsOfDefaults.In(c.language) << '\n';
    const CellTable table =
        ComputeCellTable(log->rows, image, image[field::TpsMapa] != 0, channel, filter);
    std::vector<CellQuantity> quantities;
    if (quantity_.empty()) {
        quantities = {CellQuantity::Seconds, CellQuantity::Samples, CellQuantity::Mean,
                      CellQuantity::Min, CellQuantity::Max};
    } else {
        quantities = {kQuantities.at(quantity_)};
    }
    // Tables one after the other, a blank line between them: each pastes as a grid.
    for (std::size_t i = 0; i < quantities.size(); ++i) {
        if (i) c.out << kLineEnd;
        c.out << CellTableText(table, quantities[i], minSamples_,
                               QuantityTitle(quantities[i], channel, c.language));
    }
    return kExitSuccess;
}

}  // namespace korvan::cli
