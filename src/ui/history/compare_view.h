// The compare of two parameter sets on screen: the advance map with each differing cell
// marked and its signed difference, the RPM axis and the servo table likewise, and the other
// differing fields by their caption. Identical sets give one line.
#pragma once

#include <QWidget>

#include "history/compare.h"

class QLabel;
class QTableWidget;

namespace korvan {

class CompareView : public QWidget {
    Q_OBJECT

  public:
    explicit CompareView(QWidget* parent = nullptr);

    // `base` is the reference (a restore point, a file, the unit), `other` the set compared
    // with it; differences are other - base. `title` names the two ("Current / 20261208...").
    void ShowComparison(const DeviceImage& base, const DeviceImage& other, const QString& title);
    void SetLanguage(std::uint8_t language);

    const ParameterComparison& Comparison() const { return comparison_; }
    // The widget to grab for printing: the whole view, as the window prints itself.
    QWidget* PrintWidget() { return this; }

    // Parts, for tests.
    QTableWidget* MapTable() const { return map_; }
    QTableWidget* AxisTable() const { return axes_; }
    QLabel* FieldsLabel() const { return fields_; }
    QLabel* SummaryLabel() const { return summary_; }

  private:
    void Render();

    std::uint8_t language_ = 1;
    DeviceImage base_{};
    DeviceImage other_{};
    QString title_;
    ParameterComparison comparison_;
    QLabel* titleLabel_;
    QLabel* summary_;
    QTableWidget* map_;
    QTableWidget* axes_;
    QLabel* fields_;
};

}  // namespace korvan
