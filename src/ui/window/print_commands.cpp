#include "ui/window/print_commands.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTime>
#include <QToolButton>
#include <memory>

#include "device/device_link.h"
#include "files/atomic_write.h"
#include "files/print_layout.h"
#include "params/language_tables.h"
#include "params/localized_text.h"
#include "ui/printing/window_print.h"
#include "ui/window/dialogs.h"
#include "ui/window/file_messages.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/progress_row.h"
#include "ui/window/tool_bar.h"

namespace korvan {

namespace {

const LocalizedText kExportPdfItem{"&Export do PDF...", "&Export PDF...",
                                   "Als PDF &exportieren..."};
const LocalizedText kNoPrinterSetUp{"V tomto počítači není nastavena žádná tiskárna.",
                                    "No printer is set up on this computer.",
                                    "Auf diesem Computer ist kein Drucker eingerichtet."};
const LocalizedText kOfferPdf{"Uložit stránku místo toho jako soubor PDF?",
                              "Save the page as a PDF file instead?",
                              "Die Seite stattdessen als PDF-Datei speichern?"};
const LocalizedText kExportPdfButton{"Export do PDF...", "Export PDF...", "Als PDF exportieren..."};
const LocalizedText kPdfNotMade{"PDF nelze vytvořit", "The PDF could not be made",
                                "Die PDF-Datei konnte nicht erstellt werden"};
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");

}  // namespace

PrintCommands::PrintCommands(QMainWindow& window, const ParameterModel& model, Dialogs& dialogs,
                             DeviceLink& link, ProgressRow& progress, MainMenu& menu,
                             ToolBar& toolBar, QObject* parent)
    : QObject(parent),
      window_(window),
      model_(model),
      dialogs_(dialogs),
      link_(link),
      progress_(progress),
      menu_(menu) {
    connect(menu.printItem, &QAction::triggered, this, &PrintCommands::OnPrintChosen);
    connect(toolBar.printButton, &QToolButton::clicked, this, &PrintCommands::OnPrintChosen);
    connect(menu.exportPdfItem, &QAction::triggered, this, &PrintCommands::OnExportPdfChosen);
    connect(&model, &ParameterModel::LanguageChanged, this, &PrintCommands::ApplyLanguage);
    ApplyLanguage();
}

void PrintCommands::ApplyLanguage() {
    menu_.exportPdfItem->setText(QString::fromUtf8(kExportPdfItem.In(model_.Language())));
}

// The window as it is printed: the date line in the message label, the client area on white.
// The normal look comes back when the look goes, whatever became of the picture.
class PrintCommands::PrintLook {
  public:
    PrintLook(QMainWindow& window, const ParameterModel& model, DeviceLink& link,
              ProgressRow& progress)
        : window_(window), progress_(progress), client_(*window.centralWidget()) {
        const QLocale locale = QLocale::system();
        const auto line =
            PrintDateLine(model.Language(),
                          locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(),
                          locale.toString(QTime::currentTime(), QLocale::LongFormat).toStdString());
        const QString lineText = line ? QString::fromStdString(*line) : QString();
        progress_.BeginPrintLine(line ? &lineText : nullptr);
        link.ArmMessageCountdown();
        progress_.SetMessageVisible(true);
        progress_.SetGaugeVisible(false);
        normal_ = client_.palette();
        normalFill_ = client_.autoFillBackground();
        QPalette white = normal_;
        white.setColor(QPalette::Window, Qt::white);
        client_.setPalette(white);
        client_.setAutoFillBackground(true);
    }
    ~PrintLook() {
        progress_.SetMessageVisible(false);
        progress_.EndPrintLine();
        client_.setPalette(normal_);
        client_.setAutoFillBackground(normalFill_);
    }
    PrintLook(const PrintLook&) = delete;
    PrintLook& operator=(const PrintLook&) = delete;

    // The client area: everything below the menu bar, the status bar included.
    QImage Picture() const {
        const int top = window_.menuBar()->isVisible() ? window_.menuBar()->height() : 0;
        return window_.grab(QRect(0, top, window_.width(), window_.height() - top)).toImage();
    }

  private:
    QMainWindow& window_;
    ProgressRow& progress_;
    QWidget& client_;
    QPalette normal_;
    bool normalFill_ = false;
};

void PrintCommands::OnPrintChosen() {
    const std::uint8_t language = model_.Language();
    bool noPrinter = false;
    {
        // The printer is asked for while the window shows the date line, as it always was.
        const PrintLook look(window_, model_, link_, progress_);
        std::unique_ptr<QPrinter> printer = dialogs_.Printer();
        QString error;
        if (!printer) {
            noPrinter = true;
        } else if (!PrintImageOnePage(*printer, look.Picture(), &error)) {
            dialogs_.ShowMessage(error);
        }
    }
    if (!noPrinter) return;
    // QPrinter would quietly make a PDF without a name; the tuner gets the choice instead.
    QString text = QString::fromUtf8(kNoPrinterMessage.In(language));
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        text += "\n" + QString::fromUtf8(kNoPrinterSetUp.In(language));
    text += "\n\n" + QString::fromUtf8(kOfferPdf.In(language));
    if (dialogs_.Ask(text, QString::fromUtf8(kExportPdfButton.In(language)))) OnExportPdfChosen();
}

QFileDialog& PrintCommands::PdfDialog() {
    if (pdfDialog_ == nullptr) {
        pdfDialog_ = new QFileDialog(&window_);
        pdfDialog_->setObjectName("PdfDialog");
        pdfDialog_->setAcceptMode(QFileDialog::AcceptSave);
        pdfDialog_->setFileMode(QFileDialog::AnyFile);
        pdfDialog_->setNameFilters({kPdfFilter});
        pdfDialog_->setDefaultSuffix("pdf");
    }
    return *pdfDialog_;
}

void PrintCommands::OnExportPdfChosen() {
    QFileDialog& dialog = PdfDialog();
    // Beside the tune it shows, under the tune's name; else where the dialog was last.
    const QString current = progress_.FileName();
    if (!current.isEmpty()) {
        const QFileInfo file(current);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.completeBaseName() + ".pdf");
    }
    const QString path = dialogs_.ChooseFile(dialog);
    if (!path.isEmpty()) ExportPdf(path);
}

bool PrintCommands::ExportPdf(const QString& path) {
    const std::uint8_t language = model_.Language();
    // QPrinter writes its file as it goes; it writes into a folder of its own, and the file
    // chosen is replaced only by a complete PDF.
    QTemporaryDir scratch;
    const QString temporary = scratch.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temporary);
    printer.setCreator(QStringLiteral("korvan2"));
    printer.setDocName(QFileInfo(path).completeBaseName());
    QString error;
    QFile made(temporary);
    bool printed = false;
    if (scratch.isValid()) {
        const PrintLook look(window_, model_, link_, progress_);
        printed = PrintImageOnePage(printer, look.Picture(), &error);
    }
    if (!printed || !made.open(QIODevice::ReadOnly)) {
        dialogs_.ShowMessage(QString::fromUtf8(kPdfNotMade.In(language)) +
                             (error.isEmpty() ? QString() : "\n" + error));
        return false;
    }
    const WriteResult written =
        WriteFileAtomically(path.toStdString(), made.readAll().toStdString());
    if (!written.ok) {
        dialogs_.ShowMessage(SaveFailureText(path, written, language));
        return false;
    }
    return true;
}

}  // namespace korvan
