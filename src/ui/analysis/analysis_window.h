// The "Ride analysis" window: what a ride log says on the map's own axes. One log at a time
// (a file, the replay's, the last recording), placed on the tune it is given:
//   Map cells      seconds, samples or a channel's mean, minimum or maximum per map cell,
//                  coloured, greyed below the least samples, copyable as tab-separated text
//   Scatter plot   any channel over any other, coloured by a third
//   Summary        duration, highest speed, shift light, limiter, full throttle, N2O, markers
//   Two logs       a second log beside the first, and the difference of their means
// The filter beside the tabs applies to every view. Views are computed when shown, so the
// window opens on a long log at once. It only shows: files, printing and the replay are the
// owner's, asked for by the signals.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "log/ride_analysis.h"
#include "params/device_image.h"
#include "ui/analysis/log_loader.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace korvan {

class CellGrid;
class FilterPanel;
class ScatterView;

class AnalysisWindow : public QWidget {
    Q_OBJECT
  public:
    // Scatter plots keep at most this many points, evenly over the ride.
    static constexpr std::size_t kMaxScatterPoints = 4000;

    explicit AnalysisWindow(std::uint8_t language, QWidget* parent = nullptr);

    void SetLanguage(std::uint8_t language);
    // The tune whose axes place the rows (its RPM breakpoints, throttle axis and limiter).
    void SetTune(const DeviceImage& image);
    void SetLog(const SharedLog& log, const QString& path);
    void SetSecondLog(const SharedLog& log, const QString& path);
    // The replay's position when the replay shows this window's log; nothing otherwise.
    void SetReplayPosition(std::optional<double> seconds);
    // A line under the views: what is being read, what was left out, what was saved.
    void SetNote(const QString& text);

    const SharedLog& Log() const { return log_; }
    QString LogPath() const { return path_; }
    const DeviceImage& Tune() const { return tune_; }
    // The summary under the filter, as printed and copied.
    QString SummaryText() const;
    // The views now shown are computed (a test's or a benchmark's wait).
    void RefreshNow();

    // Its parts, for the tests.
    QTabWidget* Tabs() const { return tabs_; }
    FilterPanel* Filters() const { return filter_; }
    CellGrid* Grid() const { return grid_; }
    QComboBox* ChannelBox() const { return channel_; }
    QComboBox* QuantityBox() const { return quantity_; }
    QSpinBox* MinSamplesBox() const { return minSamples_; }
    QLabel* ScaleLabel() const { return scale_; }
    QLabel* RowsLabel() const { return rows_; }
    QLabel* NoteLabel() const { return note_; }
    ScatterView* Scatter() const { return scatter_; }
    QComboBox* XBox() const { return x_; }
    QComboBox* YBox() const { return y_; }
    QComboBox* ColourBox() const { return colour_; }
    QPlainTextEdit* SummaryView() const { return summary_; }
    CellGrid* BeforeGrid() const { return before_; }
    CellGrid* AfterGrid() const { return after_; }
    CellGrid* DifferenceGrid() const { return difference_; }
    QLabel* CompareLabel() const { return compared_; }
    QAction* OpenLogItem() const { return openLog_; }
    QAction* ReplayLogItem() const { return replayLog_; }
    QAction* LastRecordingItem() const { return lastRecording_; }
    QAction* SecondLogItem() const { return secondLog_; }
    QAction* ExportItem() const { return export_; }
    QAction* PrintItem() const { return print_; }

  signals:
    void OpenLogWanted();
    void ReplayLogWanted();
    void LastRecordingWanted();
    void SecondLogWanted();
    void ExportWanted();
    void PrintWanted();

  private:
    enum View : unsigned { kCells = 1, kScatter = 2, kSummary = 4, kCompare = 8, kAll = 15 };

    QWidget* BuildCellsTab();
    QWidget* BuildScatterTab();
    QWidget* BuildSummaryTab();
    QWidget* BuildCompareTab();
    void FillChannelBoxes();
    // Everything shown depends on what changed: each view is computed again when next seen.
    void Invalidate();
    void RefreshShown();
    void RefreshTable();
    void RefreshCells();
    void RefreshScatter();
    void RefreshSummary();
    void RefreshCompare();
    void ShowLogLine();

    bool TpsAxisInUse() const;
    std::size_t Channel() const;
    CellQuantity Quantity() const;
    std::size_t MinSamples() const;
    QString ChannelName(std::size_t channel) const;
    QString QuantityTitle() const;

    std::uint8_t language_;
    DeviceImage tune_;
    SharedLog log_;
    QString path_;
    SharedLog second_;
    QString secondPath_;
    unsigned stale_ = kAll;
    CellTable table_;
    bool tableStale_ = true;

    QLabel* logLine_;
    FilterPanel* filter_;
    QTabWidget* tabs_;
    QLabel* rows_;
    QLabel* note_;
    // Map cells
    QLabel* channelLabel_;
    QComboBox* channel_;
    QLabel* quantityLabel_;
    QComboBox* quantity_;
    QLabel* minSamplesLabel_;
    QSpinBox* minSamples_;
    QPushButton* copyGrid_;
    CellGrid* grid_;
    QLabel* scale_;
    // Scatter plot
    QLabel* xLabel_;
    QComboBox* x_;
    QLabel* yLabel_;
    QComboBox* y_;
    QLabel* colourLabel_;
    QComboBox* colour_;
    QLabel* points_;
    ScatterView* scatter_;
    // Summary
    QPlainTextEdit* summary_;
    QPushButton* copySummary_;
    QPushButton* printSummary_;
    // Two logs
    QLabel* beforeLabel_;
    QLabel* afterLabel_;
    QLabel* differenceLabel_;
    CellGrid* before_;
    CellGrid* after_;
    CellGrid* difference_;
    QLabel* compared_;
    // The menu
    QAction* openLog_;
    QAction* replayLog_;
    QAction* lastRecording_;
    QAction* secondLog_;
    QAction* export_;
    QAction* print_;
    QAction* close_;
    QMenu* fileMenu_;
};

}  // namespace korvan
