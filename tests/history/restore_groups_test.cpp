// Runs of restore points of one kind shown as one group.
#include "history/restore_groups.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <ostream>

namespace korvan {
namespace {

// A point of `kind` at 10:mm:ss on 8 December 2026 (UTC).
RestorePoint At(RestoreKind kind, int minute, int second = 0) {
    RestorePoint p;
    p.kind = kind;
    char stamp[20];
    std::snprintf(stamp, sizeof stamp, "20261208T10%02d%02dZ", minute, second);
    p.time = stamp;
    p.fileName = p.time + "-" + RestoreKindWord(kind) + ".ign";
    return p;
}

constexpr RestoreKind P = RestoreKind::Programmed;
constexpr RestoreKind R = RestoreKind::Read;
constexpr RestoreKind S = RestoreKind::Saved;

struct GroupCase {
    const char* name;
    std::vector<RestorePoint> points;  // newest first
    std::vector<std::size_t> counts;   // the groups' sizes, in order
};
void PrintTo(const GroupCase& c, std::ostream* os) {
    *os << c.name;
}

TEST(RestoreGroups, ConsecutivePointsOfAKindWithinMinutesFormOneGroup) {
    const GroupCase cases[] = {
        {"none", {}, {}},
        {"one", {At(P, 1)}, {1}},
        {"a dyno run", {At(P, 14), At(P, 12), At(P, 9), At(P, 5), At(P, 1)}, {5}},
        {"a gap over five minutes splits", {At(P, 20), At(P, 15), At(P, 9, 59)}, {2, 1}},
        {"exactly five minutes joins", {At(P, 10), At(P, 5)}, {2}},
        {"another kind between splits", {At(P, 5), At(R, 4), At(P, 3), At(P, 2)}, {1, 1, 2}},
        {"kinds each get theirs", {At(S, 9), At(S, 8), At(P, 7), At(P, 6), At(P, 5)}, {2, 3}},
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        const std::vector<RestoreGroup> groups = GroupRestorePoints(c.points);
        std::vector<std::size_t> counts;
        std::size_t next = 0;
        for (const RestoreGroup& g : groups) {
            counts.push_back(g.count);
            EXPECT_EQ(g.first, next) << "every point once, in order";
            EXPECT_EQ(g.kind, c.points[g.first].kind);
            next += g.count;
        }
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(next, c.points.size());
    }
}

TEST(RestoreGroups, APointWithoutAReadableTimeStandsAlone) {
    RestorePoint odd = At(P, 3);
    odd.time = "garbage";
    const auto groups = GroupRestorePoints({At(P, 4), odd, At(P, 2), At(P, 1)});
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].count, 1u);
    EXPECT_EQ(groups[1].count, 1u);
    EXPECT_EQ(groups[2].count, 2u);
}

TEST(RestoreGroups, StampsAreReadAsUtcSecondsAndOthersRefused) {
    EXPECT_EQ(StampSeconds("19700101T000000Z"), 0);
    EXPECT_EQ(StampSeconds("20261208T064503Z"), 1796712303);
    EXPECT_EQ(StampSeconds("20240229T120000Z"), 1709208000);  // a leap day
    EXPECT_EQ(StampSeconds("20261308T064503Z"), std::nullopt);
    EXPECT_EQ(StampSeconds("20261208 064503Z"), std::nullopt);
    EXPECT_EQ(StampSeconds("2026120"), std::nullopt);
}

TEST(RestoreGroups, TheGroupSaysItsKindAndCountInEachLanguage) {
    EXPECT_EQ(GroupKindText(P, 37, 1), "Programmed 37 times");
    EXPECT_EQ(GroupKindText(P, 37, 0), "Programováno 37krát");
    EXPECT_EQ(GroupKindText(R, 2, 2), "2-mal gelesen");
    EXPECT_EQ(GroupKindText(S, 3, 1), "Saved 3 times");
}

}  // namespace
}  // namespace korvan
