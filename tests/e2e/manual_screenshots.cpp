// The manual's pictures, made from the real window against the simulated unit, in each
// language: the main window with the live cursor, the four pages, the ride log's replay
// panel, the map in 3D compared with an older tune, and the curve window. Each picture is
// scaled down to fit the help window's width.
//
//   manual_screenshots OUTPUT_FOLDER      (make manual-screenshots writes docs/manual/images)
//
// Exits with 1 when the window showed a message or a picture could not be written.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/qt_serial_port.h"
#include "files/parameter_file.h"
#include "files/settings.h"
#include "log/ride_log_writer.h"
#include "params/binding.h"
#include "sim_process.h"
#include "tests/ui/window/callback_seams.h"
#include "ui/help/help_window.h"
#include "ui/ridelog/curve_view.h"
#include "ui/ridelog/replay_controller.h"
#include "ui/ridelog/replay_panel.h"
#include "ui/surface/surface_view.h"
#include "ui/surface/surface_window.h"
#include "ui/window/form_hlav.h"
#include "ui/window/ride_log_controller.h"
#include "ui/window/surface_window_controller.h"

namespace {

using korvan::TFormHlav;

constexpr int kTickMs = TFormHlav::kTickMs;
constexpr int kReadTicks = 60;
constexpr int kSettleTicks = 14;  // two monitor frames
constexpr int kCropMargin = 8;

struct Language {
    const char* code;
    const char* word;
};
const Language kLanguages[] = {{"cs", "CESKY"}, {"en", "ENGLISH"}, {"de", "DEUTSCH"}};

class StringSink : public korvan::LogSink {
  public:
    bool Write(const char* data, std::size_t size) override {
        text.append(data, size);
        return true;
    }
    bool Flush() override { return true; }
    std::string Error() const override { return {}; }
    std::string text;
};

class Shots {
  public:
    Shots(QString folder, const korvan::test::SimProcess& sim, QString work)
        : folder_(std::move(folder)), sim_(sim), work_(std::move(work)) {}

    bool Take(const Language& language);
    const QStringList& Problems() const { return problems_; }
    const QStringList& Written() const { return written_; }

  private:
    void Tick();
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Tick();
    }
    void Save(QImage image, const QString& name);
    QImage PageShot(int page, bool crop);
    QString WriteRide();
    QString WriteOlderTune();

    QString folder_;
    const korvan::test::SimProcess& sim_;
    QString work_;
    std::unique_ptr<TFormHlav> form_;
    QStringList problems_;
    QStringList written_;
};

void Shots::Tick() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kTickMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    form_->OnTick();
}

void Shots::Save(QImage image, const QString& name) {
    // The help window shows a picture at its own size: a wider one would need scrolling.
    if (image.width() > korvan::HelpWindow::kWidestPicture) {
        image = image.scaledToWidth(korvan::HelpWindow::kWidestPicture, Qt::SmoothTransformation);
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    const QString path = folder_ + "/" + name;
    if (!image.save(path, "PNG")) {
        problems_ << path + ": cannot be written";
        return;
    }
    written_ << path;
}

// A page of the page control; cropped, only as far down as its controls reach.
QImage Shots::PageShot(int page, bool crop) {
    auto* pages = form_->findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(page);
    QApplication::processEvents();
    QImage image = pages->grab().toImage();
    if (!crop) return image;
    QWidget* sheet = pages->currentWidget();
    int bottom = 0;
    for (QWidget* child : sheet->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isVisible()) bottom = std::max(bottom, child->geometry().bottom());
    }
    const int top = sheet->mapTo(pages, QPoint(0, 0)).y();
    return image.copy(0, 0, image.width(), std::min(image.height(), top + bottom + kCropMargin));
}

// A short ride sweeping the map, for the replay panel and the trail on the surface.
QString Shots::WriteRide() {
    StringSink sink;
    korvan::RideLogWriter writer(sink, "manual");
    writer.Start("manual");
    for (int i = 0; i < 40; ++i) {
        korvan::RideLogRow row;
        row.TimeMs = static_cast<std::uint32_t>(i * 250);
        row.Channels.Rpm = static_cast<std::uint16_t>(2000 + i * 180);
        row.Channels.TpsPercent = static_cast<std::uint8_t>(std::min(100, 5 + i * 2));
        row.Channels.LambdaMv = 850;
        writer.AddRow(row);
        if (i == 25) writer.Mark(row.TimeMs);
    }
    writer.Finish();
    const QString path = work_ + "/ride.msl";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(sink.text.data(), static_cast<qint64>(sink.text.size()));
    return path;
}

