#include "ui/window/keep_advance_option.h"

#include <QCheckBox>
#include <algorithm>

#include "files/ini_store.h"
#include "files/settings.h"
#include "params/binding.h"
#include "params/map_operations.h"
#include "ui/window/caption_fit.h"
#include "ui/window/hint_status.h"
#include "ui/window/map_tools_texts.h"
#include "ui/window/parameter_model.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

// Above the RPM row (y 21), from the first column on.
constexpr int kBoxX = 51;
constexpr int kBoxY = 2;

// An axis that rises from point to point: the old axis of a resample must be one, or the map
// would be read on nonsense (an image never normalised, as before the first commit).
bool Rising(const RpmAxis& axis) {
    return std::adjacent_find(axis.begin(), axis.end(),
                              [](std::uint8_t a, std::uint8_t b) { return b <= a; }) == axis.end();
}

// The edits a tuner makes point by point; a whole set coming in brings its own map.
bool MovesPoints(CommitKind kind) {
    switch (kind) {
        case CommitKind::TypedField:
        case CommitKind::Tool:
        case CommitKind::MapOperation:
        case CommitKind::CurveDrag:
            return true;
        case CommitKind::Open:
        case CommitKind::Read:
        case CommitKind::New:
        case CommitKind::BikeType:
        case CommitKind::HistoryPoint:
        case CommitKind::Undo:
            break;
    }
    return false;
}

}  // namespace

KeepAdvanceOption::KeepAdvanceOption(QWidget* mapGroup, ParameterModel& model, HintStatus& hints)
    : model_(model), hints_(hints) {
    box_ = MakeCheckBox(mapGroup, "CheckBoxKeepAdvance", QString(), kBoxX, kBoxY, 0);
    // A choice of the program, not a parameter: it commits nothing.
    connect(&model, &ParameterModel::Committing, this, &KeepAdvanceOption::OnCommitting);
    connect(&model, &ParameterModel::LanguageChanged, this, &KeepAdvanceOption::ApplyLanguage);
    ApplyLanguage();
}

void KeepAdvanceOption::Load(const IniStore& store) {
    box_->setChecked(store.ReadInteger(kFormSection, kKey, 0) != 0);
}

void KeepAdvanceOption::Save(IniStore& store) const {
    store.SetString(kFormSection, kKey, IsOn() ? "1" : "0");
}

bool KeepAdvanceOption::IsOn() const {
    return box_->isChecked();
}

void KeepAdvanceOption::ApplyLanguage() {
    const std::uint8_t language = model_.Language();
    box_->setText(QString::fromUtf8(maptoolstext::kKeepAdvance.In(language)));
    // As wide as the longest of the three captions, so a switch never cuts it off.
    int width = 0;
    for (std::uint8_t l : {kLanguageCzech, kLanguageEnglish, kLanguageGerman})
        width = std::max(width,
                         CaptionWidth(box_, QString::fromUtf8(maptoolstext::kKeepAdvance.In(l))));
    box_->resize(width, box_->height());
    hints_.SetHint(box_->objectName(),
                   QString::fromUtf8(maptoolstext::kKeepAdvanceHint.In(language)));
}

void KeepAdvanceOption::OnCommitting(ModelChange& change) {
    if (!IsOn() || !MovesPoints(change.kind)) return;
    const RpmAxis before = MapRpmAxis(model_.CommittedImage());
    DeviceImage& image = model_.MutableImage();
    if (MapRpmAxis(image) == before || !Rising(before)) return;
    const EditOutcome resampled = ResampleMap(image, before);
    // A typed or stepped point is named by what it did to the map; an operation keeps its name.
    if (!change.name.Given()) change.name = StepName(resampled.step);
}

}  // namespace korvan
