// "Keep the advance when moving RPM points": a check box beside the map's RPM row, kept in the
// settings. While it is on, every edit that moves an RPM point of the map (typed, stepped or
// interpolated) resamples every row of the map within the same commit, so that the advance at
// each engine speed stays what it was; the axis change and the resample are one undo step and
// one programming of the unit. A whole set coming in (a file, a read, undo) is taken as it is.
#pragma once

#include <QObject>

class QCheckBox;
class QWidget;

namespace korvan {

class HintStatus;
class IniStore;
class ParameterModel;
struct ModelChange;

class KeepAdvanceOption : public QObject {
    Q_OBJECT

  public:
    // The setting "KeepAdvanceOnRpmMove" of section FORM_HLAV.
    static constexpr const char* kKey = "KeepAdvanceOnRpmMove";

    // The box goes at the top of `mapGroup`, above the RPM row.
    KeepAdvanceOption(QWidget* mapGroup, ParameterModel& model, HintStatus& hints);

    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    bool IsOn() const;
    QCheckBox* Box() const { return box_; }

  private:
    void OnCommitting(ModelChange& change);
    void ApplyLanguage();

    ParameterModel& model_;
    HintStatus& hints_;
    QCheckBox* box_ = nullptr;  // "CheckBoxKeepAdvance"
};

}  // namespace korvan