// Last season's tune: less advance at the top end, a little more low down.
QString Shots::WriteOlderTune() {
    korvan::DeviceImage older = form_->Image();
    for (int row = 0; row < korvan::kMapRows; ++row) {
        for (int column = 0; column < korvan::kMapColumns; ++column) {
            std::uint8_t& cell = older[korvan::AdvanceIndex(row, column)];
            const int change = column >= 6 ? -(column - 5) - row / 4 : (column <= 1 ? 2 : 0);
            cell = static_cast<std::uint8_t>(std::clamp(cell + change, 0, 60));
        }
    }
    const QString path = work_ + "/last_season.ign";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray::fromStdString(korvan::ParameterFileText(older, false)));
    return path;
}

bool Shots::Take(const Language& language) {
    const QString code = QString::fromLatin1(language.code);
    QDir(TFormHlav::SettingsFolder()).removeRecursively();
    QDir().mkpath(TFormHlav::SettingsFolder());
    {
        QFile ini(TFormHlav::SettingsFilePath());
        if (!ini.open(QIODevice::WriteOnly)) return false;
        ini.write("[PORTS]\r\nCOM1=" + QByteArray::fromStdString(sim_.PtyPath()) + "\r\n");
    }
    korvan::QtSerialPort port;
    korvan::testing::CallbackSeams seams;
    seams.messageBox = [&](const QString& text) { problems_ << code + ": message: " + text; };
    QString answer;
    seams.fileDialog = [&](QFileDialog&) { return answer; };
    korvan::FormOptions options;
    options.arguments = {QString::fromLatin1(language.word)};
    options.seams = &seams;
    form_ = std::make_unique<TFormHlav>(port, options);
    form_->Timer1()->stop();
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) return false;

    Ticks(2);
    form_->OnReadChosen();
    for (int i = 0; i < kReadTicks && form_->Link().Mode() != korvan::OperationMode::None; ++i)
        Tick();
    auto* tps = form_->findChild<QCheckBox*>("CheckBoxTpsMapa");
    form_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    if (!tps->isChecked()) {
        QTest::mouseClick(tps, Qt::LeftButton);
        // Programmed, so the pictures show a unit that holds what the window shows.
        form_->OnProgramChosen();
        for (int i = 0; i < kReadTicks && form_->Link().Mode() != korvan::OperationMode::None; ++i)
            Tick();
    }
    Ticks(kSettleTicks);

    Save(form_->grab().toImage(), code + "_main_window.png");
    Save(PageShot(0, false), code + "_miscellaneous.png");
    Save(PageShot(2, true), code + "_n2o_controller.png");
    Save(PageShot(3, true), code + "_servo.png");
    form_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);

    // The 3D window first, so the replayed ride leaves its trail on it.
    form_->Surface().ShowWindow();
    korvan::SurfaceWindow* surface = form_->Surface().Window();
    (void)QTest::qWaitForWindowExposed(surface);
    korvan::RideLogController& rides = form_->RideLog();
    if (rides.StartReplay(WriteRide())) {
        for (int row = 0; row < 32; ++row) {
            rides.Replay()->Seek(row);
            Tick();
        }
        Save(rides.Panel()->grab().toImage(), code + "_replay.png");
        rides.EndReplay();
    }
    Ticks(kSettleTicks);
    answer = WriteOlderTune();
    surface->CompareFileItem()->trigger();
    surface->View().SetView(korvan::ViewAngle{35, 28, 1.1, 0, 0.02});
    QApplication::processEvents();
    Save(surface->grab().toImage(), code + "_surface.png");

    rides.ShowCurves();
    QWidget* curves = rides.CurveWindow();
    (void)QTest::qWaitForWindowExposed(curves);
    rides.Curves()->SelectPoint(korvan::AdvanceIndex(7, 6));
    QApplication::processEvents();
    Save(curves->grab().toImage(), code + "_curves.png");

    curves->close();
    surface->close();
    form_->close();
    form_.reset();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    QTemporaryDir data;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "%s: cannot be made\n", argv[1]);
        return 1;
    }
    // The port field shows the line's name: a short one a reader recognises as an adapter.
    QString link = QDir::tempPath() + "/korvan2-manual/ttyUSB0";
    if (QFileInfo::exists(link)) {
        link = QDir::tempPath() + "/korvan2-manual-" +
               QString::number(QCoreApplication::applicationPid()) + "/ttyUSB0";
    }
    QDir().mkpath(QFileInfo(link).path());
    korvan::test::SimProcess sim(
        {"--rpm", "5200", "--tps", "35", "--quiet", "--link", link.toStdString()});
    if (!sim.Started()) {
        std::fprintf(stderr, "the simulated unit did not start: %s\n", sim.Log().c_str());
        return 1;
    }
    QTemporaryDir work;
    Shots shots(folder, sim, work.path());
    bool ok = true;
    for (const Language& language : kLanguages) ok = shots.Take(language) && ok;
    sim.Stop();
    QDir().rmdir(QFileInfo(link).path());
    for (const QString& path : shots.Written()) std::printf("%s\n", qPrintable(path));
    for (const QString& problem : shots.Problems())
        std::fprintf(stderr, "%s\n", qPrintable(problem));
    return ok && shots.Problems().isEmpty() ? 0 : 1;
}
