#include "ui/history/compare_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "history/compare_text.h"
#include "params/binding.h"
#include "ui/widgets/readable_text.h"

namespace korvan {

namespace {

constexpr int kAxisRows = 3;  // advance RPM, servo voltage, servo RPM
const QColor kChangedCell(255, 220, 120);

QString Utf8(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

QString Signed(int v) {
    return (v > 0 ? QStringLiteral("+") : QString()) + QString::number(v);
}

// A cell that differs shows the value of `other` and the difference beneath it.
void SetCell(QTableWidget* table, int row, int column, int other, std::optional<int> delta) {
    auto* item = new QTableWidgetItem(delta ? QString::number(other) + "\n" + Signed(*delta)
                                            : QString::number(other));
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);
    if (delta) {
        item->setBackground(kChangedCell);
        // The pale cell keeps dark text under a dark palette too.
        item->setForeground(ReadableTextOn(kChangedCell, table->palette().color(QPalette::Text)));
    }
    table->setItem(row, column, item);
}

QTableWidget* MakeTable(int rows, int columns, QWidget* parent) {
    auto* table = new QTableWidget(rows, columns, parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

}  // namespace

CompareView::CompareView(QWidget* parent) : QWidget(parent) {
    setObjectName("CompareView");
    auto* layout = new QVBoxLayout(this);
    titleLabel_ = new QLabel(this);
    titleLabel_->setObjectName("LabelCompareTitle");
    QFont bold = titleLabel_->font();
    bold.setBold(true);
    titleLabel_->setFont(bold);
    summary_ = new QLabel(this);
    summary_->setObjectName("LabelCompareSummary");
    map_ = MakeTable(kMapRows, kMapColumns, this);
    map_->setObjectName("TableCompareMap");
    axes_ = MakeTable(kAxisRows, kAxisPoints, this);
    axes_->setObjectName("TableCompareAxes");
    fields_ = new QLabel(this);
    fields_->setObjectName("LabelCompareFields");
    fields_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(titleLabel_);
    layout->addWidget(summary_);
    layout->addWidget(map_);
    layout->addWidget(axes_);
    layout->addWidget(fields_);
    layout->addStretch();
}

void CompareView::ShowComparison(const DeviceImage& base, const DeviceImage& other,
                                 const QString& title) {
    base_ = base;
    other_ = other;
    title_ = title;
    comparison_ = CompareParameters(base, other);
    Render();
}

void CompareView::SetLanguage(std::uint8_t language) {
    language_ = language;
    Render();
}

void CompareView::Render() {
    titleLabel_->setText(title_);
    const ParameterComparison& c = comparison_;
    const bool identical = c.Identical();
    map_->setVisible(!identical);
    axes_->setVisible(!identical);
    fields_->setVisible(!identical && !c.fields.empty());
    if (identical) {
        summary_->setText(Utf8(IdenticalText(language_)));
        return;
    }
    summary_->setText(Utf8(MapHeading(language_)));

    QStringList columns;
    for (int column = 0; column < kMapColumns; ++column)
        columns << QString::number(c.columnRpm[column]);
    map_->setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (int row = 0; row < kMapRows; ++row) rows << QString::number(kTpsAxisPercent[row]) + " %";
    map_->setVerticalHeaderLabels(rows);
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column)
            SetCell(map_, row, column, other_[AdvanceIndex(row, column)], {});
    }
    for (const CellDifference& d : c.cells) SetCell(map_, d.row, d.column, d.other, d.Delta());

    const AxisKind kinds[kAxisRows] = {AxisKind::AdvanceRpm, AxisKind::ServoVoltage,
                                       AxisKind::ServoRpm};
    const std::size_t firsts[kAxisRows] = {field::RpmAdv, field::NapPriv, field::RpmPriv};
    QStringList axisRows;
    for (int r = 0; r < kAxisRows; ++r) {
        axisRows << Utf8(AxisHeading(kinds[r], language_));
        for (int k = 0; k < kAxisPoints; ++k) {
            const std::size_t index = firsts[r] + static_cast<std::size_t>(k);
            const NumericField* f = nullptr;
            for (const NumericField& n : NumericFields()) {
                if (n.imageIndex == index) f = &n;
            }
            SetCell(axes_, r, k, f ? f->ToShown(other_[index]) : other_[index], {});
        }
    }
    for (const AxisDifference& d : c.axes) {
        SetCell(axes_, static_cast<int>(d.axis), d.point, d.other, d.Delta());
    }
    axes_->setVerticalHeaderLabels(axisRows);
    QStringList points;
    for (int k = 0; k < kAxisPoints; ++k) points << QString::number(k + 1);
    axes_->setHorizontalHeaderLabels(points);

    QStringList lines;
    lines << Utf8(FieldsHeading(language_)) + ":";
    for (const FieldDifference& d : c.fields)
        lines << "  " + Utf8(FieldDifferenceText(d, language_));
    fields_->setText(lines.join('\n'));
}

}  // namespace korvan
