// korvan2-cli doctor's exit status: one documented code per first finding, 0 only on an answer.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cli/doctor_command.h"

namespace korvan::cli {
namespace {

TEST(DoctorExit, EachFirstFindingHasItsOwnDocumentedCode) {
    const struct {
        FindingKind kind;
        int code;
    } cases[] = {
        {FindingKind::DeviceMissing, 10}, {FindingKind::NotSerialDevice, 11},
        {FindingKind::NoPermission, 12},  {FindingKind::NewLoginNeeded, 13},
        {FindingKind::ModemManager, 14},  {FindingKind::Brltty, 15},
        {FindingKind::HeldByOther, 16},   {FindingKind::RuleNotApplied, 17},
        {FindingKind::OpenFailed, 18},    {FindingKind::NoAnswer, 19},
    };
    std::set<int> codes;
    for (const auto& c : cases) {
        DoctorReport r;
        r.findings.push_back({c.kind, "/dev/ttyUSB0", {}, {}});
        r.findings.push_back({FindingKind::NoAnswer, "/dev/ttyUSB0", {}, {}});
        EXPECT_EQ(DoctorExitCodeOf(r), c.code);
        codes.insert(c.code);
        // --help lists it.
        EXPECT_NE(std::string(kDoctorExitCodeHelp).find("  " + std::to_string(c.code) + "  "),
                  std::string::npos)
            << c.code;
        // A unit that answers wins over any finding.
        r.answered.push_back("/dev/ttyUSB0");
        EXPECT_EQ(DoctorExitCodeOf(r), 0);
    }
    EXPECT_EQ(codes.size(), std::size(cases));
}

}  // namespace
}  // namespace korvan::cli
