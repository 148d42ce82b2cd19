// A live tuning session with programming after change adds a restore point for every F4 and F5;
// the history window shows a run of them as one group that opens on a click ("Programmed 37
// times, 10:01-10:14"). Grouping only arranges the list: every point stays, each one listed in
// its group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/restore_store.h"

namespace korvan {

// Points of one kind with no more than this between neighbours belong to one group.
constexpr std::int64_t kGroupGapSeconds = 5 * 60;

struct RestoreGroup {
    std::size_t first = 0;  // index of the group's newest point in the list
    std::size_t count = 1;  // points in the group; 1 is a point on its own
    RestoreKind kind = RestoreKind::Read;
};

// Seconds since 1970 (UTC) of a point's time "20261208T064503Z"; nothing for any other text.
std::optional<std::int64_t> StampSeconds(const std::string& stamp);

// `points` newest first, as RestoreStore::List gives them, cut into runs: consecutive points
// of the same kind whose times lie at most `maxGapSeconds` apart (a point whose time cannot be
// read stands alone). Together the groups cover every point exactly once, in order.
std::vector<RestoreGroup> GroupRestorePoints(const std::vector<RestorePoint>& points,
                                             std::int64_t maxGapSeconds = kGroupGapSeconds);

// "Programmed 37 times" in `language`.
std::string GroupKindText(RestoreKind kind, std::size_t count, std::uint8_t language);

}  // namespace korvan
