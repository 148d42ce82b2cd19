// The live monitor column at the right of the window: owns the read-out labels (speed,
// throttle, lambda, advance, servo, switches), their three gauges and the lambda bands, the
// unit's hidden diagnostic words, the programming count below the pages and the
// "Extended Monitor" check box that shows that count (the model's flag; kept in the
// settings). It shows each monitor frame the LinkView hands on, decoded by device/monitor.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QFont;
class QLabel;
class QWidget;

namespace korvan {

struct MonitorReadout;
class DeviceLink;
class IniStore;
class LinkView;
class ParameterModel;
class TCGauge;

class MonitorColumn : public QObject {
    Q_OBJECT

  public:
    static constexpr int kTestWords = 8;

    // Shows the frames of `view`; "No Connection" clears the read-outs unless `link` pauses
    // the monitor for a replay.
    MonitorColumn(QWidget* client, const QFont& windowFont, ParameterModel& model, LinkView& view,
                  const DeviceLink& link);

    // One decoded frame into the labels and gauges; only what changed is repainted.
    void Show(const MonitorReadout& readout);
    // No live values: every read-out back to its no-data text on the normal background, the
    // gauges empty; the next frame shows them again.
    void ShowNoData();

    // The throttle read-out belongs to the map's throttle axis, the servo read-outs to the
    // servo, the N2O read-out to the N2O controller: shown as the pages show those.
    void ShowTpsReadout(bool shown);
    void ShowServoReadouts(bool shown);
    void ShowN2oReadout(bool shown);

    // "Extended Monitor": also the parameter file's and the settings' flag.
    bool Extended() const;
    // A change of state runs the box's click action, as a click would.
    void SetExtended(bool extended);

    // "Extended Monitor" ("CheckBoxExtMonitor->Checked"); a missing key keeps the box.
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

  private:
    void ExtendedToggled();
    void ShowFrame(const std::uint8_t* frame);
    void ConnectionShown(bool noConnection);

    ParameterModel& model_;
    const DeviceLink& link_;
    // What the pages last said is in use: the read-outs of a part not in use stay empty.
    bool servoShown_ = false;
    bool n2oShown_ = false;

    struct NoDataText {
        QLabel* label;
        QString text;
    };
    std::vector<NoDataText> noDataTexts_;

    QCheckBox* extendedBox_ = nullptr;              // "CheckBoxExtMonitor"
    QLabel* rpmLabel_ = nullptr;                    // "LabelRpm"
    TCGauge* rpmGauge_ = nullptr;                   // "CGaugeRpm"
    QLabel* tpsLabel_ = nullptr;                    // "LabelTpsMon"
    TCGauge* tpsGauge_ = nullptr;                   // "CGaugeTps"
    QLabel* lambdaLabel_ = nullptr;                 // "LabelLambda"
    TCGauge* lambdaGauge_ = nullptr;                // "CGaugeLambda"
    QLabel* advanceLabel_ = nullptr;                // "LabelAdvance"
    QLabel* servoDesiredLabel_ = nullptr;           // "LabelPriveraPoz"
    QLabel* servoMeasuredLabel_ = nullptr;          // "LabelPriveraMer"
    QLabel* blocking1Label_ = nullptr;              // "LabelBlok1"
    QLabel* blocking2Label_ = nullptr;              // "LabelBlok2"
    QLabel* tachoLambdaLabel_ = nullptr;            // "LabelTacho_Lambda"
    QLabel* clutchLabel_ = nullptr;                 // "LabelClutchMon"
    QLabel* limiter1Label_ = nullptr;               // "LabelLimiter1"
    QLabel* n2oLabel_ = nullptr;                    // "LabelN2oEnable"
    QLabel* programCountLabel_ = nullptr;           // "LabelPocetProgramovani"
    std::array<QLabel*, kTestWords> testLabels_{};  // "LabelTest1".."LabelTest8"
};

}  // namespace korvan
