// The real window against the simulated unit over a real pseudo-terminal: read, program,
// programming after a change, Advance + on the live cursor, the failure texts of a silent
// unit, "No Connection" and the monitor column, each driven through keys and clicks and
// ticked at the timer's own 55 ms pace.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include "tests/ui/window/callback_seams.h"
#include "tests/ui/window/offscreen_main.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/port_reconnect.h"
#include "files/settings.h"
#include "files/state_file.h"
#include "history/restore_store.h"
#include "link_harness.h"
#include "log/ride_log_reader.h"
#include "log/ride_log_writer.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "ui/analysis/analysis_window.h"
#include "ui/history/compare_view.h"
#include "ui/history/history_window.h"
#include "ui/ridelog/curve_view.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/surface/difference_grid.h"
#include "ui/surface/surface_view.h"
#include "ui/surface/surface_window.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/analysis_controller.h"
#include "ui/window/form_hlav.h"
#include "ui/window/history_controller.h"
#include "ui/window/map_tools.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/parameter_undo.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/surface_window_controller.h"

namespace korvan::test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kMonitorRequest = 0x30;

// A parameter set that differs from the defaults in every numeric field and every flag, with
// an identity of its own, normalised so that the read's verification passes.
DeviceImage DistinctUnitImage(bool tpsAxis) {
    DeviceImage u;
    const char name[] = "KOR";
    std::copy(name, name + 3, u.bytes.begin() + field::VersionName);
    u[field::VersionNumber] = 7;
    u[field::BuildDay] = 2;
    u[field::BuildMonthCode] = 51;  // "Nov"
    u[field::BuildYear] = 23;
    u[field::BuildHour] = 17;
    u[field::BuildMinute] = 42;
    u[field::ReadEnable] = 1;
    u[field::FormatVersion] = kFormatVersion;
    for (std::size_t i = 0; i < 3; ++i) u[field::BikeMask + i] = 0xFF;

    u[field::BikeType] = 3;
    SetDefaults(u);
    u[field::BaseAdv] = 17;
    u[field::Limiter1] = 62;
    u[field::Limiter2] = 128;
    u[field::Clutch] = 35;
    u[field::LedRazeni] = 95;
    u[field::Tps0] = 55;
    u[field::Tps100] = 140;
    u[field::Gas1] = 15;
    u[field::Gas2] = 75;
    u[field::GasDelay] = 33;
    u[field::GasBuildUp] = 41;
    u[field::Retard1] = 4;
    u[field::Retard2] = 9;
    u[field::RetardDelay] = 27;
    u[field::RetardBuildUp] = 12;
    u[field::PrivHyster] = 52;
    const std::uint8_t rpmAdv[] = {8, 15, 24, 33, 45, 57, 68, 81, 92, 110};
    const std::uint8_t rpmPriv[] = {11, 19, 28, 37, 55, 74, 95, 118, 137, 152};
    const std::uint8_t napPriv[] = {90, 97, 104, 111, 123, 131, 139, 147, 160, 171};
    for (int k = 0; k < kAxisPoints; ++k) {
        u[field::RpmAdv + k] = rpmAdv[k];
        u[field::RpmPriv + k] = rpmPriv[k];
        u[field::NapPriv + k] = napPriv[k];
    }
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) {
            std::uint8_t& cell = u[AdvanceIndex(r, c)];
            cell = static_cast<std::uint8_t>(cell + 1 + (3 * r + c) % 5);
        }
    }
    for (const FlagField& f : FlagFields()) u[f.imageIndex] = u[f.imageIndex] ? 0 : 1;
    u[field::TpsMapa] = tpsAxis ? 1 : 0;
    NormalizeImage(u);
    return u;
}

DeviceImage DefaultParams() {
    DeviceImage d;
    SetDefaults(d);
    NormalizeImage(d);
    return d;
}

bool SameParams(const DeviceImage& a, const DeviceImage& b) {
    return std::equal(a.bytes.begin() + kParamImageBegin, a.bytes.end(),
                      b.bytes.begin() + kParamImageBegin);
}

// The bytes of the parameter pages where `a` and `b` differ.
std::vector<std::size_t> ParamDifferences(const DeviceImage& a, const DeviceImage& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = kParamImageBegin; i < kImageSize; ++i) {
        if (a[i] != b[i]) at.push_back(i);
    }
    return at;
}

bool IsRed(const QWidget* w) {
    return w->autoFillBackground() &&
           w->palette().color(QPalette::Window) == QColor(0xFF, 0x00, 0x00);
}
bool IsLime(const QWidget* w) {
    return w->palette().color(QPalette::Base) == QColor(0x00, 0xFF, 0x00);
}
bool IsLimeLabel(const QWidget* w) {
    return w->autoFillBackground() &&
           w->palette().color(QPalette::Window) == QColor(0x00, 0xFF, 0x00);
}

class WindowEndToEnd : public ::testing::Test {
  public:
    void SetUp() override { QDir(TFormHlav::SettingsFolder()).removeRecursively(); }
    void TearDown() override {
        CloseWindow();
        sims_.clear();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        if (!pagesFile_.isEmpty()) QFile::remove(pagesFile_);
    }

