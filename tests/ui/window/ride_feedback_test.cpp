// What the window says about the ride log: "REPLAY" in place of "No Connection" and a paused
// port field while a replay runs, the markers on the replay's slider and in the status bar as
// they pass, M and Shift+M with "Marker N", the red REC field, the box at the end of a
// recording and its choices, and the header that names the unit and the tune.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <ostream>

#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
#include "params/binding.h"
#include "tests/ui/window/window_fixture.h"
#include "ui/analysis/analysis_window.h"
#include "ui/port/port_status_field.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/replay_panel.h"
#include "ui/ridelog/ride_recorder.h"
#include "ui/ridelog/ridelog_texts.h"
#include "ui/widgets/readable_text.h"
#include "ui/window/analysis_controller.h"
#include "ui/window/ride_log_controller.h"

#include "test_frames.h"

namespace korvan::testing {
namespace {

DeviceFrame Monitor(std::uint16_t rpm) {
    std::array<std::uint8_t, kPageSize> payload{};
    payload[0] = static_cast<std::uint8_t>(rpm & 0xFF);
    payload[1] = static_cast<std::uint8_t>(rpm >> 8);
    return BuildFrame(kMonitorAnswer, payload.data());
}

class RideFeedbackTest : public WindowTest {
  public:
    RideLogController& Log() { return form->RideLog(); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString StatusMessage() const { return form->statusBar()->currentMessage(); }
    QLabel* Label(const char* name) const { return Find<QLabel>(name); }

    // Ten rows 0.5 s apart, markers before rows 3 and 7.
    QString WriteMarkedRide(const QString& name) {
        StringSink sink;
        RideLogWriter writer(sink, "test");
        writer.Start("today");
        for (std::uint32_t i = 0; i < 10; ++i) {
            if (i == 3 || i == 7) writer.Mark(i * 500);
            RideLogRow row;
            row.TimeMs = i * 500;
            row.Channels.Rpm = static_cast<std::uint16_t>(2000 + 500 * i);
            writer.AddRow(row);
        }
        writer.Finish();
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
        return f.fileName();
    }
    // Records `frames` live frames with a marker after each of `marks` frames.
    QString Record(const QString& name, int frames, std::initializer_list<int> marks) {
        fileDialog = [this, name](QFileDialog&) { return Path(name); };
        QTest::keyClick(form.get(), Qt::Key_F6);
        EXPECT_TRUE(Log().IsRecording());
        for (int i = 1; i <= frames; ++i) {
            port.Queue(Monitor(static_cast<std::uint16_t>(3000 + i)));
            form->OnTick();
            for (int m : marks) {
                if (m == i) QTest::keyClick(form.get(), Qt::Key_M);
            }
        }
        return Path(name);
    }

    QTemporaryDir dir;
};

struct LanguageCase {
    const char* argument;
    const char* replay;
    const char* paused;
};
void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.argument;
}

class ReplayIndicator : public RideFeedbackTest,
                        public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ReplayIndicator, ShowsInPlaceOfNoConnectionAndThePortFieldSaysPaused) {
    Open({GetParam().argument});
    QLabel* noConnection = Label("LabelSpojeni");
    QLabel* replay = Label("LabelReplay");
    fileDialog = [this](QFileDialog&) { return WriteMarkedRide("ride.msl"); };
    Log().ReplayItem()->trigger();
    ASSERT_TRUE(Log().IsReplaying());
    // Far beyond the 18 silent ticks that bring "No Connection" for a lost unit.
    for (int tick = 0; tick < 40; ++tick) form->OnTick();
    EXPECT_TRUE(noConnection->isHidden());
    EXPECT_FALSE(replay->isHidden());
    EXPECT_EQ(replay->text(), QString::fromUtf8(GetParam().replay));
    EXPECT_GE(replay->width(), replay->fontMetrics().horizontalAdvance(replay->text()))
        << "the word fits its place";
    EXPECT_EQ(replay->geometry(), noConnection->geometry());
    EXPECT_GE(ContrastRatio(replay->palette().color(QPalette::Window),
                            replay->palette().color(QPalette::WindowText)),
              4.5);
    EXPECT_TRUE(replay->autoFillBackground());
    auto* field = Find<PortStatusField>("PortStatusField");
    EXPECT_TRUE(field->text().endsWith(QString::fromUtf8(GetParam().paused)))
        << field->text().toStdString();

    // The replay ends: the unit's real state is shown again at once.
    Log().EndReplay();
    form->OnTick();
    EXPECT_TRUE(replay->isHidden());
    EXPECT_FALSE(noConnection->isHidden()) << "the unit is still silent";
    EXPECT_FALSE(field->text().endsWith(QString::fromUtf8(GetParam().paused)));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ReplayIndicator,
    ::testing::Values(LanguageCase{"CESKY", "PŘEHRÁVÁNÍ", "spojení pozastaveno kvůli přehrávání"},
                      LanguageCase{"ENGLISH", "REPLAY", "link paused for the replay"},
                      LanguageCase{"DEUTSCH", "WIEDERGABE",
                                   "Verbindung für die Wiedergabe angehalten"}),
    [](const auto& info) { return std::string(info.param.argument); });

TEST_F(RideFeedbackTest, ReplayingALiveUnitKeepsNoConnectionAwayAfterwards) {
    Open();
    port.Queue(Monitor(2500));
    form->OnTick();
    ASSERT_TRUE(Label("LabelSpojeni")->isHidden());
    fileDialog = [this](QFileDialog&) { return WriteMarkedRide("ride.msl"); };
    Log().ReplayItem()->trigger();
    // The language switch during the replay keeps the indicator.
    form->ApplyLanguage(kLanguageGerman);
    EXPECT_EQ(Label("LabelReplay")->text(), "WIEDERGABE");
    Log().EndReplay();
    for (int tick = 0; tick < 6; ++tick) form->OnTick();
    port.Queue(Monitor(2500));
    form->OnTick();
    EXPECT_TRUE(Label("LabelSpojeni")->isHidden());
    EXPECT_TRUE(Label("LabelReplay")->isHidden());
}

TEST_F(RideFeedbackTest, MarkersSitOnTheSliderAndAreAnnouncedAsTheyPass) {
    Open();
    fileDialog = [this](QFileDialog&) { return WriteMarkedRide("ride.msl"); };
    Log().ReplayItem()->trigger();
    MarkedSlider* slider = Log().Panel()->Slider();
    ASSERT_EQ(slider->Marks(), std::vector<int>({3, 7}));
    // Drawn where the handle stands at that row.
    const QImage picture = slider->grab().toImage();
    const int x = slider->MarkX(0);
    bool flag = false;
    for (int dx = -2; dx <= 2; ++dx)
        flag |= picture.pixelColor(x + dx, 2) == QColor(0xFF, 0x8C, 0x00);
    EXPECT_TRUE(flag) << "an orange flag above row 3";
    EXPECT_LT(slider->MarkX(0), slider->MarkX(1));

    ReplayController& replay = *Log().Replay();
    replay.Step(2);
    EXPECT_TRUE(StatusMessage().isEmpty());
    replay.Step(1);  // onto row 3, where MARK 001 stands
    EXPECT_EQ(StatusMessage(), "Marker 1 (1.5 s)");
    form->statusBar()->clearMessage();
    replay.Step(-2);
    EXPECT_TRUE(StatusMessage().isEmpty()) << "going back passes nothing";
    replay.Seek(9);  // a jump over both: the last one is named
    EXPECT_EQ(StatusMessage(), "Marker 2 (3.5 s)");
    // Playing passes them too.
    form->statusBar()->clearMessage();
    replay.Seek(0);
    replay.Play();
    replay.Advance(2000);
    EXPECT_EQ(StatusMessage(), "Marker 1 (1.5 s)");
}

struct MarkKeyCase {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    bool marks;
};
void PrintTo(const MarkKeyCase& c, std::ostream* os) {
    *os << c.name;
}

class MarkKey : public RideFeedbackTest, public ::testing::WithParamInterface<MarkKeyCase> {};

TEST_P(MarkKey, MarksAndNamesTheMarkerInTheStatusBar) {
    Open();
    fileDialog = [this](QFileDialog&) { return Path("ride.msl"); };
    QTest::keyClick(form.get(), Qt::Key_F6);
    ASSERT_TRUE(Log().IsRecording());
    QTest::keyClick(form.get(), Qt::Key_M);
    ASSERT_EQ(Log().Recorder()->Marks(), 1u);
    QTest::keyClick(form.get(), Qt::Key_M, GetParam().modifiers);
    EXPECT_EQ(Log().Recorder()->Marks(), GetParam().marks ? 2u : 1u);
    // Alt+M opens the Map menu, whose items then speak in the status bar.
    if (GetParam().marks) {
        EXPECT_EQ(StatusMessage(), "Marker 2");
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, MarkKey,
                         ::testing::Values(MarkKeyCase{"M", Qt::NoModifier, true},
                                           MarkKeyCase{"ShiftM", Qt::ShiftModifier, true},
                                           MarkKeyCase{"CtrlM", Qt::ControlModifier, false},
                                           MarkKeyCase{"AltM", Qt::AltModifier, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RideFeedbackTest, TheRecFieldIsWhiteOnDarkRedAndBoldWhileRecording) {
    Open();
    QLabel* rec = Label("LabelRideLog");
    Record("ride.msl", 2, {});
    ASSERT_FALSE(rec->isHidden());
    EXPECT_TRUE(rec->font().bold());
    EXPECT_TRUE(rec->autoFillBackground());
    const QColor background = rec->palette().color(QPalette::Window);
    EXPECT_GT(background.red(), 150);
    EXPECT_LT(background.green(), 40);
    EXPECT_GE(ContrastRatio(background, rec->palette().color(QPalette::WindowText)), 4.5);
    // What the user sees: the grabbed field is mostly that red.
    const QImage shot = rec->grab().toImage();
    EXPECT_EQ(shot.pixelColor(1, shot.height() / 2), background);
}

struct StopCase {
    const char* name;
    int choice;  // -1: the box closed
};
void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

class StopRecording : public RideFeedbackTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopRecording, SaysWhereAndHowMuchAndOffersTheNextStep) {
    Open();
    const QString path = Record("ride.msl", 5, {2, 4});
    int offered = 0;
    choose = [&](const QStringList& buttons) {
        offered = static_cast<int>(buttons.size());
        EXPECT_EQ(buttons, QStringList({"Open folder", "Replay", "Ride analysis", "Close"}));
        return GetParam().choice;
    };
    QTest::keyClick(form.get(), Qt::Key_F6);
    EXPECT_FALSE(Log().IsRecording());
    ASSERT_EQ(choices.size(), 1);
    EXPECT_EQ(offered, 4);
    EXPECT_EQ(choices[0], "The ride log is saved in\n" + QDir::toNativeSeparators(path) +
                              "\n5 rows, 2 markers.");
    EXPECT_EQ(Log().LastRecording(), path);
    EXPECT_TRUE(messages.isEmpty());

    const bool openedFolder = !openedUrls.isEmpty();
    EXPECT_EQ(openedFolder, GetParam().choice == 0);
    if (openedFolder) {
        EXPECT_EQ(openedUrls[0], QUrl::fromLocalFile(dir.path()));
    }
    EXPECT_EQ(Log().IsReplaying(), GetParam().choice == 1);
    if (Log().IsReplaying()) {
        EXPECT_EQ(Log().ReplayPath(), path);
    }
    auto* analysis = form->RideLog().findChild<AnalysisController*>();
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->Window() != nullptr, GetParam().choice == 2);
    if (GetParam().choice == 2) {
        QTRY_VERIFY(analysis->Window()->Log() != nullptr);
        EXPECT_EQ(analysis->Window()->LogPath(), path);
        EXPECT_EQ(analysis->Window()->Log()->rows.size(), 5u);
    }
}

INSTANTIATE_TEST_SUITE_P(Choices, StopRecording,
                         ::testing::Values(StopCase{"Closed", -1}, StopCase{"OpenFolder", 0},
                                           StopCase{"Replay", 1}, StopCase{"Analyse", 2},
                                           StopCase{"Close", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RideFeedbackTest, TheLogNamesTheUnitAndTheTuneAndTakesTheFormatOfItsName) {
    Open();
    fileDialog = [](QFileDialog&) { return QString(KORVAN_DEFAULT_SET_IGN); };
    Find<QAction>("MenuOpen")->trigger();
    DeviceImage& image = form->Model().MutableImage();
    const char name[] = "KOR";
    std::copy(name, name + 3, image.bytes.begin() + field::VersionName);
    image[field::VersionNumber] = 7;
    image[field::FormatVersion] = kFormatVersion;
    QStringList filters;
    fileDialog = [&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        return Path("ride.mlg");
    };
    QTest::keyClick(form.get(), Qt::Key_F6);
    ASSERT_TRUE(Log().IsRecording());
    EXPECT_TRUE(filters.value(0).contains("*.msl *.mlg *.csv")) << filters.join("|").toStdString();
    port.Queue(Monitor(4000));
    form->OnTick();
    QTest::keyClick(form.get(), Qt::Key_F6);
    const RideLogReadResult log = ReadRideLogFile(Path("ride.mlg").toStdString());
    ASSERT_TRUE(log.Ok()) << log.RefusalText("ride.mlg", 1);
    EXPECT_EQ(log.format, LogFormat::Mlg);
    EXPECT_EQ(log.unitVersion, "KOR07");
    EXPECT_EQ(log.tuneFile, "default_set.ign");
    ASSERT_EQ(log.rows.size(), 1u);
    EXPECT_EQ(log.rows[0].Channels.Rpm, 4000);
    // The replay's dialog offers every format too.
    filters.clear();
    fileDialog = [&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        return QString();
    };
    Log().ReplayItem()->trigger();
    EXPECT_TRUE(filters.value(0).contains("*.msl *.mlg *.csv"));
}

}  // namespace
}  // namespace korvan::testing
