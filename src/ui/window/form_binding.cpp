// The binding between the parameter controls and the image, and the commit handlers. The
// rules (limits, scales, orderings) are in params/binding.h; this file only moves values
// between the controls and the image in both directions.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/widgets/cgauge.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/form_hlav.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/numeric_edit.h"

namespace korvan {

namespace {

constexpr int kTpsLabelOffset = 4;  // a map row's top lies 4 pixels above its row label's top

template <class T>
T* Named(const QObject* root, const std::string& name) {
    T* found = root->findChild<T*>(QString::fromStdString(name));
    Q_ASSERT(found != nullptr);
    return found;
}

}  // namespace

void TFormHlav::BuildControlTables() {
    numericEdits_.clear();
    for (const NumericField& f : NumericFields()) numericEdits_.push_back(Named<NumericEdit>(this, f.edit));
    flagBoxes_.clear();
    for (const FlagField& f : FlagFields()) flagBoxes_.push_back(Named<CommitCheckBox>(this, f.checkBox));

    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        labelTpsTable_[i] = Named<QLabel>(this, "LabelTps" + n);
        editRpmAdvTable_[i] = Named<NumericEdit>(this, "EditRpmAdv" + n);
        editRpmPrivTable_[i] = Named<NumericEdit>(this, "EditRpmPriv" + n);
        editNapPrivTable_[i] = Named<NumericEdit>(this, "EditNapPriv" + n);
        spinButtons_[i] = Named<TCSpinButton>(this, "CSpinButton" + n);
    }
    for (int i = 0; i < 100; ++i) editMapTable_[i] = Named<NumericEdit>(this, "Edit" + std::to_string(50 + i));
    checkBoxTpsMapa_ = Named<CommitCheckBox>(this, "CheckBoxTpsMapa");
}

void TFormHlav::ControlsToImage() {
    const std::vector<NumericField>& fields = NumericFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const NumericField& f = fields[i];
        NumericEdit* edit = numericEdits_[i];
        // The text, not only the value: a shortcut or closing the window while a value is
        // still being typed must take what the field shows.
        int shown = edit->value();
        ParseFieldText(edit->text().toStdString(), edit->locale().groupSeparator().toStdString(), f.min,
                       f.max, shown);
        image_[f.imageIndex] = f.ToRaw(shown);
    }
    // A bike type the list does not know (from a file or the unit) selects no item; it stays
    // as it is instead of turning into "no selection".
    const int bike = comboBox1_->currentIndex();
    if (bike >= 0) image_[field::BikeType] = static_cast<std::uint8_t>(bike);

    const std::vector<FlagField>& flags = FlagFields();
    for (std::size_t i = 0; i < flags.size(); ++i) image_[flags[i].imageIndex] = flagBoxes_[i]->isChecked() ? 1 : 0;

    ShowTpsMapLayout();
    ApplyColourRules();
}

void TFormHlav::ImageToControls() {
    ++fillingControls_;
    const std::vector<NumericField>& fields = NumericFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        numericEdits_[i]->ShowValue(fields[i].ToShown(image_[fields[i].imageIndex]));
    }
    {
        // Showing the bike type is not a user's choice: it must not load the defaults.
        const QSignalBlocker block(comboBox1_);
        const int bike = image_[field::BikeType];
        const int item = bike < kBikeTypeCount ? bike : -1;
        if (comboBox1_->currentIndex() != item) comboBox1_->setCurrentIndex(item);
    }
    const std::vector<FlagField>& flags = FlagFields();
    for (std::size_t i = 0; i < flags.size(); ++i) {
        const bool checked = image_[flags[i].imageIndex] != 0;
        if (flagBoxes_[i]->isChecked() != checked) flagBoxes_[i]->setChecked(checked);
    }
    ShowTpsMapLayout();
    ApplyColourRules();
    ShowIdentityTexts();
    --fillingControls_;
}

void TFormHlav::ShowTpsMapLayout() {
    const bool tpsAxis = checkBoxTpsMapa_->isChecked();
    for (QLabel* label : labelTpsTable_) SetShown(label, tpsAxis);
    for (int i = 0; i < 90; ++i) SetShown(editMapTable_[i], tpsAxis);
    for (TCSpinButton* spin : spinButtons_) SetShown(spin, tpsAxis);
    SetShown(labelTpsMon_, tpsAxis);
    SetShown(cGaugeTps_, tpsAxis);
    // Without the throttle axis the single curve takes the first row's place.
    const int top = (tpsAxis ? labelTpsTable_[9] : labelTpsTable_[0])->y() - kTpsLabelOffset;
    for (int c = 0; c < 10; ++c) MoveTo(editMapTable_[90 + c], editMapTable_[90 + c]->x(), top);
}

void TFormHlav::ApplyColourRules() {
    for (CommitCheckBox* box : {checkBoxZakazCteni_, checkBoxProgHned_, checkBoxBuzDlouhe_}) {
        SetBackground(box, box->isChecked() ? Colour::Red : Colour::ButtonFace);
    }
    const bool servo = image_[field::PrivEnable] != 0;
    SetShown(groupBoxPrivera_, servo);
    SetShown(labelPriveraPoz_, servo);
    SetShown(labelPriveraMer_, servo);
    const bool n2o = image_[field::N2oEnable] != 0;
    SetShown(checkBoxAktN2o_, n2o);
    SetShown(groupBoxGas_, n2o);
    SetShown(groupBoxRetard_, n2o);
    SetShown(labelN2oEnable_, n2o);
}

void TFormHlav::ApplyChange() {
    NormalizeImage(image_, languageIndex_, comPortNumber_);
    ImageToControls();
    link_->CheckProgramOnChange(checkBoxProgHned_->isChecked());
}

bool TFormHlav::CommitsBlocked() const { return !created_ || closed_ || destroying_ || fillingControls_ > 0; }

void TFormHlav::EditExit() {
    if (CommitsBlocked()) return;
    ControlsToImage();
    ApplyChange();
}

void TFormHlav::UpDownClick() {
    if (CommitsBlocked()) return;
    ControlsToImage();
    ApplyChange();
}

void TFormHlav::CheckBoxAktBlok1MouseUp() {
    if (CommitsBlocked()) return;
    ControlsToImage();
    ApplyChange();
}

void TFormHlav::FormKeyPress() {
    if (CommitsBlocked()) return;
    // Enter moves on exactly as Tab does (the field left commits on its own), then commits.
    focusNextChild();
    ControlsToImage();
    ApplyChange();
}

void TFormHlav::ComboBox1Change(int index) {
    if (CommitsBlocked() || index < 0) return;
    image_[field::BikeType] = static_cast<std::uint8_t>(index);
    SetDefaults(image_);
    ImageToControls();
}

void TFormHlav::MenuNewClick() {
    SetDefaults(image_);
    ApplyChange();
    labelFile2_->clear();
}

}  // namespace korvan