    // A simulated unit; with `pages`, it starts from that image instead of its defaults.
    SimProcess& StartSim(std::vector<std::string> args,
                         const std::optional<DeviceImage>& pages = {}) {
        if (pages) {
            pagesFile_ =
                QDir::tempPath() + "/korvan-window-e2e-pages-" + QString::number(getpid()) + ".txt";
            QFile f(pagesFile_);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(StateFileText(*pages)));
            f.close();
            args.push_back("--pages");
            args.push_back(pagesFile_.toStdString());
        }
        args.push_back("--quiet");
        sims_.push_back(std::make_unique<SimProcess>(args));
        EXPECT_TRUE(sims_.back()->Started()) << sims_.back()->Log();
        return *sims_.back();
    }

    // The window in English on a fresh settings folder whose [PORTS] section maps COM1, COM2 ...
    // to the given devices; its timer is stopped, the test ticks it.
    TFormHlav& OpenWindow(const std::vector<std::string>& devices) {
        QDir().mkpath(TFormHlav::SettingsFolder());
        QFile ini(TFormHlav::SettingsFolder() + "/" + kSettingsFileName);
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        QByteArray text = extraSettings + "[PORTS]\n";
        for (std::size_t i = 0; i < devices.size(); ++i) {
            text += "COM" + QByteArray::number(static_cast<int>(i + 1)) + "=" +
                    QByteArray::fromStdString(devices[i]) + "\n";
        }
        ini.write(text);
        ini.close();

        qtPort_ = std::make_unique<QtSerialPort>();
        recording_ = std::make_unique<RecordingPort>(*qtPort_);
        FormOptions options;
        options.arguments = {"ENGLISH"};
        if (!realMessageBoxes) {
            seams_.messageBox = [this](const QString& t) { modals << t; };
            options.seams = &seams_;
        }
        form = std::make_unique<TFormHlav>(*recording_, options);
        form->Timer1()->stop();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        next_ = {};
        trail.clear();
        return *form;
    }
    TFormHlav& OpenWindow(const SimProcess& sim) {
        return OpenWindow(std::vector<std::string>{sim.PtyPath()});
    }

    // Closes the window as the user does (port closed, settings written) and destroys it.
    void CloseWindow() {
        if (!form) return;
        form->close();
        form.reset();
        recording_.reset();
        qtPort_.reset();
    }

    // One tick at the timer's pace; between ticks the event loop moves received bytes into
    // the port's buffer, as it does when the timer runs by itself.
    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        next_ =
            (next_ == std::chrono::steady_clock::time_point{} ? now : next_) + LinkHarness::kTick;
        if (next_ < now) next_ = now;
        while (std::chrono::steady_clock::now() < next_)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        form->OnTick();
        Note();
    }
    // Ticks until `done` holds or `limit` ticks have passed; the ticks it took, or -1.
    int TickUntil(const std::function<bool()>& done, int limit) {
        for (int n = 1; n <= limit; ++n) {
            Tick();
            if (done()) return n;
        }
        return -1;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Tick();
    }
    // Ticks until the next valid monitor frame has been shown (bounded).
    bool NextMonitorFrame() {
        const std::size_t before = MonitorRequests();
        if (TickUntil([&] { return MonitorRequests() > before; }, 8) < 0) return false;
        const QString rpm = Text("LabelRpm");
        const QString test1 =
            Text("LabelTest1");  // counts the unit's requests: changes every frame
        return TickUntil([&] { return Text("LabelTest1") != test1 || Text("LabelRpm") != rpm; },
                         4) >= 0;
    }

    // The message label's texts in order, each change noted once.
    void Note() {
        const QString t = Message();
        if (!t.isEmpty() && (trail.isEmpty() || trail.back() != t)) trail << t;
    }
    QString Message() const {
        auto* l = Find<QLabel>("LabelHlaseni");
        return l->isHidden() ? QString() : l->text();
    }

    template <class T = QWidget>
    T* Find(const QString& name) const {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString Text(const QString& label) const { return Find<QLabel>(label)->text(); }
    NumericEdit* Edit(const QString& name) const { return Find<NumericEdit>(name); }
    int Progress(const QString& gauge) const { return Find<TCGauge>(gauge)->Progress(); }

    void ShowPage(int index) {
        auto* pages = Find<QTabWidget>("PageControl1");
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        EXPECT_EQ(pages->currentIndex(), index);
    }
    void ShowPageOf(QWidget* w) {
        auto* pages = Find<QTabWidget>("PageControl1");
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->widget(i)->isAncestorOf(w) && pages->currentIndex() != i) ShowPage(i);
        }
    }
    // Clicks into the field and replaces its text by typing; the text is not committed yet.
    void TypeInto(const QString& name, const QString& text) {
        NumericEdit* e = Edit(name);
        ShowPageOf(e);
        QTest::mouseClick(e->lineEdit(), Qt::LeftButton);
        e->lineEdit()->selectAll();
        QTest::keyClicks(e->lineEdit(), text);
    }
    void Click(const QString& name) { QTest::mouseClick(Find<QWidget>(name), Qt::LeftButton); }
    void Key(Qt::Key key) {
        QTest::keyClick(form.get(), key);
        Note();
    }

    // The requests the window wrote, monitor requests left out.
    std::vector<std::uint8_t> PageRequests() const {
        std::vector<std::uint8_t> out;
        for (std::uint8_t c : recording_->commands) {
            if (c != kMonitorRequest) out.push_back(c);
        }
        return out;
    }
    std::size_t MonitorRequests() const {
        return static_cast<std::size_t>(
            std::count(recording_->commands.begin(), recording_->commands.end(), kMonitorRequest));
    }

    // Reads the unit through the link alone (the window must have closed its port).
    static DeviceImage ReadUnit(const SimProcess& sim) {
        LinkHarness reader;
        EXPECT_TRUE(reader.Open(sim));
        reader.link.StartRead();
        reader.RunOperation(60);
        EXPECT_EQ(reader.listener.message, "Verify OK");
        return reader.image;
    }

    // Opens the window on `sim`, waits for the line to come up and reads the unit with F7.
    void OpenAndRead(const SimProcess& sim) {
        OpenWindow(sim);
        Ticks(2);
        Key(Qt::Key_F7);
        ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
            << trail.join(" / ").toStdString();
    }

    korvan::testing::CallbackSeams seams_;  // outlives the window
    std::unique_ptr<TFormHlav> form;
    // The window shows its own QMessageBox instead of answering through the test's seam.
    bool realMessageBoxes = false;
    // Put before the [PORTS] section of the settings file OpenWindow writes.
    QByteArray extraSettings;
    QStringList modals;
    QStringList trail;
    std::unique_ptr<QtSerialPort> qtPort_;
    std::unique_ptr<RecordingPort> recording_;

  private:
    std::vector<std::unique_ptr<SimProcess>> sims_;
    QString pagesFile_;
    std::chrono::steady_clock::time_point next_{};
};

