#include "ui/analysis/cell_grid.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <algorithm>
#include <cmath>

#include "ui/analysis/analysis_texts.h"
#include "ui/analysis/cell_colours.h"
#include "ui/languages/qt_fill.h"

namespace korvan {

namespace {
constexpr int kDifferenceDecimals = 1;
constexpr double kCompactScale = 0.85;
constexpr int kCompactPadding = 8;

QLocale UserLocale() {
    // Numbers as the user writes them, but without digit groups: "12000", not "12 000".
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

char DecimalPoint() {
    const QString point = UserLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}
}  // namespace

CellGridModel::CellGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void CellGridModel::SetLanguage(std::uint8_t language) {
    language_ = language;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CellGridModel::ShowTable(const CellTable& table, CellQuantity quantity,
                              std::size_t minSamples) {
    beginResetModel();
    difference_ = false;
    table_ = table;
    comparison_ = {};
    quantity_ = quantity;
    minSamples_ = minSamples;
    FindScale();
    endResetModel();
}

void CellGridModel::ShowDifference(const CellComparison& comparison, const CellTable& axes) {
    beginResetModel();
    difference_ = true;
    table_ = axes;
    comparison_ = comparison;
    FindScale();
    endResetModel();
}

QString CellGridModel::Text(const QString& title) const {
    const std::string t = title.toStdString();
    return QString::fromStdString(
        difference_ ? CellComparisonText(comparison_, table_, t, DecimalPoint())
                    : CellTableText(table_, quantity_, minSamples_, t, DecimalPoint()));
}

int CellGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return table_.tpsAxisInUse ? kMapRows : 1;
}

int CellGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kMapColumns;
}

int CellGridModel::MapRow(int row) const {
    return table_.tpsAxisInUse ? row : kMapRows - 1;
}

std::size_t CellGridModel::CellIndex(const QModelIndex& index) const {
    return static_cast<std::size_t>(MapRow(index.row()) * kMapColumns + index.column());
}

bool CellGridModel::Shown(std::size_t cell) const {
    return difference_ ? comparison_.cells[cell].compared : table_.cells[cell].Visited();
}

bool CellGridModel::Greyed(std::size_t cell) const {
    return !difference_ && table_.cells[cell].Visited() && table_.cells[cell].Samples < minSamples_;
}

double CellGridModel::Value(std::size_t cell) const {
    return difference_ ? comparison_.cells[cell].Difference()
                       : CellValue(table_.cells[cell], quantity_);
}

void CellGridModel::FindScale() {
    low_ = high_ = 0;
    bool first = true;
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        if (!Shown(cell) || Greyed(cell)) continue;
        const double v = difference_ ? std::fabs(Value(cell)) : Value(cell);
        low_ = first ? v : std::min(low_, v);
        high_ = first ? v : std::max(high_, v);
        first = false;
    }
    // A difference scale is symmetric: as far below 0 as above.
    if (difference_) low_ = -high_;
}

QString CellGridModel::Number(double value, int decimals) const {
    // -0.0 would read like a difference that is not there.
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;
    return UserLocale().toString(value, 'f', decimals);
}

QString CellGridModel::Signed(double difference) const {
    QString text = Number(difference, kDifferenceDecimals);
    if (difference > 0 && text != Number(0, kDifferenceDecimals)) text.prepend('+');
    return text;
}

QString CellGridModel::Tooltip(std::size_t cell) const {
    if (difference_) {
        const CellMeanDifference& d = comparison_.cells[cell];
        return QFill(analysistext::kDifferenceTip, language_, Number(d.before, 1),
                     Number(d.after, 1), Signed(d.Difference()));
    }
    const CellStats& c = table_.cells[cell];
    const int extremes = CellQuantityDecimals(CellQuantity::Min, table_.channel);
    QString tip = QFill(analysistext::kCellTip, language_, Number(c.Seconds, 1), c.Samples,
                        QString::fromLatin1(kLogChannels[table_.channel].name), Number(c.Mean(), 1),
                        Number(c.Min, extremes), Number(c.Max, extremes));
    if (Greyed(cell))
        tip += '\n' + QFill(analysistext::kFewSamples, language_, c.Samples, minSamples_);
    return tip;
}

QVariant CellGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kMapColumns) return {};
    const std::size_t cell = CellIndex(index);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (!Shown(cell)) return {};
    const double value = Value(cell);
    switch (role) {
        case Qt::DisplayRole:
            return difference_ ? Signed(value)
                               : Number(value, CellQuantityDecimals(quantity_, table_.channel));
        case Qt::BackgroundRole:
        case Qt::ForegroundRole: {
            QColor background;
            if (Greyed(cell)) {
                if (role == Qt::ForegroundRole) return GreyedText();
                background = GreyedBackground();
            } else if (difference_) {
                background = DifferenceColour(value, high_);
            } else {
                background = ValueColour(high_ > low_ ? (value - low_) / (high_ - low_) : 0.5);
            }
            return role == Qt::BackgroundRole ? background : TextColourOn(background);
        }
        case Qt::ToolTipRole:
            return Tooltip(cell);
        case kGreyedRole:
            return Greyed(cell);
        case kValueRole:
            return value;
        default:
            return {};
    }
}

QVariant CellGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= kMapColumns) return {};
        return QString::number(table_.rpmAxis[static_cast<std::size_t>(section)]);
    }
    if (section < 0 || section >= rowCount()) return {};
    return QString::number(kTpsAxisPercent[static_cast<std::size_t>(MapRow(section))]) + " %";
}

CellGrid::CellGrid(QWidget* parent) : QTableView(parent), copy_(new QAction(this)) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Rows as high as the text needs: a map without the throttle axis is one row, not a wall.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 2);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    // The columns stretch to the width: no horizontal scroll bar, and no room kept for one.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    // Ctrl+C copies the whole grid, as Copy on the map does.
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy_, &QAction::triggered, this, &CellGrid::CopyToClipboard);
    addAction(copy_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CellGrid::SetCompact() {
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * kCompactScale);
    setFont(small);
    horizontalHeader()->setFont(small);
    verticalHeader()->setFont(small);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + kCompactPadding);
}

QSize CellGrid::minimumSizeHint() const {
    const QSize least = QTableView::minimumSizeHint();
    return {least.width(), std::min(least.height(), sizeHint().height())};
}

void CellGrid::SetCopyText(const QString& text) {
    copy_->setText(text);
}

void CellGrid::CopyToClipboard() const {
    QGuiApplication::clipboard()->setText(CopyText());
}

}  // namespace korvan
