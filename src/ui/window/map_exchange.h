// The map's exchange with other programs: the clipboard in the format spreadsheets use
// (tab-separated rows, CR LF), and the map as a .csv file with its axes. It moves text between
// the image and the clipboard or a file; what a paste or an import changed is handed back, and
// the caller makes it one commit.
#pragma once

#include <QString>
#include <cstdint>

#include "params/map_operations.h"

class QFileDialog;
class QMainWindow;

namespace korvan {

class Dialogs;
class FileCommands;
class ParameterModel;

class MapExchange {
  public:
    // The dialogs are children of `window`; the first folder they show is that of the last
    // parameter file of `files`.
    MapExchange(QMainWindow& window, const ParameterModel& model, Dialogs& dialogs,
                const FileCommands& files);
    ~MapExchange();
    MapExchange(const MapExchange&) = delete;
    MapExchange& operator=(const MapExchange&) = delete;

    // The cells as tab-separated rows on the clipboard; with the axes, the RPM points as a
    // header row and the throttle points as a header column.
    void Copy(const DeviceImage& image, const MapRect& cells, bool withAxes) const;
    // The clipboard's text into `image` at `selection`: a block from its top left cell, or one
    // number filling all of it. A refusal changes nothing and says where and why.
    EditOutcome Paste(DeviceImage& image, const MapRect& selection) const;

    // Asks for a file and writes the map with its axes into it; a failure is said in a box,
    // success in the status bar.
    void ExportCsv(const DeviceImage& image);
    // Asks for a file and reads the map from it into `image`. Cancelled: refused with no
    // reason.
    EditOutcome ImportCsv(DeviceImage& image);

  private:
    QFileDialog& Dialog(bool save);
    QString SuggestedFolder() const;
    std::uint8_t Language() const;

    QMainWindow& window_;
    const ParameterModel& model_;
    Dialogs& dialogs_;
    const FileCommands& files_;
    QString lastFolder_;
    QFileDialog* exportDialog_ = nullptr;  // "ExportMapDialog"
    QFileDialog* importDialog_ = nullptr;  // "ImportMapDialog"
};

}  // namespace korvan