TEST_F(WindowEndToEnd, ReadFillsEveryControlWithTheUnitsValues) {
    const DeviceImage unit = DistinctUnitImage(true);
    const DeviceImage defaults = DefaultParams();
    // The test means something only where the unit differs from what the window starts with.
    for (const NumericField& f : NumericFields())
        ASSERT_NE(unit[f.imageIndex], defaults[f.imageIndex]) << f.edit;
    for (const FlagField& f : FlagFields())
        ASSERT_NE(unit[f.imageIndex], defaults[f.imageIndex]) << f.checkBox;

    SimProcess& sim = StartSim({}, unit);
    const struct {
        const char* how;
        std::function<void(WindowEndToEnd&)> read;
    } ways[] = {
        {"F7", [](WindowEndToEnd& t) { t.Key(Qt::Key_F7); }},
        {"the Read button", [](WindowEndToEnd& t) { t.Click("Button1"); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        QDir(TFormHlav::SettingsFolder()).removeRecursively();  // no state file from the last round
        OpenWindow(sim);
        Ticks(2);
        ASSERT_TRUE(SameParams(form->Image(), defaults));
        way.read(*this);
        Note();
        EXPECT_EQ(Message(), "Read device:");
        ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
            << trail.join(" / ").toStdString();
        EXPECT_EQ(trail.join(" / "), "Read device: / Verify device: / Verify OK");
        EXPECT_FALSE(IsRed(Find<QLabel>("LabelHlaseni")));
        EXPECT_TRUE(Find<TCGauge>("CGauge")->isHidden());
        EXPECT_TRUE(modals.isEmpty()) << modals.join("; ").toStdString();

        EXPECT_EQ(form->Image(), unit);
        const std::vector<NumericField>& fields = NumericFields();
        for (const NumericField& f : fields) {
            EXPECT_EQ(Edit(QString::fromStdString(f.edit))->value(), f.ToShown(unit[f.imageIndex]))
                << f.edit;
        }
        for (const FlagField& f : FlagFields()) {
            EXPECT_EQ(Find<QCheckBox>(QString::fromStdString(f.checkBox))->isChecked(),
                      unit[f.imageIndex] != 0)
                << f.checkBox;
        }
        EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentIndex(), 3);
        EXPECT_EQ(Text("LabelVerze1"), "KOR07");
        EXPECT_EQ(Text("LabelVerze2"), " 2.11.2023");
        EXPECT_EQ(Text("LabelVerze3"), "17:42");
        CloseWindow();
    }
}

TEST_F(WindowEndToEnd, ProgramSendsExactlyTheEditedImage) {
    SimProcess& sim = StartSim({});
    DeviceImage expected = DefaultParams();
    const struct {
        const char* how;
        std::function<void(WindowEndToEnd&)> program;
        std::uint8_t cell;  // a map cell typed differently in each round
    } ways[] = {
        {"F9", [](WindowEndToEnd& t) { t.Key(Qt::Key_F9); }, 51},
        {"the Program button",
         [](WindowEndToEnd& t) {
             t.Click("BitBtn1");
             t.Note();
         },
         44},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        OpenWindow(sim);
        Ticks(2);
        TypeInto("EditOmez1", "6600");
        QTest::keyClick(Edit("EditOmez1"), Qt::Key_Tab);
        TypeInto("Edit87", QString::number(way.cell));  // row 3, column 7
        QTest::keyClick(Edit("Edit87"), Qt::Key_Return);
        TypeInto("EditRpmAdv3", "3400");
        QTest::keyClick(Edit("EditRpmAdv3"), Qt::Key_Tab);
        // Still being typed when the program starts: the program takes what the field shows.
        TypeInto("EditGasD", "4500");
        expected[field::Limiter1] = 66;
        expected[AdvanceIndex(3, 7)] = way.cell;
        expected[field::RpmAdv + 2] = 34;
        expected[field::GasDelay] = 45;

        const std::size_t monitorBefore = MonitorRequests();
        way.program(*this);
        EXPECT_EQ(Message(), "Program device:");
        ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
            << trail.join(" / ").toStdString();
        EXPECT_EQ(trail.join(" / "), "Program device: / Verify device: / Verify OK");
        EXPECT_EQ(PageRequests(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
        EXPECT_EQ(MonitorRequests(),
                  monitorBefore);  // the monitor is silent while the unit is programmed
        EXPECT_TRUE(SameParams(form->Image(), expected))
            << "differs at " << ParamDifferences(form->Image(), expected).size() << " bytes";
        EXPECT_EQ(Text("LabelVerze1"), "SIM01");
        CloseWindow();

        const DeviceImage held = ReadUnit(sim);
        const std::vector<std::size_t> diff = ParamDifferences(held, expected);
        EXPECT_TRUE(diff.empty()) << "the unit differs from the edited image at byte "
                                  << (diff.empty() ? 0 : diff[0]);
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
    }
}

TEST_F(WindowEndToEnd, ProgrammingAfterChangeProgramsExactlyTheCommitsThatChangeSomething) {
    SimProcess& sim = StartSim({});
    OpenWindow(sim);
    Ticks(2);
    // Ticking the box programs at once.
    Click("CheckBoxProgHned");
    Note();
    EXPECT_EQ(Message(), "Program device:");
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
        << trail.join(" / ").toStdString();

    const struct {
        const char* what;
        const char* edit;
        const char* typed;  // nullptr: only click into the field and leave it
        Qt::Key leave;
        bool programs;
    } cases[] = {
        {"a changed map cell left by Tab", "Edit63", "40", Qt::Key_Tab, true},
        {"a changed map cell committed by Enter", "Edit64", "41", Qt::Key_Return, true},
        {"a field entered and left unchanged", "Edit65", nullptr, Qt::Key_Tab, false},
        {"the value it holds typed again", "Edit64", "41", Qt::Key_Return, false},
        {"text outside the limits, given back", "Edit66", "70", Qt::Key_Tab, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        trail.clear();
        Note();
        recording_->commands.clear();
        if (c.typed) {
            TypeInto(c.edit, c.typed);
        } else {
            ShowPageOf(Edit(c.edit));
            QTest::mouseClick(Edit(c.edit)->lineEdit(), Qt::LeftButton);
        }
        QTest::keyClick(Edit(c.edit), c.leave);
        Note();
        if (c.programs) {
            EXPECT_EQ(Message(), "Program device:");
            ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
                << trail.join(" / ").toStdString();
            EXPECT_EQ(trail.join(" / "),
                      "Verify OK / Program device: / Verify device: / Verify OK");
            EXPECT_EQ(PageRequests(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
        } else {
            EXPECT_EQ(form->Link().Mode(), OperationMode::None);
            Ticks(8);  // long enough for a started operation's first request
            EXPECT_EQ(trail.join(" / "), "Verify OK");
            EXPECT_TRUE(PageRequests().empty());
        }
    }
    const DeviceImage window = form->Image();
    CloseWindow();
    const DeviceImage held = ReadUnit(sim);
    EXPECT_EQ(held[AdvanceIndex(1, 3)], 40);
    EXPECT_EQ(held[AdvanceIndex(1, 4)], 41);
    EXPECT_EQ(held[AdvanceIndex(1, 6)], DefaultParams()[AdvanceIndex(1, 6)]);
    EXPECT_TRUE(SameParams(held, window));
}

TEST_F(WindowEndToEnd, AdvancePlusRaisesExactlyTheHighlightedCell) {
    const struct {
        const char* what;
        bool tpsAxis;
        bool programOnChange;
        int row;  // 30 % throttle, or the single curve's row
    } cases[] = {
        {"throttle axis on, programming after change", true, true, 5},
        {"single curve", false, false, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
        const DeviceImage unit = DistinctUnitImage(c.tpsAxis);
        SimProcess& sim = StartSim({"--rpm", "5000", "--tps", "30"}, unit);
        OpenAndRead(sim);
        ASSERT_EQ(form->Image(), unit);
        ShowPage(1);  // Advance Map

        // 5000 rpm lies between the breakpoints 4500 and 5700: column 4 is nearer.
        constexpr int kColumn = 4;
        const int cell = 10 * c.row + kColumn;
        ASSERT_TRUE(NextMonitorFrame());
        Tick();  // the cursor follows at the end of the tick
        const MapCursor cursor = form->Cursor();
        EXPECT_FALSE(cursor.BelowRpmAxis);
        EXPECT_EQ(cursor.RpmIndex, kColumn);
        EXPECT_EQ(cursor.TpsIndex, c.row);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(IsLime(Edit("Edit" + QString::number(50 + i))), i == cell)
                << "Edit" << 50 + i;
        }
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(IsLime(Edit("EditRpmAdv" + QString::number(k + 1))), k == kColumn) << k;
            if (c.tpsAxis) {
                EXPECT_EQ(IsLimeLabel(Find<QWidget>("LabelTps" + QString::number(k + 1))),
                          k == c.row)
                    << k;
            }
        }
        const std::uint8_t old = unit[field::Advance + cell];
        // The unit reports the advance of the cell the window highlights.
        EXPECT_EQ(Text("LabelAdvance"), QString("ADVANCE = %1 [°]").arg(old));

        if (c.programOnChange) {
            ShowPage(0);
            Click("CheckBoxProgHned");
            ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
                << trail.join(" / ").toStdString();
            ShowPage(1);
            trail.clear();
            Note();
        }
        const DeviceImage before = form->Image();
        Key(Qt::Key_F5);
        const std::vector<std::size_t> changed = ParamDifferences(before, form->Image());
        ASSERT_EQ(changed.size(), 1u) << "F5 changed " << changed.size() << " bytes";
        EXPECT_EQ(changed[0], field::Advance + static_cast<std::size_t>(cell));
        EXPECT_EQ(form->Image()[field::Advance + cell], old + 1);
        EXPECT_EQ(Edit("Edit" + QString::number(50 + cell))->value(), old + 1);

        if (c.programOnChange) {
            EXPECT_EQ(Message(), "Program device:");
            ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
                << trail.join(" / ").toStdString();
            // The unit now runs on the raised cell and says so in its next monitor frame.
            ASSERT_TRUE(NextMonitorFrame());
            EXPECT_EQ(Text("LabelAdvance"), QString("ADVANCE = %1 [°]").arg(old + 1));
        } else {
            EXPECT_EQ(form->Link().Mode(), OperationMode::None);
        }
        CloseWindow();
    }
}

TEST_F(WindowEndToEnd, ADraggedBlockRaisedIsProgrammedOnceIntoTheUnit) {
    DeviceImage unit = DistinctUnitImage(true);
    unit[field::NoReading] = 0;  // the unit is read back at the end
    SimProcess& sim = StartSim({"--rpm", "5000", "--tps", "30"}, unit);
    OpenAndRead(sim);
    ShowPage(0);
    Click("CheckBoxProgHned");
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
        << trail.join(" / ").toStdString();
    ShowPage(1);

    // A drag with the mouse from row 2, column 3 to row 4, column 6.
    const MapRect block{2, 3, 4, 6};
    QLineEdit* from = Edit("Edit73")->lineEdit();
    QLineEdit* to = Edit("Edit96")->lineEdit();
    QTest::mousePress(from, Qt::LeftButton);
    QTest::mouseMove(Edit("Edit84")->lineEdit());
    QTest::mouseMove(to);
    QTest::mouseRelease(to, Qt::LeftButton);
    ASSERT_EQ(form->Maps().Selection().Cells(), block);
    ASSERT_TRUE(form->Maps().Selection().HasSelection());

    const DeviceImage before = form->Image();
    const int steps = form->Undo().Stack().index();
    recording_->commands.clear();
    trail.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    Note();
    EXPECT_EQ(form->Undo().Stack().index(), steps + 1);
    EXPECT_EQ(form->Undo().Stack().undoText(), "Advance +5° in 4 x 3 cells");
    EXPECT_EQ(Message(), "Program device:");
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
        << trail.join(" / ").toStdString();
    Ticks(8);  // long enough for a second operation's first request
    // Twelve cells changed, the unit programmed once: identity page, two pages, their verify.
    EXPECT_EQ(PageRequests(), (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    EXPECT_EQ(trail.join(" / "), "Program device: / Verify device: / Verify OK");

    DeviceImage expected = before;
    for (int r = block.top; r <= block.bottom; ++r) {
        for (int c = block.left; c <= block.right; ++c) {
            std::uint8_t& cell = expected[AdvanceIndex(r, c)];
            cell = static_cast<std::uint8_t>(std::min(cell + 5, 60));
        }
    }
    EXPECT_TRUE(SameParams(form->Image(), expected));
    CloseWindow();
    const DeviceImage held = ReadUnit(sim);
    const std::vector<std::size_t> diff = ParamDifferences(held, expected);
    EXPECT_TRUE(diff.empty()) << "the unit differs at byte " << (diff.empty() ? 0 : diff[0]);
}

TEST_F(WindowEndToEnd, ASilentUnitEndsTheOperationInRed) {
    const struct {
        const char* what;
        std::vector<std::string> simArgs;
        bool stopSimulator;
        std::function<void(WindowEndToEnd&)> start;
        const char* startText;
        const char* failure;
        int minTicks, maxTicks;  // from the command to the failure text
        int gauge;
    } cases[] = {
        // The read's first request waits for the monitor cycle: 1 to 4 ticks, then 4 sends.
        {"read, F7",
         {"--drop-every", "1"},
         false,
         [](WindowEndToEnd& t) { t.Key(Qt::Key_F7); },
         "Read device:",
         "Read error!",
         17,
         20,
         0},
        {"program, F9",
         {"--drop-every", "1"},
         false,
         [](WindowEndToEnd& t) { t.Key(Qt::Key_F9); },
         "Program device:",
         "Program error!",
         20,
         20,
         0},
        {"verify, F8",
         {"--drop-every", "1"},
         false,
         [](WindowEndToEnd& t) { t.Key(Qt::Key_F8); },
         "Verify device:",
         "Verify error!",
         20,
         20,
         1},
        {"program button, simulator gone",
         {},
         true,
         [](WindowEndToEnd& t) {
             t.Click("BitBtn1");
             t.Note();
         },
         "Program device:",
         "Program error!",
         20,
         20,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProcess& sim = StartSim(c.simArgs);
        OpenWindow(sim);
        Ticks(3);
        if (c.stopSimulator) {
            sim.Stop();
            Ticks(3);  // the window notices the line has gone
        }
        trail.clear();
        c.start(*this);
        EXPECT_EQ(Message(), c.startText);
        const int ticks = TickUntil([&] { return Message() == c.failure; }, 30);
        EXPECT_GE(ticks, c.minTicks) << trail.join(" / ").toStdString();
        EXPECT_LE(ticks, c.maxTicks) << trail.join(" / ").toStdString();
        auto* label = Find<QLabel>("LabelHlaseni");
        EXPECT_TRUE(IsRed(label));
        EXPECT_EQ(trail.join(" / "), QString(c.startText) + " / " + c.failure);
        EXPECT_FALSE(Find<TCGauge>("CGauge")->isHidden());
        EXPECT_EQ(Progress("CGauge"), c.gauge);
        EXPECT_EQ(form->Link().Mode(), OperationMode::None);
        EXPECT_TRUE(modals.isEmpty()) << modals.join("; ").toStdString();
        // Nothing came back: the window says the line is lost, and offers no compare.
        auto* lost = Find<QLabel>("LabelLineLost");
        EXPECT_FALSE(lost->isHidden());
        EXPECT_EQ(lost->parentWidget()->childAt(lost->geometry().center()), lost)
            << "the gauge covers it";
        EXPECT_TRUE(Find<QPushButton>("ButtonShowDifferences")->isHidden());
        // The label stays red through the following ticks.
        Ticks(3);
        EXPECT_EQ(Message(), c.failure);
        EXPECT_TRUE(IsRed(label));
        CloseWindow();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
    }
}

TEST_F(WindowEndToEnd, NoConnectionShowsAfter18TicksWithoutAFrameAndHidesWithTheFirst) {
    const struct {
        const char* what;
        std::vector<std::string> simArgs;
    } cases[] = {
        {"a unit that never answers", {"--drop-every", "1"}},
        {"a unit whose every answer has a wrong check byte", {"--corrupt-every", "1"}},
    };
    SimProcess& live = StartSim({});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimProcess& bad = StartSim(c.simArgs);
        OpenWindow(std::vector<std::string>{bad.PtyPath(), live.PtyPath()});
        auto* label = Find<QLabel>("LabelSpojeni");
        for (int tick = 1; tick <= 18; ++tick) {
            Tick();
            EXPECT_TRUE(label->isHidden()) << "tick " << tick;
        }
        Tick();
        EXPECT_FALSE(label->isHidden()) << "tick 19";
        EXPECT_EQ(label->text(), "No Connection");
        Ticks(10);
        EXPECT_FALSE(label->isHidden());
        EXPECT_GE(MonitorRequests(), 4u);  // the window kept asking
        EXPECT_EQ(Text("LabelRpm"), "RPM = ---");

        // Com 2: the unit that answers. The label goes in the tick that shows the first frame.
        Find<QAction>("MenuCom2")->trigger();
        EXPECT_TRUE(Find<QAction>("MenuCom2")->isChecked());
        EXPECT_FALSE(Find<QAction>("MenuCom1")->isChecked());
        const int ticks = TickUntil([&] { return label->isHidden(); }, 10);
        EXPECT_GT(ticks, 0);
        EXPECT_TRUE(Text("LabelRpm").startsWith("RPM = ")) << Text("LabelRpm").toStdString();
        EXPECT_NE(Text("LabelRpm"), "RPM = ---");
        // A unit that answers every 6th tick keeps it hidden.
        for (int tick = 1; tick <= 30; ++tick) {
            Tick();
            EXPECT_TRUE(label->isHidden()) << "tick " << tick << " after the first frame";
        }
        CloseWindow();
        QDir(TFormHlav::SettingsFolder()).removeRecursively();
    }
}

TEST_F(WindowEndToEnd, TheMonitorColumnShowsTheUnitsLiveValues) {
    const DeviceImage unit = DistinctUnitImage(true);
    SimProcess& sim = StartSim({"--rpm", "5000", "--tps", "30"}, unit);
    OpenWindow(sim);
    Ticks(1);
    EXPECT_EQ(Text("LabelRpm"), "RPM = ---");
    EXPECT_EQ(Progress("CGaugeRpm"), 0);
    // Read the unit so that the window's limiter and map are the unit's own.
    Key(Qt::Key_F7);
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
        << trail.join(" / ").toStdString();
    ShowPage(1);
    ASSERT_TRUE(NextMonitorFrame());

    EXPECT_EQ(Text("LabelRpm"), "RPM = 5000 ");
    EXPECT_EQ(Progress("CGaugeRpm"), 5000 / unit[field::Limiter2]);
    EXPECT_FALSE(Find<QLabel>("LabelTpsMon")->isHidden());
    EXPECT_EQ(Text("LabelTpsMon"), "TP= 30 [%]");
    EXPECT_EQ(Progress("CGaugeTps"), 30);
    EXPECT_EQ(Text("LabelAdvance"), QString("ADVANCE = %1 [°]").arg(unit[AdvanceIndex(5, 4)]));
    // The unit's eighth diagnostic word is the cell it runs on, row * 10 + column.
    EXPECT_EQ(Text("LabelTest8"), "Test8 = 54 ");
    EXPECT_TRUE(Find<QLabel>("LabelTest8")->isHidden());
    EXPECT_TRUE(Find<QLabel>("LabelPocetProgramovani")->isHidden());

    // The lambda sweeps: over a few frames text and gauge move together.
    const QRegularExpression lambdaText("^LAMBDA = (\\d+) \\[mV\\]$");
    QStringList lambdas;
    for (int frame = 0; frame < 4; ++frame) {
        if (frame > 0) {
            ASSERT_TRUE(NextMonitorFrame());
        }
        const QString text = Text("LabelLambda");
        const QRegularExpressionMatch m = lambdaText.match(text);
        ASSERT_TRUE(m.hasMatch()) << text.toStdString();
        const int mv = m.captured(1).toInt();
        EXPECT_GE(mv, 100);
        EXPECT_LE(mv, 1000);
        EXPECT_EQ(Progress("CGaugeLambda"), mv < 400 ? 0 : (mv - 400) / 6) << mv;
        if (!lambdas.contains(text)) lambdas << text;
    }
    EXPECT_GE(lambdas.size(), 2) << lambdas.join("; ").toStdString();

    // Extended monitor: the counter shows at once, the millivolts with the next frame. The
    // unit's throttle sensor sits at 550 + (3900 - 550) * 30 % = 1555 mV on this calibration.
    Click("CheckBoxExtMonitor");
    EXPECT_FALSE(Find<QLabel>("LabelPocetProgramovani")->isHidden());
    ASSERT_TRUE(NextMonitorFrame());
    EXPECT_EQ(Text("LabelTpsMon"), "TP= 30 [%]= 1555 [mV]");
    EXPECT_EQ(Text("LabelPocetProgramovani"), "Number of Programing= 0 ");
    EXPECT_EQ(Text("LabelRpm"), "RPM = 5000 ");
}

// The window's own QTimer left to run for `ms` milliseconds; the CPU the process used meanwhile,
// in per cent of the wall time.
double RunTimerFor(TFormHlav& form, int ms) {
    const auto cpuNow = [] {
        rusage u{};
        ::getrusage(RUSAGE_SELF, &u);
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    const double cpuBefore = cpuNow();
    const auto wallBefore = std::chrono::steady_clock::now();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    form.Timer1()->start();
    loop.exec();
    form.Timer1()->stop();
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    return 100.0 * (cpuNow() - cpuBefore) / wall;
}

TEST_F(WindowEndToEnd, ANewUnitOnTheSamePathIsShownWithoutAKeyAfterTheOldOneDied) {
    char tmpl[] = "/tmp/korvan-window-link-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string linkPath = folder + "/ttyKorvan";
    SimProcess& first = StartSim({"--link", linkPath, "--rpm", "2200"});
    OpenWindow(std::vector<std::string>{linkPath});
    auto* field = Find<QLabel>("PortStatusField");
    ASSERT_TRUE(NextMonitorFrame());
    EXPECT_EQ(Text("LabelRpm"), "RPM = 2200 ");
    EXPECT_TRUE(field->text().endsWith("connected")) << field->text().toStdString();

    // An edit, then a read under way when the unit goes.
    TypeInto("EditOmez1", "6600");
    QTest::keyClick(Edit("EditOmez1"), Qt::Key_Tab);
    ASSERT_EQ(Edit("EditOmez1")->value(), 6600);
    const DeviceImage edited = form->Image();
    Key(Qt::Key_F7);
    first.Stop();
    ASSERT_GT(TickUntil([&] { return form->Link().Mode() == OperationMode::None; }, 60), 0);
    EXPECT_EQ(Message(), "Read error!");
    EXPECT_TRUE(field->text().endsWith("reconnecting")) << field->text().toStdString();

    // Waiting on the window's own timer: the retries sleep in the event loop.
    const double cpu = RunTimerFor(*form, 3000);
    std::cout << "CPU of the window while waiting for the device: " << cpu << " %\n";
    RecordProperty("window_cpu_percent_waiting", std::to_string(cpu));
    EXPECT_FALSE(Find<QLabel>("LabelSpojeni")->isHidden());
    EXPECT_TRUE(field->text().endsWith("reconnecting"));

    StartSim({"--link", linkPath, "--rpm", "3700"});
    const int ticks = TickUntil([&] { return Text("LabelRpm") == "RPM = 3700 "; },
                                4 * PortReconnect::kRetryTicks);
    std::cout << "Window ticks from the device's return to the first valid monitor frame: " << ticks
              << "\n";
    RecordProperty("window_ticks_to_first_frame", ticks);
    ASSERT_GT(ticks, 0) << Text("LabelRpm").toStdString();
    EXPECT_LE(ticks, 2 * PortReconnect::kRetryTicks + 1);
    EXPECT_TRUE(field->text().endsWith("connected")) << field->text().toStdString();
    EXPECT_TRUE(Find<QLabel>("LabelSpojeni")->isHidden());
    EXPECT_EQ(Edit("EditOmez1")->value(), 6600);
    EXPECT_TRUE(std::equal(edited.bytes.begin(), edited.bytes.end(), form->Image().bytes.begin()))
        << "the read is never resumed over the edited parameters";
    EXPECT_TRUE(modals.isEmpty()) << modals.join(" | ").toStdString();
    CloseWindow();
    std::filesystem::remove_all(folder);
}

TEST_F(WindowEndToEnd, MonitorRequestsKeepTheirRhythmWhileTheVersionBoxIsOpen) {
    // A unit of another format version: F9 ends in a real message box opened from the tick.
    SimProcess& sim = StartSim({"--format-version", "14"});
    realMessageBoxes = true;
    OpenWindow(sim);
    Ticks(2);
    Key(Qt::Key_F9);

    // From here the window's own timer ticks, as for a user; the box is closed from a tick.
    constexpr int kTicksUnderBox = 30;
    int ticksUnderBox = 0;
    std::size_t requestsWhenOpened = 0;
    std::size_t requestsUnderBox = 0;
    QString boxText;
    QObject::connect(form->Timer1(), &QTimer::timeout, form.get(), [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || ticksUnderBox >= kTicksUnderBox) return;
        if (ticksUnderBox++ == 0) {
            boxText = box->text();
            requestsWhenOpened = MonitorRequests();
        }
        if (ticksUnderBox == kTicksUnderBox) {
            requestsUnderBox = MonitorRequests() - requestsWhenOpened;
            box->accept();
        }
    });
    form->Timer1()->start();
    // Bounded only so that a stopped tick fails instead of hanging.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ticksUnderBox >= kTicksUnderBox && !QApplication::activeModalWidget(); },
        30000));
    form->Timer1()->stop();
    EXPECT_EQ(boxText, "Unmatched version of PC and Ignition programs!");
    // One request every 6th tick: 29 ticks after the first hold at least 4.
    EXPECT_GE(requestsUnderBox, static_cast<std::size_t>((kTicksUnderBox - 1) / 6));
    EXPECT_NE(Text("LabelRpm"), "RPM = ---");  // and the unit's answers were shown
}

// Never losing a tune against the real link: a read stores a restore point with the unit's
// identity, the unit compared with the editor is identical and the editor's set untouched,
// one edit is one change not in the unit, and a program brings the field back.
TEST_F(WindowEndToEnd, ReadStoresAPointAndTheUnitFieldFollowsAnEditUntilProgrammed) {
    const QString folder = HistoryController::HistoryFolder();
    QDir(folder).removeRecursively();
    SimProcess& sim = StartSim({}, DistinctUnitImage(true));
    OpenAndRead(sim);
    const auto unitField = [&] { return Text("LabelUnitState"); };
    EXPECT_EQ(unitField(), "In the unit");
    {
        RestoreStore store(folder.toStdString());
        const std::vector<RestorePoint> points = store.List();
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(points[0].kind, RestoreKind::Read);
        EXPECT_EQ(QString::fromStdString(points[0].unit.VersionString), Text("LabelVerze1"));
        EXPECT_FALSE(points[0].unit.VersionString.empty());
        LoadedPoint loaded = store.Load(points[0].fileName, form->Image());
        ASSERT_TRUE(loaded.ok);
        EXPECT_TRUE(SameParams(loaded.image, form->Image()));
    }

    const DeviceImage before = form->Image();
    const std::size_t requestsBefore = PageRequests().size();
    Find<QAction>("MenuCompareUnit")->trigger();
    ASSERT_GT(TickUntil([&] { return form->History().Compare() != nullptr; }, 40), 0)
        << trail.join(" / ").toStdString();
    EXPECT_TRUE(form->History().Compare()->Comparison().Identical());
    EXPECT_EQ(form->Image().bytes, before.bytes);
    // The same read as F7: identity, two pages, then the verification of both.
    const std::vector<std::uint8_t> all = PageRequests();
    const std::vector<std::uint8_t> compareRequests(all.begin() + static_cast<long>(requestsBefore),
                                                    all.end());
    EXPECT_EQ(compareRequests, (std::vector<std::uint8_t>{0x40, 0x41, 0x42, 0x41, 0x42}));

    form->activateWindow();
    TypeInto("EditClutch", "50");
    QTest::keyClick(Edit("EditClutch"), Qt::Key_Return);
    ASSERT_NE(form->Image()[field::Clutch], before[field::Clutch]);
    EXPECT_EQ(unitField(), "Not in the unit: 1 change");

    Key(Qt::Key_F9);
    ASSERT_GT(TickUntil([&] { return unitField() == "In the unit"; }, 60), 0)
        << trail.join(" / ").toStdString();
    EXPECT_EQ(Message(), "Verify OK");
    RestoreStore store(folder.toStdString());
    ASSERT_EQ(store.List().size(), 2u);
    EXPECT_EQ(store.List()[0].kind, RestoreKind::Programmed);
    QDir(folder).removeRecursively();
}

// ---- the map in 3D and the curve window -----------------------------------------------------

// The middle of the live cell's marker: the pure lime pixels of the picture.
std::optional<QPointF> LimeCentre(const QImage& image) {
    double sx = 0, sy = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0x00FF00) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++count;
            }
        }
    }
    if (count == 0) return std::nullopt;
    return QPointF(sx / count, sy / count);
}

// What the 3D window shows on the screen, as the X server has it.
QImage OnScreen(SurfaceView& view) {
    QApplication::processEvents();
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The grid cell the live cursor colours lime; none when no cell or more than one is.
std::optional<MapCell> LimeGridCell(const WindowEndToEnd& t) {
    std::optional<MapCell> found;
    for (int index = 0; index < kMapRows * kMapColumns; ++index) {
        if (!IsLime(t.Edit(QString::fromStdString(MapCellEditName(index))))) continue;
        if (found) return std::nullopt;
        found = MapCell{index / kMapColumns, index % kMapColumns};
    }
    return found;
}

TEST_F(WindowEndToEnd, TheSurfacesLiveMarkerSitsOverTheCellLitInTheGrid) {
    SimProcess& sim = StartSim({"--rpm", "5000", "--tps", "30"}, DistinctUnitImage(true));
    OpenAndRead(sim);
    ShowPage(1);
    QTest::keyClick(form.get(), Qt::Key_3, Qt::ControlModifier);
    SurfaceWindow* window = form->Surface().Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    SurfaceView& view = window->View();
    ASSERT_TRUE(NextMonitorFrame());
    const std::optional<MapCell> lit = LimeGridCell(*this);
    ASSERT_TRUE(lit.has_value());
    EXPECT_EQ(*lit, (MapCell{5, 4}));  // 5000 rpm, 30 % on this unit's axes

    const ViewAngle views[] = {ViewAngle{}, ViewAngle{0, 90, 1, 0, 0},
                               ViewAngle{-140, 50, 1.6, 0.1, -0.05}};
    for (const ViewAngle& angle : views) {
        SCOPED_TRACE(ViewAngleText(angle));
        view.SetView(angle);
        const std::optional<QPointF> marker = LimeCentre(OnScreen(view));
        ASSERT_TRUE(marker.has_value());
        const QPointF cell = view.CellPosition(*lit);
        EXPECT_NEAR(marker->x(), cell.x(), 1.5);
        EXPECT_NEAR(marker->y(), cell.y(), 1.5);
        EXPECT_EQ(view.CellAt(*marker), *lit);
    }
}

// The engine replayed at each RPM breakpoint in turn: the marker's pixels step across the
// surface by the breakpoints' spacing (this unit's are uneven), not by the column number.
TEST_F(WindowEndToEnd, TheSurfacesColumnsStandAtTheirRpmBreakpoints) {
    const DeviceImage unit = DistinctUnitImage(false);
    SimProcess& sim = StartSim({}, unit);
    OpenAndRead(sim);
    QTest::keyClick(form.get(), Qt::Key_3, Qt::ControlModifier);
    SurfaceWindow* window = form->Surface().Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    SurfaceView& view = window->View();
    view.SetView(ViewAngle{0, 30, 1, 0, 0});  // square to the RPM axis

    class Sink : public LogSink {
      public:
        bool Write(const char* data, std::size_t size) override {
            text.append(data, size);
            return true;
        }
        bool Flush() override { return true; }
        std::string Error() const override { return {}; }
        std::string text;
    } sink;
    RideLogWriter writer(sink, "e2e");
    writer.Start("today");
    std::vector<int> rpm;
    for (int k = 0; k < kAxisPoints; ++k) {
        rpm.push_back(unit[field::RpmAdv + static_cast<std::size_t>(k)] * 100);
        RideLogRow row;
        row.TimeMs = static_cast<std::uint32_t>(k * 100);
        row.Channels.Rpm = static_cast<std::uint16_t>(rpm.back());
        writer.AddRow(row);
    }
    writer.Finish();
    const QString log =
        QDir::tempPath() + "/korvan-e2e-columns-" + QString::number(getpid()) + ".msl";
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
    }
    ASSERT_TRUE(form->RideLog().StartReplay(log));
    std::vector<double> x;
    for (int k = 0; k < kAxisPoints; ++k) {
        form->RideLog().Replay()->Seek(k);
        Tick();
        ASSERT_EQ(view.LiveCell(), (MapCell{9, k})) << k;
        const std::optional<QPointF> marker = LimeCentre(OnScreen(view));
        ASSERT_TRUE(marker.has_value()) << k;
        x.push_back(marker->x());
    }
    form->RideLog().EndReplay();
    QFile::remove(log);
    const double pixelsPerRpm = (x.back() - x.front()) / (rpm.back() - rpm.front());
    EXPECT_GT(pixelsPerRpm, 0.0);
    for (int k = 0; k < kAxisPoints; ++k) {
        EXPECT_NEAR(x[static_cast<std::size_t>(k)] - x.front(),
                    (rpm[static_cast<std::size_t>(k)] - rpm.front()) * pixelsPerRpm, 1.5)
            << "column " << k << " at " << rpm[static_cast<std::size_t>(k)] << " rpm";
    }
}

TEST_F(WindowEndToEnd, TheSurfaceComparesWithWhatTheUnitHolds) {
    SimProcess& sim = StartSim({}, DistinctUnitImage(true));
    OpenAndRead(sim);
    const DeviceImage unit = form->Image();
    TypeInto("Edit87", QString::number(unit[AdvanceIndex(3, 7)] + 5));  // row 3, column 7
    QTest::keyClick(Edit("Edit87"), Qt::Key_Return);
    const DeviceImage edited = form->Image();
    QTest::keyClick(form.get(), Qt::Key_3, Qt::ControlModifier);
    SurfaceWindow* window = form->Surface().Window();
    ASSERT_NE(window, nullptr);

    const std::size_t requestsBefore = PageRequests().size();
    window->CompareUnitItem()->trigger();
    ASSERT_GT(TickUntil([&] { return form->Surface().Compared().has_value(); }, 40), 0)
        << trail.join(" / ").toStdString();
    EXPECT_TRUE(SameParams(*form->Surface().Compared(), unit));
    EXPECT_EQ(form->Image().bytes, edited.bytes) << "the edited tune stays as it is";
    EXPECT_TRUE(window->Grid().isVisible());
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c)
            EXPECT_EQ(window->Grid().Difference({r, c}), r == 3 && c == 7 ? 5 : 0) << r << c;
    }
    const std::vector<std::uint8_t> all = PageRequests();
    EXPECT_EQ(std::vector<std::uint8_t>(all.begin() + static_cast<long>(requestsBefore), all.end()),
              (std::vector<std::uint8_t>{0x40, 0x41, 0x42, 0x41, 0x42}));
    EXPECT_TRUE(modals.isEmpty()) << modals.join("; ").toStdString();
}

