// What the device link shows: the message label, the progress gauge, "No Connection", modal
// messages, the unit's identity, the monitor column and the live map cursor. Every setter is
// guarded, so a tick whose reading did not change repaints nothing.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include "device/map_cursor.h"
#include "device/monitor.h"
#include "params/binding.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/form_hlav.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/numeric_edit.h"

namespace korvan {

namespace {

void ShowReadout(QLabel* label, const ReadoutLabel& readout) {
    if (readout.visible) SetShown(label, *readout.visible);
    SetLabelText(label, QString::fromUtf8(readout.text.c_str()));
    SetBackground(label, readout.colour);
}

void SetGauge(TCGauge* gauge, int progress) {
    if (gauge->Progress() != progress) gauge->SetProgress(progress);
}

// The identity texts come decoded to UTF-8; a page of zeros before the first read holds NULs,
// which have no place in a label.
QString IdentityText(const std::string& text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.remove(QChar(u'\0'));
    return shown;
}

}  // namespace

void TFormHlav::SetMessage(const LocalizedText& text, Colour colour) {
    SetLabelText(labelHlaseni_, QString::fromUtf8(text.In(languageIndex_)));
    SetBackground(labelHlaseni_, colour);
}

void TFormHlav::SetMessageVisible(bool visible) { SetShown(labelHlaseni_, visible); }

void TFormHlav::SetGaugeProgress(int progress) { SetGauge(cGauge_, progress); }

void TFormHlav::SetGaugeVisible(bool visible) { SetShown(cGauge_, visible); }

void TFormHlav::SetNoConnectionVisible(bool visible) { SetShown(labelSpojeni_, visible); }

void TFormHlav::ShowModalMessage(const LocalizedText& text) {
    ShowMessageBox(QString::fromUtf8(text.In(languageIndex_)));
}

void TFormHlav::ShowReceivedImage() {
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
}

void TFormHlav::ShowIdentity(const IdentityTexts& texts) {
    identity_ = texts;
    ShowIdentityTexts();
}

void TFormHlav::ShowIdentityTexts() {
    SetLabelText(labelVerze_[0], IdentityText(identity_.VersionString));
    SetLabelText(labelVerze_[1], IdentityText(identity_.DateString));
    SetLabelText(labelVerze_[2], IdentityText(identity_.TimeString));
}

void TFormHlav::ShowMonitorFrame(const std::uint8_t* frame) {
    MonitorInputs inputs;
    inputs.limiter2 = image_[field::Limiter2];
    inputs.extendedMonitor = checkBoxExtMonitor_->isChecked();
    inputs.gasChecked = checkBoxGas_->isChecked();
    // The group's own flag: it counts as shown while another page is open.
    inputs.servoGroupVisible = !groupBoxPrivera_->isHidden();
    const MonitorReadout r = BuildMonitorReadout(frame, inputs);

    ShowReadout(labelRpm_, r.rpm);
    SetGauge(cGaugeRpm_, r.gaugeRpm);
    ShowReadout(labelLambda_, r.lambda);
    SetGauge(cGaugeLambda_, r.gaugeLambda);
    ShowReadout(labelTpsMon_, r.tps);
    SetGauge(cGaugeTps_, r.gaugeTps);
    ShowReadout(labelPriveraPoz_, r.servoDesired);
    ShowReadout(labelPriveraMer_, r.servoMeasured);
    ShowReadout(labelBlok1_, r.blok1);
    ShowReadout(labelBlok2_, r.blok2);
    ShowReadout(labelClutchMon_, r.clutch);
    ShowReadout(labelLimiter1_, r.limiter1);
    ShowReadout(labelTachoLambda_, r.tachoLambda);
    ShowReadout(labelN2oEnable_, r.n2oEnable);
    ShowReadout(labelAdvance_, r.advance);
    ShowReadout(labelPocetProgramovani_, r.programCount);
    for (std::size_t i = 0; i < labelTest_.size(); ++i) {
        SetLabelText(labelTest_[i], QString::fromUtf8(r.test[i].c_str()));
    }
}

void TFormHlav::CheckBoxExtMonitorClick() { SetShown(labelPocetProgramovani_, checkBoxExtMonitor_->isChecked()); }

void TFormHlav::UpdateMapCursor() {
    cursor_ = ComputeMapCursor(image_, link_->Live(), checkBoxTpsMapa_->isChecked());
    const CursorColours colours = CursorColoursFor(cursor_);
    for (int i = 0; i < 10; ++i) {
        SetFieldBackground(editRpmAdvTable_[i], ToQColor(colours.rpmAdv[i]));
        SetBackground(labelTpsTable_[i], colours.tpsLabel[i]);
        SetFieldBackground(editRpmPrivTable_[i], ToQColor(colours.rpmPriv[i]));
        SetFieldBackground(editNapPrivTable_[i], ToQColor(colours.napPriv[i]));
    }
    for (int i = 0; i < 100; ++i) SetFieldBackground(editMapTable_[i], ToQColor(colours.map[i]));
}

}  // namespace korvan
