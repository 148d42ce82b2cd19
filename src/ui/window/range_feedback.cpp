#include "ui/window/range_feedback.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStatusBar>

#include "params/binding.h"
#include "params/localized_text.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/parameter_model.h"

namespace korvan {

namespace {

const LocalizedText kRange{"Rozsah %1..%2", "Range %1..%2", "Bereich %1..%2"};
const LocalizedText kRangeStep{"Rozsah %1..%2, krok %3", "Range %1..%2, in steps of %3",
                               "Bereich %1..%2, Schrittweite %3"};
const LocalizedText kRefused{"„%1“ není celé číslo v rozsahu %2..%3: zůstává %4",
                             "\"%1\" is not a whole number within %2..%3: %4 stays",
                             "„%1“ ist keine ganze Zahl in %2..%3: %4 bleibt"};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

RangeFeedback::RangeFeedback(const std::vector<NumericEdit*>& edits, QStatusBar& statusBar,
                             const ParameterModel& model, QObject* parent)
    : QObject(parent), edits_(edits), statusBar_(statusBar), model_(model) {
    for (NumericEdit* edit : edits_) edit->installEventFilter(this);
    connect(&model, &ParameterModel::LanguageChanged, this, &RangeFeedback::ApplyLanguage);
    ApplyLanguage();
}

void RangeFeedback::ApplyLanguage() {
    for (NumericEdit* edit : edits_) edit->SetRangeTip(RangeText(*edit));
}

QString RangeFeedback::RangeText(const NumericEdit& edit) const {
    // The limits as the field shows its values (with the digit groups where it has them).
    const std::string low = edit.textFromValue(edit.minimum()).toStdString();
    const std::string high = edit.textFromValue(edit.maximum()).toStdString();
    const std::uint8_t language = model_.Language();
    if (edit.singleStep() == 1) return Q(Fill(kRange, language, low, high));
    return Q(Fill(kRangeStep, language, low, high, edit.singleStep()));
}

QString RangeFeedback::RefusalText(const NumericEdit& edit, const QString& typed) const {
    int value = edit.value();
    if (ParseFieldText(typed.toStdString(), edit.locale().groupSeparator().toStdString(),
                       edit.minimum(), edit.maximum(), value)) {
        return {};
    }
    return Q(Fill(kRefused, model_.Language(), typed.trimmed().toStdString(),
                  edit.textFromValue(edit.minimum()).toStdString(),
                  edit.textFromValue(edit.maximum()).toStdString(),
                  edit.textFromValue(edit.value()).toStdString()));
}

bool RangeFeedback::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        auto* edit = static_cast<NumericEdit*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another program or a popup taking the focus leaves the typed text where it is.
        const bool leaving =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (leaving && edit->HasTypedText()) {
            const QString refusal = RefusalText(*edit, edit->text());
            if (!refusal.isEmpty()) statusBar_.showMessage(refusal, kMessageMs);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvan
