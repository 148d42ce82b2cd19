// Printing the window: owns File > Print (Ctrl+P and the print button) and File > Export PDF.
// Both put the same picture on one page: the client area on white with the date and time of
// printing in the message line. Print without a printer says so and offers the PDF instead; a
// PDF replaces its file only once it is complete.
#pragma once

#include <QObject>
#include <QString>

class QFileDialog;
class QMainWindow;

namespace korvan {

class DeviceLink;
class Dialogs;
class MainMenu;
class ParameterModel;
class ProgressRow;
class ToolBar;

class PrintCommands : public QObject {
    Q_OBJECT

  public:
    // Connects the print item and button and the Export PDF item itself.
    PrintCommands(QMainWindow& window, const ParameterModel& model, Dialogs& dialogs,
                  DeviceLink& link, ProgressRow& progress, MainMenu& menu, ToolBar& toolBar,
                  QObject* parent = nullptr);

    void OnPrintChosen();
    void OnExportPdfChosen();
    // Writes the picture Print would print to `path` as a one-page PDF; false with a message
    // shown when it could not be written (an old file at `path` is then left as it was).
    bool ExportPdf(const QString& path);

  private:
    class PrintLook;
    QFileDialog& PdfDialog();
    void ApplyLanguage();

    QMainWindow& window_;
    const ParameterModel& model_;
    Dialogs& dialogs_;
    DeviceLink& link_;
    ProgressRow& progress_;
    MainMenu& menu_;
    QFileDialog* pdfDialog_ = nullptr;  // "PdfDialog"
};

}  // namespace korvan
