#include "ui/window/page_tools.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <algorithm>

#include "device/device_link.h"
#include "device/map_cursor.h"
#include "params/editing_tools.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/parameter_pages.h"

namespace korvan {

PageTools::PageTools(ParameterPages& pages, ParameterModel& model, const DeviceLink& link,
                     const MapCursor& cursor, const MainMenu& menu)
    : QObject(&pages), pages_(pages), model_(model), link_(link), cursor_(cursor) {
    const ParameterPages::ToolControls& c = pages.Tools();
    connect(menu.advanceMinusItem, &QAction::triggered, this, [this] { StepAdvanceAtCursor(-1); });
    connect(menu.advancePlusItem, &QAction::triggered, this, [this] { StepAdvanceAtCursor(+1); });
    connect(c.advance[0], &QPushButton::clicked, this, [this] { StepAdvanceAtCursor(-1); });
    connect(c.advance[1], &QPushButton::clicked, this, [this] { StepAdvanceAtCursor(+1); });
    connect(c.servo[0], &QPushButton::clicked, this, [this] { StepServoAtCursor(-1); });
    connect(c.servo[1], &QPushButton::clicked, this, [this] { StepServoAtCursor(+1); });
    connect(c.tps[0], &QPushButton::clicked, this, &PageTools::SetTps0);
    connect(c.tps[1], &QPushButton::clicked, this, &PageTools::SetTps100);
    for (TCSpinButton* spin : c.columns) {
        connect(spin, &TCSpinButton::OnUpClick, this,
                [this](TCSpinButton* s) { StepColumn(s, +1); });
        connect(spin, &TCSpinButton::OnDownClick, this,
                [this](TCSpinButton* s) { StepColumn(s, -1); });
    }
}

void PageTools::StepAdvanceAtCursor(int delta) {
    pages_.ControlsToImage();
    model_.Normalize();
    StepAdvance(model_.MutableImage(), delta, pages_.Tools().wholeMap->isChecked(),
                cursor_.TpsIndex, cursor_.RpmIndex, cursor_.BelowRpmAxis);
    model_.Commit(ModelChange::ByTool(delta < 0 ? EditTool::AdvanceMinus : EditTool::AdvancePlus));
}

void PageTools::StepColumn(TCSpinButton* spin, int delta) {
    const auto& columns = pages_.Tools().columns;
    const auto it = std::find(columns.begin(), columns.end(), spin);
    if (it == columns.end()) return;
    pages_.ControlsToImage();
    StepAdvanceColumn(model_.MutableImage(), delta, static_cast<int>(it - columns.begin()));
    model_.Commit(ModelChange::ByTool(delta < 0 ? EditTool::ColumnMinus : EditTool::ColumnPlus));
}

void PageTools::StepServoAtCursor(int delta) {
    const bool whole = pages_.Tools().wholeServo->isChecked();
    // Without live values there is no servo point in use.
    if (cursor_.Cleared && !whole) return;
    pages_.ControlsToImage();
    StepServo(model_.MutableImage(), delta, whole, cursor_.ServoIndex);
    model_.Commit(ModelChange::ByTool(delta < 0 ? EditTool::ServoMinus : EditTool::ServoPlus));
}

// The calibration buttons take the voltage of the last monitor frame. A value still being
// typed into another field is taken into the image first, so the button does not throw it
// away when it shows the image again.
void PageTools::SetTps0() {
    // A silent line has no voltage to take.
    if (!link_.LiveValid()) return;
    pages_.ControlsToImage();
    if (!SetTps0FromLive(model_.MutableImage(), link_.Live().TpsMv)) return;
    model_.Commit(ModelChange::ByTool(EditTool::Tps0));
}

void PageTools::SetTps100() {
    if (!link_.LiveValid()) return;
    pages_.ControlsToImage();
    if (!SetTps100FromLive(model_.MutableImage(), link_.Live().TpsMv)) return;
    model_.Commit(ModelChange::ByTool(EditTool::Tps100));
}

}  // namespace korvan
