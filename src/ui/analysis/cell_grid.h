// A per-cell table of a ride on the map's own axes, laid out as the advance map: the RPM
// breakpoints across, the throttle rows down (0 % at the top; one row without the throttle
// axis). Each visited cell shows its value coloured by it, text and background chosen
// together; a cell with fewer samples than asked for is grey. Either one table of a log (its
// seconds, samples or a channel's mean, minimum or maximum) or the difference of two logs.
// Ctrl+C (or Copy) puts the grid on the clipboard as tab-separated text, as the CLI prints it.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QTableView>
#include <cstdint>

#include "log/ride_analysis.h"

namespace korvan {

class CellGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Beside Qt's roles: whether a cell is greyed, and its value as a number.
    static constexpr int kGreyedRole = Qt::UserRole + 1;
    static constexpr int kValueRole = Qt::UserRole + 2;

    explicit CellGridModel(QObject* parent = nullptr);

    void SetLanguage(std::uint8_t language);
    void ShowTable(const CellTable& table, CellQuantity quantity, std::size_t minSamples);
    // The differences of `comparison`, on the axes of `axes`.
    void ShowDifference(const CellComparison& comparison, const CellTable& axes);

    // The grid as the clipboard gets it: `title` in the corner, the user's decimal point.
    QString Text(const QString& title) const;
    // The lowest and highest value the colours span (equal when nothing is coloured).
    double ScaleLow() const { return low_; }
    double ScaleHigh() const { return high_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    int MapRow(int row) const;
    std::size_t CellIndex(const QModelIndex& index) const;
    bool Shown(std::size_t cell) const;  // has a value to show
    bool Greyed(std::size_t cell) const;
    double Value(std::size_t cell) const;
    QString Number(double value, int decimals) const;
    QString Signed(double difference) const;  // "+1.5", "-0.5", "0.0"
    QString Tooltip(std::size_t cell) const;
    void FindScale();

    std::uint8_t language_ = 1;
    bool difference_ = false;
    CellTable table_;
    CellComparison comparison_;
    CellQuantity quantity_ = CellQuantity::Mean;
    std::size_t minSamples_ = kDefaultMinSamples;
    double low_ = 0;
    double high_ = 0;
};

class CellGrid : public QTableView {
    Q_OBJECT
  public:
    explicit CellGrid(QWidget* parent = nullptr);

    CellGridModel& Cells() { return model_; }
    const CellGridModel& Cells() const { return model_; }
    // The corner of the copied text: what the grid shows ("Lambda mean (mV)").
    void SetTitle(const QString& title) { title_ = title; }
    void SetCopyText(const QString& text);
    // Smaller text and rows, for grids shown side by side.
    void SetCompact();
    QString CopyText() const { return model_.Text(title_); }
    void CopyToClipboard() const;
    // A scroll area's least height keeps room for scroll bars; a grid of one row (the map
    // without the throttle axis) would show an empty strip under it.
    QSize minimumSizeHint() const override;

  private:
    CellGridModel model_;
    QString title_;
    QAction* copy_;
};

}  // namespace korvan
