#include "log/ride_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "params/localized_text.h"

namespace korvan {

namespace {

const LocalizedText kTitle = {"Souhrn jízdy: %1", "Ride summary: %1", "Fahrtzusammenfassung: %1"};
const LocalizedText kDuration = {
    "Trvání: %1 s (%2), zaznamenáno %3 s, řádků: %4",
    "Duration: %1 s (%2), logged %3 s, %4 rows",
    "Dauer: %1 s (%2), aufgezeichnet %3 s, %4 Zeilen",
};
const LocalizedText kFiltered = {
    "Filtr vynechal řádků: %1",
    "Rows left out by the filter: %1",
    "Vom Filter ausgelassene Zeilen: %1",
};
const LocalizedText kMaxRpm = {
    "Nejvyšší otáčky: %1 ot/min v čase %2 s",
    "Highest speed: %1 rpm at %2 s",
    "Höchste Drehzahl: %1 U/min bei %2 s",
};
const LocalizedText kAboveShiftLight = {
    "Nad otáčkami řadicího světla (%1 ot/min): %2 s (%3 %)",
    "Above the gear-shift light speed (%1 rpm): %2 s (%3 %)",
    "Über der Schaltlicht-Drehzahl (%1 U/min): %2 s (%3 %)",
};
const LocalizedText kAtLimiter = {
    "V omezovači (%1 ot/min a víc): %2 s (%3 %)",
    "At the limiter (%1 rpm and more): %2 s (%3 %)",
    "Im Begrenzer (%1 U/min und mehr): %2 s (%3 %)",
};
const LocalizedText kFullThrottle = {
    "Plný plyn (%1 % a víc): %2 s (%3 %)",
    "Full throttle (%1 % and more): %2 s (%3 %)",
    "Vollgas (%1 % und mehr): %2 s (%3 %)",
};
const LocalizedText kN2oOn = {
    "N2O zapnuto: %1 s (%2 %)",
    "N2O on: %1 s (%2 %)",
    "N2O ein: %1 s (%2 %)",
};
const LocalizedText kMarks = {"Značky: %1", "Markers: %1", "Markierungen: %1"};
const LocalizedText kNoMarks = {"žádné", "none", "keine"};
const LocalizedText kMarkAt = {"MARK %1 v %2 s", "MARK %1 at %2 s", "MARK %1 bei %2 s"};

std::string Seconds(double s) {
    return FixedNumber(s, 1);
}

std::string Percent(double part, double whole) {
    return FixedNumber(whole > 0 ? 100.0 * part / whole : 0.0, 1);
}

std::string MarkNumber(unsigned n) {
    std::string text = std::to_string(n);
    if (text.size() < 3) text.insert(0, 3 - text.size(), '0');
    return text;
}

}  // namespace

RideSummary ComputeRideSummary(const RideLogReadResult& log, const DeviceImage& image,
                               const LogFilter& filter) {
    RideSummary s;
    s.shiftLightRpm = ShiftLightRpm(image);
    s.limiterRpm = LimiterRpm(image);
    const std::vector<LogSample>& rows = log.rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LogSample& row = rows[i];
        if (!filter.Passes(row, s.limiterRpm)) {
            ++s.rowsLeftOut;
            continue;
        }
        if (s.rows++ == 0) s.startS = row.TimeS;
        s.endS = row.TimeS;
        const MonitorChannels& c = row.Channels;
        if (c.Rpm > s.maxRpm || s.rows == 1) {
            s.maxRpm = c.Rpm;
            s.maxRpmAtS = row.TimeS;
        }
        const double seconds = RowSeconds(rows, i);
        s.loggedS += seconds;
        if (c.Rpm >= s.shiftLightRpm) s.aboveShiftLightS += seconds;
        if (c.Rpm >= s.limiterRpm) s.atLimiterS += seconds;
        if (c.TpsPercent >= kFullThrottlePercent && c.TpsPercent <= 100) s.fullThrottleS += seconds;
        if (c.N2o) s.n2oOnS += seconds;
    }
    // A clock that stepped back a little can leave the last row before the first.
    if (s.endS < s.startS) s.endS = s.startS;
    for (std::size_t m = 0; m < log.marks.size(); ++m)
        s.marks.push_back({static_cast<unsigned>(m + 1), MarkTimeS(log, m)});
    return s;
}

std::string ClockText(double seconds) {
    const long long total = std::llround(std::max(seconds, 0.0));
    const long long h = total / 3600, m = total / 60 % 60, sec = total % 60;
    char buf[32];
    if (h > 0) {
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", h, m, sec);
    } else {
        std::snprintf(buf, sizeof buf, "%lld:%02lld", m, sec);
    }
    return buf;
}

std::string RideSummaryText(const RideSummary& s, const std::string& name, std::uint8_t language) {
    std::string text;
    const auto line = [&](const std::string& l) { text += l + '\n'; };
    line(Fill(kTitle, language, name));
    line(Fill(kDuration, language, Seconds(s.DurationS()), ClockText(s.DurationS()),
              Seconds(s.loggedS), s.rows));
    if (s.rowsLeftOut > 0) line(Fill(kFiltered, language, s.rowsLeftOut));
    line(Fill(kMaxRpm, language, s.maxRpm, Seconds(s.maxRpmAtS)));
    line(Fill(kAboveShiftLight, language, s.shiftLightRpm, Seconds(s.aboveShiftLightS),
              Percent(s.aboveShiftLightS, s.loggedS)));
    line(Fill(kAtLimiter, language, s.limiterRpm, Seconds(s.atLimiterS),
              Percent(s.atLimiterS, s.loggedS)));
    line(Fill(kFullThrottle, language, kFullThrottlePercent, Seconds(s.fullThrottleS),
              Percent(s.fullThrottleS, s.loggedS)));
    line(Fill(kN2oOn, language, Seconds(s.n2oOnS), Percent(s.n2oOnS, s.loggedS)));
    std::string marks;
    for (const SummaryMark& m : s.marks) {
        if (!marks.empty()) marks += ", ";
        marks += Fill(kMarkAt, language, MarkNumber(m.number), Seconds(m.timeS));
    }
    line(Fill(kMarks, language, marks.empty() ? std::string(kNoMarks.In(language)) : marks));
    return text;
}

}  // namespace korvan
