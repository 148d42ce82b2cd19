// Every file dialog of the window, closed as a user closes it: nothing of it stays on screen
// (the name completer's list neither), and what was chosen is taken.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "tests/ui/window/file_dialog_user.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/window/history_controller.h"
#include "ui/window/ride_log_controller.h"

namespace korvan::testing {
namespace {

enum class Outcome { Compared, Replayed, Recording };

struct DialogCase {
    const char* name;
    const char* item;    // the menu item that opens the dialog
    const char* dialog;  // its object name
    const char* file;    // in the test's folder; an existing one unless recording
    CloseBy how;
    Outcome outcome;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class FileDialogTest : public WindowTest, public ::testing::WithParamInterface<DialogCase> {
  public:
    bool Happened(Outcome outcome) {
        switch (outcome) {
            case Outcome::Compared:
                return form->History().CompareWindow() != nullptr &&
                       form->History().CompareWindow()->isVisible();
            case Outcome::Replayed:
                return form->RideLog().IsReplaying();
            case Outcome::Recording:
                return form->RideLog().IsRecording();
        }
        return false;
    }
    QTemporaryDir dir;
};

// A tune file, and a ride log of two rows.
void WriteInputs(const QTemporaryDir& dir) {
    QFile tune(dir.filePath("r6.ign"));
    ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
    tune.write("MAVELTIK_KEY 15\nBIKE 2\n");
    QFile ride(dir.filePath("ride.msl"));
    ASSERT_TRUE(ride.open(QIODevice::WriteOnly));
    ride.write("\"ride\"\r\nTime\tRPM\r\ns\trpm\r\n0\t3000\r\n0.1\t3100\r\n");
}

TEST_P(FileDialogTest, LeavesNothingOnScreenAndTakesTheChoice) {
    const DialogCase& c = GetParam();
    WriteInputs(dir);
    Open();
    const QString path = dir.filePath(c.file);
    QString shown;
    fileDialog = [&](QFileDialog& d) {
        shown = d.objectName();
        d.setDirectory(dir.path());  // where the user goes first
        return CloseLikeAUser(d, c.how, path);
    };
    Find<QAction>(c.item)->trigger();
    QTest::qWait(200);

    EXPECT_EQ(shown, c.dialog);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QFileDialog*>(w) != nullptr) {
            EXPECT_FALSE(w->isVisible());
        }
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(Happened(c.outcome), c.how != CloseBy::Cancel);
    if (c.how == CloseBy::Cancel) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    if (form->RideLog().IsRecording()) form->RideLog().StopRecording();
}

INSTANTIATE_TEST_SUITE_P(
    Window, FileDialogTest,
    ::testing::Values(DialogCase{"CompareTyped", "MenuCompareFile", "CompareDialog", "r6.ign",
                                 CloseBy::TypedPathAndEnter, Outcome::Compared},
                      DialogCase{"CompareDoubleClick", "MenuCompareFile", "CompareDialog", "r6.ign",
                                 CloseBy::DoubleClick, Outcome::Compared},
                      DialogCase{"CompareCancel", "MenuCompareFile", "CompareDialog", "r6.ign",
                                 CloseBy::Cancel, Outcome::Compared},
                      DialogCase{"ReplayTyped", "MenuReplayRideLog", "ReplayDialog", "ride.msl",
                                 CloseBy::TypedPathAndEnter, Outcome::Replayed},
                      DialogCase{"ReplayDoubleClick", "MenuReplayRideLog", "ReplayDialog",
                                 "ride.msl", CloseBy::DoubleClick, Outcome::Replayed},
                      DialogCase{"ReplayCancel", "MenuReplayRideLog", "ReplayDialog", "ride.msl",
                                 CloseBy::Cancel, Outcome::Replayed},
                      DialogCase{"RecordTyped", "MenuRecordRideLog", "RecordDialog", "new.msl",
                                 CloseBy::TypedPathAndEnter, Outcome::Recording},
                      DialogCase{"RecordCancel", "MenuRecordRideLog", "RecordDialog", "new.msl",
                                 CloseBy::Cancel, Outcome::Recording}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvan::testing
