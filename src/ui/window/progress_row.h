// The progress row and the connection state: owns the message label "LabelHlaseni", the
// operation gauge "CGauge", the red "No Connection" label at the top (and the "REPLAY" label
// that takes its place while a ride log replays) and the file name on
// the first page ("LabelFile1" and "LabelFile2"). It is the message side of what the device
// link shows (it connects itself to the LinkView); the texts come in the three languages and
// are shown in the current one. It keeps the file name in the settings.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <cstdint>

#include "device/colour.h"

class QFont;
class QLabel;
class QWidget;

namespace korvan {

struct LocalizedText;
class IniStore;
class LinkView;
class ParameterModel;
class TCGauge;

class ProgressRow : public QObject {
    Q_OBJECT

  public:
    // The model gives the language a message is shown in; the messages come from `view`.
    ProgressRow(QWidget* client, const QFont& windowFont, const ParameterModel& model,
                LinkView& view);
    // The file name sits on the first page, which is built after the row.
    void AddFileLabel(QWidget* page);

    void SetMessage(const LocalizedText& text, Colour colour);
    void SetMessageVisible(bool visible);
    void SetGaugeProgress(int progress);
    void SetGaugeVisible(bool visible);
    void SetNoConnectionVisible(bool visible);
    // While a ride log replays the unit is silent on purpose: "REPLAY" shows where "No
    // Connection" would, and the link's state comes back when the replay ends.
    void SetReplaying(bool replaying);
    bool Replaying() const { return replaying_; }

    // The print date line in the message label, on the normal background. The line is longer
    // than any progress message: the label widens over the (hidden) gauge until
    // EndPrintLine gives it its size back. No line leaves the label's text as it is.
    void BeginPrintLine(const QString* line);
    void EndPrintLine();

    // The file the parameters came from or went to; empty after a read or New.
    QString FileName() const;
    void SetFileName(const QString& path);

    // The file name ("File").
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

  signals:
    // The file the parameters belong to changed (empty after a read or New).
    void FileNameChanged(const QString& path);

  private:
    void ShowReplayText();

    const ParameterModel& model_;
    QLabel* noConnectionLabel_ = nullptr;  // "LabelSpojeni"
    QLabel* replayLabel_ = nullptr;        // "LabelReplay"
    bool noConnection_ = false;            // what the link said last
    bool replaying_ = false;
    QLabel* messageLabel_ = nullptr;    // "LabelHlaseni"
    TCGauge* progressGauge_ = nullptr;  // "CGauge"
    QLabel* fileLabel_ = nullptr;       // "LabelFile2"
    QRect messageGeometry_;
};

}  // namespace korvan
