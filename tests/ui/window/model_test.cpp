// The observable model: what a commit reports, the step each kind of commit makes in the
// undo history, and a commit of many fields as one step and one programming.
#include <QCheckBox>
#include <QSignalSpy>
#include <QUndoStack>

#include "params/binding.h"
#include "params/defaults.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/parameter_model.h"
#include "ui/window/parameter_undo.h"

namespace korvan::testing {
namespace {

const LocalizedText kInterpolate{"Interpolovat %1 x %2 buněk", "Interpolate %1 x %2 cells",
                                 "%1 x %2 Zellen interpolieren"};

struct NameCase {
    const char* name;
    ModelChange change;
    std::uint8_t language;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class StepNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(StepNameTest, NamesTheStepByKindToolOrGivenName) {
    const NameCase& c = GetParam();
    EXPECT_EQ(ParameterUndo::NameOf(c.change).In(c.language).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Undo, StepNameTest,
    ::testing::Values(
        NameCase{"TypedField", ModelChange(CommitKind::TypedField), 1, "Parameter change"},
        NameCase{"AdvanceMinus", ModelChange::ByTool(EditTool::AdvanceMinus), 1, "Advance -"},
        NameCase{"ColumnPlus", ModelChange::ByTool(EditTool::ColumnPlus), 2, "Spalte +"},
        NameCase{"Tps100", ModelChange::ByTool(EditTool::Tps100), 1, "Set TPS 100 %"},
        NameCase{"Open", ModelChange(CommitKind::Open, "r6.ign"), 0, "Otevřít r6.ign"},
        NameCase{"HistoryPoint", ModelChange(CommitKind::HistoryPoint, "p.ign"), 1,
                 "Open restore point p.ign"},
        NameCase{"Read", ModelChange(CommitKind::Read), 1, "Read from unit"},
        NameCase{"New", ModelChange(CommitKind::New), 2, "Neu"},
        NameCase{"BikeType", ModelChange(CommitKind::BikeType), 1, "Motorbike type"},
        NameCase{"GivenName", ModelChange(CommitKind::MapOperation, StepName(kInterpolate, 4, 3)),
                 1, "Interpolate 4 x 3 cells"},
        NameCase{"GivenNameCzech",
                 ModelChange(CommitKind::MapOperation, StepName(kInterpolate, 4, 3)), 0,
                 "Interpolovat 4 x 3 buněk"},
        // A value is never filled again: a file named "%2" stays "%2".
        NameCase{"ValueWithMark", ModelChange(CommitKind::Open, "%2.ign"), 1, "Open %2.ign"},
        NameCase{"UnnamedDrag", ModelChange(CommitKind::CurveDrag), 1, "Parameter change"},
        // A name finished in three languages by the operation that made it.
        NameCase{"FinishedGerman",
                 ModelChange(CommitKind::MapOperation, StepName(MakePhrase(kInterpolate, 4, 3))), 2,
                 "4 x 3 Zellen interpolieren"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PartsCase {
    const char* name;
    void (*change)(ParameterModel& model);
    unsigned parts;
};

void PrintTo(const PartsCase& c, std::ostream* os) {
    *os << c.name;
}

class CommitPartsTest : public ::testing::TestWithParam<PartsCase> {};

TEST_P(CommitPartsTest, ReportsWhatChangedSinceTheLastCommit) {
    ParameterModel model;
    SetDefaults(model.MutableImage());
    model.Commit(ModelChange(CommitKind::New));
    GetParam().change(model);
    QSignalSpy changed(&model, &ParameterModel::Changed);
    EXPECT_EQ(model.Commit(ModelChange(CommitKind::TypedField)), GetParam().parts);
    ASSERT_EQ(changed.size(), 1);  // always told, even when nothing changed
    EXPECT_EQ(changed[0][0].value<ModelChange>().parts, GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(
    Model, CommitPartsTest,
    ::testing::Values(
        PartsCase{"Nothing", [](ParameterModel&) {}, kNothingChanged},
        PartsCase{"MapCell", [](ParameterModel& m) { ++m.MutableImage()[field::Advance + 55]; },
                  kParametersChanged},
        PartsCase{"Flag", [](ParameterModel& m) { m.SetExtendedMonitor(true); },
                  kExtendedMonitorChanged},
        PartsCase{"Identity", [](ParameterModel& m) { m.MutableImage()[field::VersionNumber] = 9; },
                  kOtherBytesChanged},
        PartsCase{"AxisAndMap",
                  [](ParameterModel& m) {
                      ++m.MutableImage()[field::Advance];
                      m.SetExtendedMonitor(true);
                  },
                  kParametersChanged | kExtendedMonitorChanged}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParameterModel, ChangedSeesTheImageNormalised) {
    ParameterModel model;
    SetDefaults(model.MutableImage());
    // Breakpoints out of order: normalising sorts them before anyone is told.
    model.MutableImage()[field::RpmAdv] = 200;
    std::uint8_t seen = 0;
    QObject::connect(&model, &ParameterModel::Changed,
                     [&] { seen = model.Image()[field::RpmAdv]; });
    model.Commit(ModelChange(CommitKind::TypedField));
    DeviceImage normal = model.Image();
    NormalizeImage(normal);
    EXPECT_EQ(seen, normal[field::RpmAdv]);
    EXPECT_NE(seen, 200);
}

TEST(ParameterModel, ACommittingSlotCompletesTheSameCommit) {
    ParameterModel model;
    SetDefaults(model.MutableImage());
    model.MarkCommitted();
    const DeviceImage before = model.Image();
    // A slot that moves a second byte along with the first, and names the step.
    QObject::connect(&model, &ParameterModel::Committing, [&](ModelChange& change) {
        EXPECT_EQ(model.CommittedImage(), before);
        DeviceImage& image = model.MutableImage();
        image[field::RpmAdv + 1] = image[field::RpmAdv];  // out of order: normalised
        change.name = StepName(kInterpolate, 2, 1);
    });
    QSignalSpy changed(&model, &ParameterModel::Changed);
    ++model.MutableImage()[field::Advance];
    EXPECT_EQ(model.Commit(ModelChange(CommitKind::TypedField)), kParametersChanged);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].value<ModelChange>().name.In(1), "Interpolate 2 x 1 cells");
    EXPECT_GT(model.Image()[field::RpmAdv + 1], model.Image()[field::RpmAdv]);
    EXPECT_EQ(model.CommittedImage(), model.Image());
}

class ModelWindowTest : public WindowTest {};

TEST_F(ModelWindowTest, ManyFieldsInOneCommitAreOneStepAndOneProgramming) {
    Open();
    QUndoStack& stack = form->Undo().Stack();
    auto* option = Find<QCheckBox>("CheckBoxProgHned");
    ShowPageOf(option);
    QTest::mouseClick(option, Qt::LeftButton);
    form->Link().EndOperationLineLost();  // ticking it programmed at once; that one is over
    const DeviceImage before = form->Image();

    QSignalSpy changed(&form->Model(), &ParameterModel::Changed);
    DeviceImage& image = form->Model().MutableImage();
    image[field::RpmAdv + 9] = static_cast<std::uint8_t>(image[field::RpmAdv + 9] + 1);
    for (int cell = 0; cell < 12; ++cell) ++image[field::Advance + cell];
    form->Model().Commit(ModelChange(CommitKind::MapOperation, StepName(kInterpolate, 4, 3)));

    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(form->Link().Mode(), OperationMode::Program);
    ASSERT_EQ(stack.count(), 1);
    EXPECT_EQ(stack.undoText(), "Interpolate 4 x 3 cells");
    EXPECT_EQ(Edit(MapCellEditName(0).c_str())->value(), image[field::Advance]);

    form->ApplyLanguage(kLanguageCzech);
    EXPECT_EQ(stack.undoText(), "Interpolovat 4 x 3 buněk");

    form->Undo().Undo();
    EXPECT_EQ(form->Image(), before);
    EXPECT_EQ(stack.count(), 1);  // undo moved within the history, added nothing
}

}  // namespace
}  // namespace korvan::testing
