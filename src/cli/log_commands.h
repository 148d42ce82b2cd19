// korvan2-cli log convert | summary | cells: a ride log read, analysed or written in another
// format, without a unit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "log/ride_analysis.h"

namespace CLI {
class App;
}

namespace korvan::cli {

class LogCommands {
  public:
    // Adds the "log" command and its own commands to `app`.
    explicit LogCommands(CLI::App& app);

    bool Parsed() const;
    // Runs the one that was given; the exit code.
    int Run(CommandContext& c) const;

  private:
    int Convert(CommandContext& c) const;
    int Summary(CommandContext& c) const;
    int Cells(CommandContext& c) const;
    // The log of `input_`, its refusal or its notes on `err`; nothing when refused.
    std::optional<RideLogReadResult> Read(CommandContext& c) const;
    // The tune whose map places the rows: --tune, else the default set.
    bool LoadTune(CommandContext& c, DeviceImage& image) const;
    // The filter the options ask for; false (after a message) when they ask for markers the
    // log does not have.
    bool Filter(CommandContext& c, const RideLogReadResult& log, LogFilter& filter) const;

    CLI::App* log_ = nullptr;
    CLI::App* convert_ = nullptr;
    CLI::App* summary_ = nullptr;
    CLI::App* cells_ = nullptr;
    std::string input_;
    std::string output_;
    std::string tune_;
    bool acceptIgnored_ = false;
    std::string channel_ = "Lambda";
    std::string quantity_;
    std::size_t minSamples_ = kDefaultMinSamples;
    std::optional<double> from_;
    std::optional<double> to_;
    std::vector<std::size_t> betweenMarks_;
    std::vector<int> tps_;
    std::vector<int> rpm_;
    bool withoutLimiter_ = false;
    bool withoutClutch_ = false;
    bool withoutN2o_ = false;
};

}  // namespace korvan::cli