// A point dragged with the mouse in the curve window: one byte changes by the dragged amount,
// one undo step, and "Programming after change" programs it into the unit once.
TEST_F(WindowEndToEnd, ADragInTheCurveWindowProgramsOneValueOnceAsOneStep) {
    // The simulator's own tune: its unit allows reading back, and its map is one curve.
    SimProcess& sim = StartSim({});
    OpenAndRead(sim);
    Click("CheckBoxProgHned");
    Note();
    ASSERT_GT(
        TickUntil(
            [&] { return Message() == "Verify OK" && form->Link().Mode() == OperationMode::None; },
            40),
        0);
    const DeviceImage before = form->Image();
    const int steps = form->Undo().Stack().count();
    const std::size_t requestsBefore = PageRequests().size();

    Find<QAction>("MenuMapCurves")->trigger();
    QWidget* curveWindow = form->RideLog().CurveWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(curveWindow));
    CurveView& curves = *form->RideLog().Curves();
    const std::size_t index = AdvanceIndex(9, 6);
    const int dragged = -4;
    const QPointF from = *curves.PointPosition(index);
    const QPointF to = *curves.PositionOf(index, before[index] + dragged);
    QWidget* chart = curves.childAt(from.toPoint());
    ASSERT_NE(chart, nullptr);
    const QPoint press = chart->mapFrom(&curves, from).toPoint();
    const QPoint release = chart->mapFrom(&curves, to).toPoint();
    QTest::mousePress(chart, Qt::LeftButton, {}, press);
    for (int i = 1; i <= 6; ++i) {
        QTest::mouseMove(chart, press + (release - press) * i / 6);
        Tick();
    }
    EXPECT_EQ(form->Image().bytes, before.bytes) << "nothing changes before the release";
    QTest::mouseRelease(chart, Qt::LeftButton, {}, release);
    EXPECT_EQ(ParamDifferences(form->Image(), before), std::vector<std::size_t>{index});
    EXPECT_EQ(form->Image()[index], before[index] + dragged);
    EXPECT_EQ(form->Undo().Stack().count(), steps + 1);

    trail.clear();
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 60), 0)
        << trail.join(" / ").toStdString();
    const std::vector<std::uint8_t> all = PageRequests();
    EXPECT_EQ(std::vector<std::uint8_t>(all.begin() + static_cast<long>(requestsBefore), all.end()),
              (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x41, 0x42}));
    Ticks(12);
    EXPECT_EQ(PageRequests().size(), all.size()) << "programmed once";
    CloseWindow();
    const DeviceImage held = ReadUnit(sim);
    EXPECT_EQ(held[index], before[index] + dragged);
    EXPECT_EQ(ParamDifferences(held, before), std::vector<std::size_t>{index});
}
TEST_F(WindowEndToEnd, ARideOfTheUnitIsRecordedMarkedReplayedAndAnalysed) {
    SimProcess& sim = StartSim({});
    OpenWindow(sim);
    QTemporaryDir dir;
    const QString path = dir.filePath("ride.mlg");
    seams_.fileDialog = [path](QFileDialog&) { return path; };
    QString box;
    seams_.choice = [&box](const QString& text, const QStringList&) {
        box = text;
        return 1;  // "Replay"
    };
    ASSERT_TRUE(NextMonitorFrame());
    Key(Qt::Key_F6);
    ASSERT_TRUE(form->RideLog().IsRecording());
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(NextMonitorFrame());
    Key(Qt::Key_M);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Marker 1");
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(NextMonitorFrame());
    Key(Qt::Key_F6);
    EXPECT_FALSE(form->RideLog().IsRecording());
    const RideLogReadResult recorded = ReadRideLogFile(path.toStdString());
    ASSERT_TRUE(recorded.Ok());
    EXPECT_EQ(recorded.marks.size(), 1u);
    EXPECT_EQ(box, QString("The ride log is saved in\n%1\n%2 rows, 1 markers.")
                       .arg(QDir::toNativeSeparators(path))
                       .arg(recorded.rows.size()));

    // The box's "Replay": the unit is asked nothing and the window says why it is silent.
    ASSERT_TRUE(form->RideLog().IsReplaying());
    const std::size_t requests = MonitorRequests();
    Ticks(DeviceLink::kNoConnectionTicks + 6);
    EXPECT_EQ(MonitorRequests(), requests);
    EXPECT_TRUE(Find<QLabel>("LabelSpojeni")->isHidden());
    EXPECT_FALSE(Find<QLabel>("LabelReplay")->isHidden());
    EXPECT_EQ(Text("LabelReplay"), "REPLAY");
    EXPECT_TRUE(Text("PortStatusField").endsWith("link paused for the replay"))
        << Text("PortStatusField").toStdString();

    // The analysis takes the replay's log as it is.
    Find<QAction>("MenuRideAnalysis")->trigger();
    auto* analysis = form->RideLog().findChild<AnalysisController*>();
    ASSERT_NE(analysis->Window(), nullptr);
    ASSERT_NE(analysis->Window()->Log(), nullptr);
    EXPECT_EQ(analysis->Window()->Log()->rows.size(), recorded.rows.size());
    EXPECT_TRUE(analysis->Window()->isVisible());
    analysis->Window()->close();

    // The replay ends: live values again, and nothing says the unit was lost.
    form->RideLog().EndReplay();
    ASSERT_TRUE(NextMonitorFrame());
    EXPECT_TRUE(Find<QLabel>("LabelSpojeni")->isHidden());
    EXPECT_TRUE(Find<QLabel>("LabelReplay")->isHidden());
    EXPECT_TRUE(Text("PortStatusField").endsWith("connected"));
    EXPECT_TRUE(modals.isEmpty()) << modals.join("; ").toStdString();
}

