#include "history/restore_groups.h"

#include <cstdlib>

#include "params/localized_text.h"

namespace korvan {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::size_t kStampLength = 16;  // "20261208T064503Z"

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

int Digits(const std::string& s, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

const LocalizedText kTimes[] = {
    {"Čteno %1krát", "Read %1 times", "%1-mal gelesen"},
    {"Programováno %1krát", "Programmed %1 times", "%1-mal programmiert"},
    {"Otevřeno %1krát", "Opened %1 times", "%1-mal geöffnet"},
    {"Uloženo %1krát", "Saved %1 times", "%1-mal gespeichert"},
};

}  // namespace

std::optional<std::int64_t> StampSeconds(const std::string& stamp) {
    if (stamp.size() != kStampLength || stamp[8] != 'T' || stamp[15] != 'Z') return std::nullopt;
    const int year = Digits(stamp, 0, 4);
    const int month = Digits(stamp, 4, 2);
    const int day = Digits(stamp, 6, 2);
    const int hour = Digits(stamp, 9, 2);
    const int minute = Digits(stamp, 11, 2);
    const int second = Digits(stamp, 13, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) *
               kSecondsPerDay +
           hour * 3600 + minute * 60 + second;
}

std::vector<RestoreGroup> GroupRestorePoints(const std::vector<RestorePoint>& points,
                                             std::int64_t maxGapSeconds) {
    std::vector<RestoreGroup> groups;
    std::optional<std::int64_t> previous;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::optional<std::int64_t> time = StampSeconds(points[i].time);
        // Newest first: the point before this one in the list is the later one.
        const bool joins = !groups.empty() && groups.back().kind == points[i].kind && time &&
                           previous && std::llabs(*previous - *time) <= maxGapSeconds;
        if (joins) {
            ++groups.back().count;
        } else {
            groups.push_back({i, 1, points[i].kind});
        }
        previous = time;
    }
    return groups;
}

std::string GroupKindText(RestoreKind kind, std::size_t count, std::uint8_t language) {
    return Fill(kTimes[static_cast<std::size_t>(kind)], language, count);
}

}  // namespace korvan
