// Why a typed value did not stay: every numeric field's tooltip gives its range, and text the
// field cannot take (a number outside the range, or no whole number at all) is answered in the
// status bar for a few seconds ("99 is not a whole number within 0..60 ...") while the old
// value comes back as it always has.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QStatusBar;

namespace korvan {

class NumericEdit;
class ParameterModel;

class RangeFeedback : public QObject {
    Q_OBJECT

  public:
    static constexpr int kMessageMs = 5000;

    RangeFeedback(const std::vector<NumericEdit*>& edits, QStatusBar& statusBar,
                  const ParameterModel& model, QObject* parent = nullptr);

    // "Range 0..60" (with the step where it is not 1) in the current language.
    QString RangeText(const NumericEdit& edit) const;
    // What the status bar says when `typed` was given back in `edit`; empty when the text is
    // one the field takes.
    QString RefusalText(const NumericEdit& edit, const QString& typed) const;

  protected:
    // Sees the field being left before the field itself gives the old value back.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ApplyLanguage();

    std::vector<NumericEdit*> edits_;
    QStatusBar& statusBar_;
    const ParameterModel& model_;
};

}  // namespace korvan
