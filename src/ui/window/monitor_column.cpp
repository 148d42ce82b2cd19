#include "ui/window/monitor_column.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "device/device_link.h"
#include "device/monitor.h"
#include "files/settings.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/link_view.h"
#include "ui/window/parameter_model.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

constexpr int kBigReadoutPixels = 19;
constexpr int kSwitchLabelPixels = 16;
constexpr int kTestLabelPixels = 13;
constexpr int kGaugePercent = 100;

void ShowReadout(QLabel* label, const ReadoutLabel& readout) {
    if (readout.visible) SetShown(label, *readout.visible);
    SetLabelText(label, QString::fromUtf8(readout.text.c_str()));
    SetBackground(label, readout.colour);
}

void SetGauge(TCGauge* gauge, int progress) {
    if (gauge->Progress() != progress) gauge->SetProgress(progress);
}

}  // namespace

MonitorColumn::MonitorColumn(QWidget* client, const QFont& windowFont, ParameterModel& model,
                             LinkView& view, const DeviceLink& link)
    : model_(model), link_(link) {
    extendedBox_ = MakeCheckBox(client, "CheckBoxExtMonitor", "Extended Monitor", 680, 10, 140);
    connect(extendedBox_, &QCheckBox::toggled, this, &MonitorColumn::ExtendedToggled);
    connect(&model, &ParameterModel::ExtendedMonitorChanged, this, &MonitorColumn::SetExtended);
    connect(&view, &LinkView::MonitorFrame, this, &MonitorColumn::ShowFrame);
    connect(&view, &LinkView::NoConnectionVisible, this, &MonitorColumn::ConnectionShown);

    const QFont big = PixelFont(windowFont, kBigReadoutPixels, true);
    const QFont sw = PixelFont(windowFont, kSwitchLabelPixels, false);
    auto readout = [&](const char* name, const char* text, int x, int y, int w, const QFont& f) {
        QLabel* label = MakeLabel(client, name, text, x, y, w, QFontMetrics(f).height() + 2);
        label->setFont(f);
        return label;
    };
    rpmLabel_ = readout("LabelRpm", "RPM = ---", 676, 38, 270, big);
    rpmGauge_ = MakeGauge(client, "CGaugeRpm", 676, 69, 270, 21, kGaugePercent,
                          ToQColor(Colour::Fuchsia), false);
    tpsLabel_ = readout("LabelTpsMon", "TP= --- [%]", 676, 103, 270, big);
    tpsGauge_ = MakeGauge(client, "CGaugeTps", 676, 133, 270, 21, kGaugePercent,
                          QApplication::palette().color(QPalette::Highlight), false);
    lambdaLabel_ = readout("LabelLambda", "LAMBDA= --- [mV]", 676, 167, 270, big);
    lambdaGauge_ =
        MakeGauge(client, "CGaugeLambda", 676, 198, 270, 21, kGaugePercent, Qt::black, false);

    // The three bands under the lambda bar mark 400-600, 600-800 and 800-1000 mV.
    struct Band {
        const char* name;
        int x;
        int w;
        Colour colour;
    };
    const Band bands[] = {{"LabelBarGraf1", 676, 90, Colour::Blue},
                          {"LabelBarGraf2", 766, 89, Colour::Lime},
                          {"LabelBarGraf3", 856, 90, Colour::Red}};
    for (const Band& b : bands) {
        QLabel* band = MakeLabel(client, b.name, QString(), b.x, 224, b.w, 8);
        SetBackground(band, b.colour);
    }

    advanceLabel_ = readout("LabelAdvance", "ADVANCE= --- [°]", 676, 241, 270, big);
    servoDesiredLabel_ = readout("LabelPriveraPoz", "Throtle Des. = ---", 672, 275, 274, sw);
    servoMeasuredLabel_ = readout("LabelPriveraMer", "Throtle Meas. = ---", 672, 308, 274, sw);
    blocking1Label_ = readout("LabelBlok1", "Blocking 1 = --", 672, 342, 180, sw);
    blocking2Label_ = readout("LabelBlok2", "Blocking 2 = --", 672, 376, 180, sw);
    tachoLambdaLabel_ = readout("LabelTacho_Lambda", "Tacho/Lambda  = --", 672, 410, 274, sw);
    clutchLabel_ = readout("LabelClutchMon", "Clutch = --", 672, 443, 274, sw);
    limiter1Label_ = readout("LabelLimiter1", "Limiter 1 = --", 672, 477, 274, sw);
    n2oLabel_ = readout("LabelN2oEnable", "N20 enable = --", 672, 511, 274, sw);

    // Diagnostic words of the unit: kept up to date, never shown.
    const QFont test = PixelFont(windowFont, kTestLabelPixels, true);
    for (int i = 0; i < kTestWords; ++i) {
        const QByteArray name = "LabelTest" + QByteArray::number(i + 1);
        testLabels_[i] = readout(name.constData(), "", 856, 343 + (i * 152) / 7, 112, test);
        testLabels_[i]->setText("Test" + QString::number(i + 1) + " = ---");
        testLabels_[i]->hide();
    }

    // Two lines when the count is long: the monitor column starts right after it.
    programCountLabel_ = MakeLabel(client, "LabelPocetProgramovani", "Number of Programing: -----",
                                   519, 506, 150, 30);
    programCountLabel_->setWordWrap(true);
    programCountLabel_->hide();

    // The texts the labels start with are their no-data texts.
    for (QLabel* label : {rpmLabel_, tpsLabel_, lambdaLabel_, advanceLabel_, servoDesiredLabel_,
                          servoMeasuredLabel_, blocking1Label_, blocking2Label_, tachoLambdaLabel_,
                          clutchLabel_, limiter1Label_, n2oLabel_, programCountLabel_}) {
        noDataTexts_.push_back({label, label->text()});
    }
    for (QLabel* label : testLabels_) noDataTexts_.push_back({label, label->text()});
}

void MonitorColumn::ShowNoData() {
    for (const NoDataText& entry : noDataTexts_) {
        SetLabelText(entry.label, entry.text);
        SetBackground(entry.label, Colour::ButtonFace);
    }
    for (TCGauge* gauge : {rpmGauge_, tpsGauge_, lambdaGauge_}) SetGauge(gauge, 0);
}

void MonitorColumn::Show(const MonitorReadout& r) {
    ShowReadout(rpmLabel_, r.rpm);
    SetGauge(rpmGauge_, r.gaugeRpm);
    ShowReadout(lambdaLabel_, r.lambda);
    SetGauge(lambdaGauge_, r.gaugeLambda);
    ShowReadout(tpsLabel_, r.tps);
    SetGauge(tpsGauge_, r.gaugeTps);
    ShowReadout(servoDesiredLabel_, r.servoDesired);
    ShowReadout(servoMeasuredLabel_, r.servoMeasured);
    ShowReadout(blocking1Label_, r.blok1);
    ShowReadout(blocking2Label_, r.blok2);
    ShowReadout(clutchLabel_, r.clutch);
    ShowReadout(limiter1Label_, r.limiter1);
    ShowReadout(tachoLambdaLabel_, r.tachoLambda);
    ShowReadout(n2oLabel_, r.n2oEnable);
    ShowReadout(advanceLabel_, r.advance);
    ShowReadout(programCountLabel_, r.programCount);
    for (std::size_t i = 0; i < testLabels_.size(); ++i) {
        SetLabelText(testLabels_[i], QString::fromUtf8(r.test[i].c_str()));
    }
}

void MonitorColumn::ShowTpsReadout(bool shown) {
    SetShown(tpsLabel_, shown);
    SetShown(tpsGauge_, shown);
}

void MonitorColumn::ShowServoReadouts(bool shown) {
    servoShown_ = shown;
    SetShown(servoDesiredLabel_, shown);
    SetShown(servoMeasuredLabel_, shown);
}

void MonitorColumn::ShowN2oReadout(bool shown) {
    n2oShown_ = shown;
    SetShown(n2oLabel_, shown);
}

bool MonitorColumn::Extended() const {
    return extendedBox_->isChecked();
}

void MonitorColumn::SetExtended(bool extended) {
    extendedBox_->setChecked(extended);
}

void MonitorColumn::ExtendedToggled() {
    SetShown(programCountLabel_, extendedBox_->isChecked());
    model_.SetExtendedMonitor(extendedBox_->isChecked());
}

void MonitorColumn::ShowFrame(const std::uint8_t* frame) {
    MonitorInputs inputs;
    inputs.limiter2 = model_.Image()[field::Limiter2];
    inputs.extendedMonitor = Extended();
    inputs.gasChecked = n2oShown_;
    inputs.servoGroupVisible = servoShown_;
    Show(BuildMonitorReadout(frame, inputs));
}

void MonitorColumn::ConnectionShown(bool noConnection) {
    // A replay shows logged values while the unit is deliberately not asked.
    if (noConnection && !link_.MonitorPaused()) ShowNoData();
}

void MonitorColumn::Load(const IniStore& store) {
    const Settings s = ReadSettings(store, Settings{});
    if (s.extendedMonitor) SetExtended(*s.extendedMonitor);
}

void MonitorColumn::Save(IniStore& store) const {
    Settings s;
    s.extendedMonitor = Extended();
    SetSettings(store, s, kExtendedMonitorKey);
}

}  // namespace korvan
