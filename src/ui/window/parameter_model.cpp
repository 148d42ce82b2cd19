#include "ui/window/parameter_model.h"

#include <algorithm>

#include "params/binding.h"

namespace korvan {

QString StepName::In(std::uint8_t language) const {
    if (!finished.Empty()) return QString::fromStdString(finished.In(language));
    if (!Given()) return QString();
    return QString::fromStdString(FillPattern(text.In(language), args));
}

ParameterModel::ParameterModel(QObject* parent) : QObject(parent) {}

void ParameterModel::SetExtendedMonitor(bool extended) {
    if (extendedMonitor_ == extended) return;
    extendedMonitor_ = extended;
    emit ExtendedMonitorChanged(extended);
}

void ParameterModel::Normalize() {
    NormalizeImage(image_);
}

unsigned ParameterModel::PartsSinceLastCommit() const {
    unsigned parts = kNothingChanged;
    const auto begin = image_.bytes.begin();
    const auto committed = committedImage_.bytes.begin();
    if (!std::equal(begin + kParamImageBegin, begin + kParamImageBegin + kParamImageSize,
                    committed + kParamImageBegin))
        parts |= kParametersChanged;
    if (!std::equal(begin, begin + kParamImageBegin, committed) ||
        !std::equal(begin + kParamImageBegin + kParamImageSize, image_.bytes.end(),
                    committed + kParamImageBegin + kParamImageSize))
        parts |= kOtherBytesChanged;
    if (extendedMonitor_ != committedExtended_) parts |= kExtendedMonitorChanged;
    return parts;
}

void ParameterModel::TakeEdits() {
    emit EditsWanted();
    Normalize();
    emit EditsTaken();
}

void ParameterModel::MarkCommitted() {
    committedImage_ = image_;
    committedExtended_ = extendedMonitor_;
}

unsigned ParameterModel::Commit(ModelChange change) {
    Q_ASSERT(!emitting_);
    Normalize();
    emitting_ = true;
    emit Committing(change);
    emitting_ = false;
    // What a slot added keeps the limits too.
    Normalize();
    change.parts = PartsSinceLastCommit();
    committedImage_ = image_;
    committedExtended_ = extendedMonitor_;
    emitting_ = true;
    emit Changed(change);
    emitting_ = false;
    return change.parts;
}

unsigned ParameterModel::Replace(const DeviceImage& image, ModelChange change) {
    image_ = image;
    return Commit(std::move(change));
}

unsigned ParameterModel::Replace(const DeviceImage& image, bool extendedMonitor,
                                 ModelChange change) {
    image_ = image;
    SetExtendedMonitor(extendedMonitor);
    return Commit(std::move(change));
}

void ParameterModel::RecordUnitSuccess(const DeviceImage& held) {
    unit_.RecordSuccess(held);
    emit UnitChanged();
}

void ParameterModel::RecordUnitFailure() {
    unit_.RecordFailure();
    emit UnitChanged();
}

void ParameterModel::SetLanguage(std::uint8_t language) {
    if (language > kLanguageGerman) return;
    language_ = language;
    emit LanguageChanged(language);
}

}  // namespace korvan
