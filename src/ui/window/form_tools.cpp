// The editing tools: advance minus/plus on the cell in use or the whole map, the column spin
// buttons, servo minus/plus and the throttle calibration from the live voltage. The rules are
// in params/editing_tools; the handlers only bring the controls into the image first and show
// the result (normalised, and programmed when the option is on) after.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>

#include "params/binding.h"
#include "params/editing_tools.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/form_hlav.h"

namespace korvan {

void TFormHlav::ConnectEditingTools() {
    checkBoxIgnAll_ = findChild<QCheckBox*>("CheckBoxIgnAll");
    checkBoxPrivAll_ = findChild<QCheckBox*>("CheckBoxPrivAll");
    auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
    connect(button("BitBtnAdvMinus"), &QPushButton::clicked, this, &TFormHlav::BitBtnAdvMinusClick);
    connect(button("BitBtnAdvPlus"), &QPushButton::clicked, this, &TFormHlav::BitBtnAdvPlusClick);
    connect(findChild<QAction*>("AdvanceMinus"), &QAction::triggered, this, &TFormHlav::BitBtnAdvMinusClick);
    connect(findChild<QAction*>("AdvancePlus"), &QAction::triggered, this, &TFormHlav::BitBtnAdvPlusClick);
    connect(button("BitBtnServoMinus"), &QPushButton::clicked, this, &TFormHlav::BitBtnServoMinusClick);
    connect(button("BitBtnServoPlus"), &QPushButton::clicked, this, &TFormHlav::BitBtnServoPlusClick);
    connect(button("BitBtnTps0"), &QPushButton::clicked, this, &TFormHlav::BitBtnTps0Click);
    connect(button("BitBtnTps100"), &QPushButton::clicked, this, &TFormHlav::BitBtnTps100Click);
    for (TCSpinButton* spin : spinButtons_) {
        connect(spin, &TCSpinButton::OnUpClick, this, &TFormHlav::CSpinButtonUpClick);
        connect(spin, &TCSpinButton::OnDownClick, this, &TFormHlav::CSpinButtonDownClick);
    }
}

void TFormHlav::StepAdvanceAtCursor(int delta) {
    ControlsToImage();
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    StepAdvance(image_, delta, checkBoxIgnAll_->isChecked(), cursor_.TpsIndex, cursor_.RpmIndex,
                cursor_.BelowRpmAxis);
    ApplyChange();
}

void TFormHlav::BitBtnAdvMinusClick() { StepAdvanceAtCursor(-1); }
void TFormHlav::BitBtnAdvPlusClick() { StepAdvanceAtCursor(+1); }

void TFormHlav::StepColumn(TCSpinButton* sender, int delta) {
    const auto it = std::find(spinButtons_.begin(), spinButtons_.end(), sender);
    if (it == spinButtons_.end()) return;
    ControlsToImage();
    StepAdvanceColumn(image_, delta, static_cast<int>(it - spinButtons_.begin()));
    ApplyChange();
}

void TFormHlav::CSpinButtonUpClick(TCSpinButton* sender) { StepColumn(sender, +1); }
void TFormHlav::CSpinButtonDownClick(TCSpinButton* sender) { StepColumn(sender, -1); }

void TFormHlav::StepServoAtCursor(int delta) {
    ControlsToImage();
    StepServo(image_, delta, checkBoxPrivAll_->isChecked(), cursor_.ServoIndex);
    ApplyChange();
}

void TFormHlav::BitBtnServoMinusClick() { StepServoAtCursor(-1); }
void TFormHlav::BitBtnServoPlusClick() { StepServoAtCursor(+1); }

// The calibration buttons take the voltage of the last monitor frame. A value still being
// typed into another field is taken into the image first, so the button does not throw it
// away when it shows the image again.
void TFormHlav::BitBtnTps0Click() {
    ControlsToImage();
    if (SetTps0FromLive(image_, link_->Live().TpsMv)) ApplyChange();
}

void TFormHlav::BitBtnTps100Click() {
    ControlsToImage();
    if (SetTps100FromLive(image_, link_->Live().TpsMv)) ApplyChange();
}

}  // namespace korvan
