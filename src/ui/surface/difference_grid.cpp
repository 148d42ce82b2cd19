#include "ui/surface/difference_grid.h"

#include <QFontInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <string>

#include "ui/languages/qt_fill.h"
#include "ui/surface/surface_colours.h"
#include "ui/surface/surface_texts.h"

namespace korvan {

namespace {
// Header column and row in characters of the font: "20100" and "100 %" fit.
constexpr double kHeaderColumnChars = 6.0;
constexpr double kCellPadding = 1.6;
// One row alone (no throttle axis) stays a row instead of a tall band.
constexpr double kMostRowLines = 2.5;
constexpr int kHintColumnWidth = 48;
constexpr int kHintRowHeight = 24;
constexpr double kTextRoom = 4.0;  // pixels kept free beside a number
constexpr int kSmallestPixels = 7;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

QString Signed(int value) {
    return (value > 0 ? QStringLiteral("+") : QString()) + QString::number(value);
}
}  // namespace

DifferenceGrid::DifferenceGrid(std::uint8_t language, QWidget* parent)
    : QWidget(parent), language_(language) {
    setObjectName("DifferenceGrid");
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetLanguage(language);
}

void DifferenceGrid::SetMaps(const SurfaceMap& current, const std::optional<SurfaceMap>& compared) {
    if (current == current_ && compared == compared_) return;
    current_ = current;
    compared_ = compared;
    update();
}

void DifferenceGrid::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(Text(surfacetext::kDifferenceTitle, language));
    update();
}

int DifferenceGrid::Difference(MapCell cell) const {
    if (!compared_ || !current_.InUse(cell)) return 0;
    return current_.Advance(cell) - compared_->Advance(cell);
}

double DifferenceGrid::TitleHeight() const {
    return fontMetrics().height() * 1.4;
}

QRectF DifferenceGrid::GridArea() const {
    const double header = fontMetrics().height() * kCellPadding;
    const double headerColumn = fontMetrics().averageCharWidth() * kHeaderColumnChars;
    const double top = TitleHeight() + header;
    return QRectF(headerColumn, top, std::max(0.0, width() - headerColumn),
                  std::max(0.0, height() - top));
}

QRectF DifferenceGrid::CellRect(MapCell cell) const {
    if (!current_.InUse(cell)) return QRectF();
    const QRectF area = GridArea();
    const double w = area.width() / kMapColumns;
    const double h =
        std::min(area.height() / current_.RowCount(), fontMetrics().height() * kMostRowLines);
    return QRectF(area.left() + cell.column * w, area.top() + (cell.row - current_.FirstRow()) * h,
                  w, h);
}

std::optional<MapCell> DifferenceGrid::CellAt(QPointF position) const {
    for (int row = current_.FirstRow(); row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            if (CellRect({row, column}).contains(position)) return MapCell{row, column};
        }
    }
    return std::nullopt;
}

QColor DifferenceGrid::CellColour(MapCell cell) const {
    return DifferenceColour(Difference(cell), palette().color(QPalette::Base));
}

QString DifferenceGrid::CellText(MapCell cell) const {
    return compared_ && current_.InUse(cell) ? Signed(Difference(cell)) : QString();
}

QSize DifferenceGrid::sizeHint() const {
    return QSize(kHintColumnWidth * (kMapColumns + 1), kHintRowHeight * (kMapRows + 2));
}

QSize DifferenceGrid::minimumSizeHint() const {
    return QSize(kMapColumns * fontMetrics().averageCharWidth() * 3, fontMetrics().height() * 4);
}

void DifferenceGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor base = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    const QColor header = palette().color(QPalette::Button);
    const QColor headerText = palette().color(QPalette::ButtonText);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF title(0, 0, width(), TitleHeight());
    painter.drawText(
        title, Qt::AlignLeft | Qt::AlignVCenter,
        Text(compared_ ? surfacetext::kDifferenceTitle : surfacetext::kNothingToCompare,
             language_));
    if (!compared_) return;

    const QRectF area = GridArea();
    const QRectF headerRow(0, TitleHeight(), width(), area.top() - TitleHeight());
    // A narrow grid draws its numbers smaller rather than over each other.
    const double column = area.width() / kMapColumns;
    double widest = 0;
    for (int rpm : current_.rpm)
        widest = std::max(widest, double(fontMetrics().horizontalAdvance(QString::number(rpm))));
    if (widest > column - kTextRoom && widest > 0) {
        QFont small = font();
        small.setPixelSize(std::max(
            kSmallestPixels, int(QFontInfo(font()).pixelSize() * (column - kTextRoom) / widest)));
        painter.setFont(small);
    }
    const double bottom = CellRect({kMapRows - 1, 0}).bottom();
    painter.fillRect(QRectF(0, headerRow.top(), width(), bottom - headerRow.top()), header);
    painter.setPen(headerText);
    for (int column = 0; column < kMapColumns; ++column) {
        const QRectF cell = CellRect({current_.FirstRow(), column});
        painter.drawText(QRectF(cell.left(), headerRow.top(), cell.width(), headerRow.height()),
                         Qt::AlignCenter,
                         QString::number(current_.rpm[static_cast<std::size_t>(column)]));
    }
    painter.setFont(font());
    const QColor line = Mixed(base, text, 0.3);
    for (int row = current_.FirstRow(); row < kMapRows; ++row) {
        const QRectF first = CellRect({row, 0});
        painter.setPen(headerText);
        if (current_.throttleAxis) {
            painter.drawText(QRectF(0, first.top(), area.left(), first.height()), Qt::AlignCenter,
                             QString::number(current_.throttle[static_cast<std::size_t>(row)]) +
                                 QStringLiteral(" %"));
        }
        for (int column = 0; column < kMapColumns; ++column) {
            const MapCell cell{row, column};
            const QRectF r = CellRect(cell);
            const QColor fill = CellColour(cell);
            painter.fillRect(r, fill);
            painter.setPen(line);
            painter.drawRect(r);
            // Equal cells stay quiet; a difference reads at once.
            painter.setPen(Difference(cell) == 0 ? Mixed(fill, TextOn(fill), 0.45) : TextOn(fill));
            painter.drawText(r, Qt::AlignCenter, CellText(cell));
        }
    }
}

void DifferenceGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<MapCell> cell = CellAt(event->position()))
        emit CellClicked(cell->row, cell->column);
}

bool DifferenceGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<MapCell> cell = CellAt(help->pos());
        if (!cell || !compared_) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const int rpm = current_.rpm[static_cast<std::size_t>(cell->column)];
        const int now = current_.Advance(*cell);
        const int other = compared_->Advance(*cell);
        const QString sign = Signed(now - other);
        const QString tip =
            current_.throttleAxis
                ? QFill(surfacetext::kDifferenceTip, language_, rpm,
                        current_.throttle[static_cast<std::size_t>(cell->row)], now, other, sign)
                : QFill(surfacetext::kCurveDifferenceTip, language_, rpm, now, other, sign);
        QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace korvan