TEST_F(WindowEndToEnd, ASavedPositionOffTheScreenIsFittedIntoIt) {
    // Saved on a larger screen: most of the window would be below and right of this one.
    extraSettings = "[FORM_HLAV]\nLeft=1900\nTop=1150\n";
    OpenWindow(std::vector<std::string>{});
    const QRect area = form->screen()->availableGeometry();
    const QRect frame = form->frameGeometry();
    EXPECT_TRUE(area.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(frame.right(), area.right());
    EXPECT_EQ(frame.bottom(), area.bottom());
}

TEST_F(WindowEndToEnd, AfterVerifyErrorShowDifferencesComparesWithTheUnit) {
    SimProcess& sim = StartSim({}, DistinctUnitImage(true));
    OpenAndRead(sim);
    TypeInto("EditClutch", "50");
    QTest::keyClick(Edit("EditClutch"), Qt::Key_Return);
    trail.clear();
    Key(Qt::Key_F8);
    ASSERT_GT(TickUntil([&] { return Message() == "Verify error!"; }, 40), 0)
        << trail.join(" / ").toStdString();
    auto* button = Find<QPushButton>("ButtonShowDifferences");
    EXPECT_FALSE(button->isHidden());
    EXPECT_TRUE(Find<QLabel>("LabelLineLost")->isHidden()) << "the unit did answer";
    EXPECT_TRUE(Find<QAction>("MenuShowDifferences")->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_GT(TickUntil([&] { return form->History().Compare() != nullptr; }, 40), 0)
        << trail.join(" / ").toStdString();
    EXPECT_TRUE(form->History().CompareWindow()->isVisible());
    const ParameterComparison& differences = form->History().Compare()->Comparison();
    ASSERT_EQ(differences.ChangeCount(), 1);
    EXPECT_EQ(differences.fields[0].control, "EditClutch");
    EXPECT_TRUE(button->isHidden());
}

TEST_F(WindowEndToEnd, LiveTuningWithProgrammingAfterChangeFillsOneHistoryGroup) {
    const QString folder = HistoryController::HistoryFolder();
    QDir(folder).removeRecursively();
    SimProcess& sim = StartSim({"--rpm", "5000", "--tps", "30"}, DistinctUnitImage(true));
    OpenAndRead(sim);
    Click("CheckBoxProgHned");
    ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0);
    ShowPage(1);
    constexpr int kPresses = 4;
    for (int press = 0; press < kPresses; ++press) {
        ASSERT_TRUE(NextMonitorFrame());
        Tick();
        trail.clear();
        Key(press % 2 == 0 ? Qt::Key_F5 : Qt::Key_F4);
        ASSERT_EQ(Message(), "Program device:") << press;
        ASSERT_GT(TickUntil([&] { return Message() == "Verify OK"; }, 40), 0)
            << trail.join(" / ").toStdString();
    }
    Find<QAction>("MenuHistory")->trigger();
    HistoryWindow* window = form->History().History();
    ASSERT_NE(window, nullptr);
    QAbstractItemModel* model = window->Model();
    // The programming of the tick box and each F4 / F5 in one group, over the read.
    ASSERT_EQ(model->rowCount(), 2);
    const QModelIndex group = model->index(0, 0);
    EXPECT_TRUE(
        group.data().toString().startsWith(QString("Programmed %1 times, ").arg(kPresses + 1)))
        << group.data().toString().toStdString();
    EXPECT_EQ(model->rowCount(group), kPresses + 1);
    EXPECT_EQ(model->index(1, HistoryWindow::KindColumn).data().toString(), "Read");
    QDir(folder).removeRecursively();
}

}  // namespace
}  // namespace korvan::test

int main(int argc, char** argv) {
    return korvan::testing::RunWindowTests(argc, argv);
}
