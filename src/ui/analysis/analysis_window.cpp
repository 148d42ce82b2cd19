#include "ui/analysis/analysis_window.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "log/ride_summary.h"
#include "ui/analysis/analysis_texts.h"
#include "ui/analysis/cell_grid.h"
#include "ui/analysis/filter_panel.h"
#include "ui/analysis/scatter_view.h"
#include "ui/languages/qt_fill.h"

namespace korvan {

namespace {
constexpr int kWidth = 1320;
constexpr int kHeight = 760;
constexpr int kFilterWidth = 320;
constexpr int kMaxMinSamples = 1000;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

// The channels a grid can show: every logged one but the time and the cell columns, which
// say nothing per cell.
bool CellChannel(std::size_t channel) {
    return channel != kChannelTime && channel != kChannelMapRpmColumn &&
           channel != kChannelMapTpsRow;
}

void Choose(QComboBox* box, std::size_t channel) {
    const int i = box->findData(static_cast<int>(channel));
    if (i >= 0) box->setCurrentIndex(i);
}

QLabel* Caption(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}
}  // namespace

AnalysisWindow::AnalysisWindow(std::uint8_t language, QWidget* parent)
    : QWidget(parent, Qt::Window),
      language_(language),
      logLine_(new QLabel(this)),
      filter_(new FilterPanel(language, this)),
      tabs_(new QTabWidget(this)),
      rows_(new QLabel(this)),
      note_(Caption(this)) {
    setObjectName("AnalysisWindow");
    resize(kWidth, kHeight);
    tune_.bytes.fill(0);

    auto* menuBar = new QMenuBar(this);
    fileMenu_ = menuBar->addMenu(QString());
    openLog_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::OpenLogWanted);
    openLog_->setShortcut(QKeySequence::Open);
    replayLog_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::ReplayLogWanted);
    lastRecording_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::LastRecordingWanted);
    secondLog_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::SecondLogWanted);
    fileMenu_->addSeparator();
    export_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::ExportWanted);
    print_ = fileMenu_->addAction(QString(), this, &AnalysisWindow::PrintWanted);
    print_->setShortcut(QKeySequence::Print);
    fileMenu_->addSeparator();
    close_ = fileMenu_->addAction(QString(), this, &QWidget::close);
    openLog_->setObjectName("AnalysisOpenLog");
    replayLog_->setObjectName("AnalysisReplayLog");
    lastRecording_->setObjectName("AnalysisLastRecording");
    secondLog_->setObjectName("AnalysisSecondLog");
    export_->setObjectName("AnalysisExport");
    print_->setObjectName("AnalysisPrint");
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    tabs_->setObjectName("AnalysisTabs");
    tabs_->addTab(BuildCellsTab(), QString());
    tabs_->addTab(BuildScatterTab(), QString());
    tabs_->addTab(BuildSummaryTab(), QString());
    tabs_->addTab(BuildCompareTab(), QString());
    connect(tabs_, &QTabWidget::currentChanged, this, &AnalysisWindow::RefreshShown);

    filter_->setFixedWidth(kFilterWidth);
    connect(filter_, &FilterPanel::Changed, this, &AnalysisWindow::Invalidate);

    logLine_->setObjectName("AnalysisLogLine");
    logLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows_->setObjectName("AnalysisRows");
    note_->setObjectName("AnalysisNote");
    auto* middle = new QHBoxLayout;
    middle->addWidget(filter_);
    middle->addWidget(tabs_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(logLine_);
    layout->addLayout(middle, 1);
    layout->addWidget(rows_);
    layout->addWidget(note_);

    FillChannelBoxes();
    SetLanguage(language);
}

QWidget* AnalysisWindow::BuildCellsTab() {
    auto* page = new QWidget;
    channelLabel_ = new QLabel(page);
    channel_ = new QComboBox(page);
    channel_->setObjectName("AnalysisChannel");
    quantityLabel_ = new QLabel(page);
    quantity_ = new QComboBox(page);
    quantity_->setObjectName("AnalysisQuantity");
    constexpr int kQuantities = 5;  // seconds, samples, mean, minimum, maximum
    for (int i = 0; i < kQuantities; ++i) quantity_->addItem(QString(), i);
    quantity_->setCurrentIndex(static_cast<int>(CellQuantity::Mean));
    minSamplesLabel_ = new QLabel(page);
    minSamples_ = new QSpinBox(page);
    minSamples_->setObjectName("AnalysisMinSamples");
    minSamples_->setRange(1, kMaxMinSamples);
    minSamples_->setValue(static_cast<int>(kDefaultMinSamples));
    minSamples_->setKeyboardTracking(false);
    copyGrid_ = new QPushButton(page);
    grid_ = new CellGrid(page);
    grid_->setObjectName("AnalysisGrid");
    scale_ = Caption(page);
    scale_->setObjectName("AnalysisScale");

    auto* controls = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{channelLabel_, channel_, quantityLabel_,
                                                      quantity_, minSamplesLabel_, minSamples_})
        controls->addWidget(w);
    controls->addStretch(1);
    controls->addWidget(copyGrid_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(controls);
    layout->addWidget(grid_);
    layout->addWidget(scale_);
    layout->addStretch(1);

    connect(channel_, &QComboBox::currentIndexChanged, this, &AnalysisWindow::Invalidate);
    connect(quantity_, &QComboBox::currentIndexChanged, this, [this] {
        // The same table in another quantity: nothing to compute again.
        stale_ |= kCells;
        RefreshShown();
    });
    connect(minSamples_, &QSpinBox::valueChanged, this, [this] {
        stale_ |= kCells | kCompare;
        RefreshShown();
    });
    connect(copyGrid_, &QPushButton::clicked, grid_, &CellGrid::CopyToClipboard);
    return page;
}

QWidget* AnalysisWindow::BuildScatterTab() {
    auto* page = new QWidget;
    xLabel_ = new QLabel(page);
    x_ = new QComboBox(page);
    x_->setObjectName("AnalysisX");
    yLabel_ = new QLabel(page);
    y_ = new QComboBox(page);
    y_->setObjectName("AnalysisY");
    colourLabel_ = new QLabel(page);
    colour_ = new QComboBox(page);
    colour_->setObjectName("AnalysisColour");
    points_ = new QLabel(page);
    scatter_ = new ScatterView(page);
    auto* controls = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{xLabel_, x_, yLabel_, y_, colourLabel_, colour_})
        controls->addWidget(w);
    controls->addStretch(1);
    controls->addWidget(points_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(controls);
    layout->addWidget(scatter_, 1);
    for (QComboBox* box : {x_, y_, colour_}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            stale_ |= kScatter;
            RefreshShown();
        });
    }
    return page;
}

QWidget* AnalysisWindow::BuildSummaryTab() {
    auto* page = new QWidget;
    summary_ = new QPlainTextEdit(page);
    summary_->setObjectName("AnalysisSummary");
    summary_->setReadOnly(true);
    copySummary_ = new QPushButton(page);
    printSummary_ = new QPushButton(page);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copySummary_);
    buttons->addWidget(printSummary_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(summary_, 1);
    layout->addLayout(buttons);
    connect(copySummary_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(SummaryText()); });
    connect(printSummary_, &QPushButton::clicked, this, &AnalysisWindow::PrintWanted);
    return page;
}

QWidget* AnalysisWindow::BuildCompareTab() {
    auto* page = new QWidget;
    beforeLabel_ = Caption(page);
    afterLabel_ = Caption(page);
    differenceLabel_ = Caption(page);
    before_ = new CellGrid(page);
    before_->setObjectName("AnalysisBeforeGrid");
    after_ = new CellGrid(page);
    after_->setObjectName("AnalysisAfterGrid");
    difference_ = new CellGrid(page);
    difference_->setObjectName("AnalysisDifferenceGrid");
    for (CellGrid* grid : {before_, after_, difference_}) grid->SetCompact();
    compared_ = Caption(page);
    compared_->setObjectName("AnalysisCompared");
    auto* layout = new QGridLayout(page);
    layout->addWidget(beforeLabel_, 0, 0);
    layout->addWidget(afterLabel_, 0, 1);
    layout->addWidget(before_, 1, 0);
    layout->addWidget(after_, 1, 1);
    layout->addWidget(differenceLabel_, 2, 0);
    layout->addWidget(difference_, 3, 0);
    layout->addWidget(compared_, 3, 1, Qt::AlignTop);
    // The grids keep the height of their rows; what is left goes below them.
    layout->setRowStretch(4, 1);
    return page;
}

void AnalysisWindow::SetLanguage(std::uint8_t language) {
    language_ = language;
    fileMenu_->setTitle(Text(analysistext::kFileMenu, language));
    openLog_->setText(Text(analysistext::kOpenLog, language));
    replayLog_->setText(Text(analysistext::kReplayLog, language));
    lastRecording_->setText(Text(analysistext::kLastRecording, language));
    secondLog_->setText(Text(analysistext::kOpenSecondLog, language));
    export_->setText(Text(analysistext::kExportLog, language));
    print_->setText(Text(analysistext::kPrintSummary, language));
    close_->setText(Text(analysistext::kClose, language));
    tabs_->setTabText(0, Text(analysistext::kCellsTab, language));
    tabs_->setTabText(1, Text(analysistext::kScatterTab, language));
    tabs_->setTabText(2, Text(analysistext::kSummaryTab, language));
    tabs_->setTabText(3, Text(analysistext::kCompareTab, language));
    channelLabel_->setText(Text(analysistext::kChannel, language));
    quantityLabel_->setText(Text(analysistext::kShow, language));
    const LocalizedText* quantities[] = {&analysistext::kSeconds, &analysistext::kSamples,
                                         &analysistext::kMean, &analysistext::kMinimum,
                                         &analysistext::kMaximum};
    for (int i = 0; i < quantity_->count(); ++i)
        quantity_->setItemText(i, Text(*quantities[i], language));
    minSamplesLabel_->setText(Text(analysistext::kMinSamples, language));
    copyGrid_->setText(Text(analysistext::kCopy, language));
    for (CellGrid* grid : {grid_, before_, after_, difference_}) {
        grid->Cells().SetLanguage(language);
        grid->SetCopyText(Text(analysistext::kCopy, language));
    }
    xLabel_->setText(Text(analysistext::kXAxis, language));
    yLabel_->setText(Text(analysistext::kYAxis, language));
    colourLabel_->setText(Text(analysistext::kColourBy, language));
    copySummary_->setText(Text(analysistext::kCopy, language));
    printSummary_->setText(Text(analysistext::kPrint, language));
    filter_->SetLanguage(language);
    ShowLogLine();
    stale_ = kAll;
    RefreshShown();
}

void AnalysisWindow::SetTune(const DeviceImage& image) {
    tune_ = image;
    Invalidate();
}

void AnalysisWindow::SetLog(const SharedLog& log, const QString& path) {
    log_ = log != nullptr && log->Ok() ? log : nullptr;
    path_ = log_ != nullptr ? path : QString();
    filter_->SetLog(log_.get());
    FillChannelBoxes();
    ShowLogLine();
    Invalidate();
}

void AnalysisWindow::SetSecondLog(const SharedLog& log, const QString& path) {
    second_ = log != nullptr && log->Ok() ? log : nullptr;
    secondPath_ = second_ != nullptr ? path : QString();
    stale_ |= kCompare;
    RefreshShown();
}

void AnalysisWindow::SetReplayPosition(std::optional<double> seconds) {
    filter_->SetReplayPosition(seconds);
}

void AnalysisWindow::SetNote(const QString& text) {
    note_->setText(text);
}

void AnalysisWindow::ShowLogLine() {
    const std::uint8_t l = language_;
    if (log_ == nullptr) {
        setWindowTitle(Text(analysistext::kTitleNone, l));
        logLine_->setText(Text(analysistext::kNoLog, l));
        return;
    }
    const QString name = QFileInfo(path_).fileName();
    setWindowTitle(QFill(analysistext::kTitle, l, name));
    const double duration = log_->rows.back().TimeS - log_->rows.front().TimeS;
    QString line =
        QFill(analysistext::kLogLine, l, QDir::toNativeSeparators(path_), log_->rows.size(),
              QString::fromStdString(ClockText(duration)), log_->marks.size());
    if (!log_->unitVersion.empty() || !log_->tuneFile.empty()) {
        line += QStringLiteral("   ") + QFill(analysistext::kUnitAndTune, l,
                                              log_->unitVersion.empty() ? "-" : log_->unitVersion,
                                              log_->tuneFile.empty() ? "-" : log_->tuneFile);
    }
    logLine_->setText(line);
}

void AnalysisWindow::FillChannelBoxes() {
    struct Box {
        QComboBox* box;
        std::size_t wanted;
        bool cellsOnly;
    };
    const Box boxes[] = {{channel_, kChannelLambda, true},
                         {x_, kChannelRpm, false},
                         {y_, kChannelLambda, false},
                         {colour_, kChannelTps, false}};
    for (const Box& b : boxes) {
        const QSignalBlocker block(b.box);
        const int kept = b.box->currentData().isValid() ? b.box->currentData().toInt() : -1;
        b.box->clear();
        for (std::size_t c = 0; c < kLogChannelCount; ++c) {
            if (b.cellsOnly && !CellChannel(c)) continue;
            // Only what the log holds: a missing channel would show as a column of zeros.
            if (log_ != nullptr && !log_->HasChannel(c)) continue;
            b.box->addItem(ChannelName(c), static_cast<int>(c));
        }
        Choose(b.box, b.wanted);
        if (kept >= 0) Choose(b.box, static_cast<std::size_t>(kept));
    }
}

QString AnalysisWindow::ChannelName(std::size_t channel) const {
    const LogChannel& c = kLogChannels[channel];
    return QString::fromLatin1(c.name) + QStringLiteral(" [") + QString::fromLatin1(c.unit) +
           QLatin1Char(']');
}

bool AnalysisWindow::TpsAxisInUse() const {
    return tune_[field::TpsMapa] != 0;
}

std::size_t AnalysisWindow::Channel() const {
    const QVariant data = channel_->currentData();
    return data.isValid() ? static_cast<std::size_t>(data.toInt()) : kChannelLambda;
}

CellQuantity AnalysisWindow::Quantity() const {
    return static_cast<CellQuantity>(quantity_->currentData().toInt());
}

std::size_t AnalysisWindow::MinSamples() const {
    return static_cast<std::size_t>(minSamples_->value());
}

QString AnalysisWindow::QuantityTitle() const {
    return ChannelName(Channel()) + ' ' + quantity_->currentText();
}

void AnalysisWindow::Invalidate() {
    stale_ = kAll;
    tableStale_ = true;
    RefreshShown();
}

void AnalysisWindow::RefreshNow() {
    RefreshShown();
}

void AnalysisWindow::RefreshShown() {
    RefreshTable();
    const unsigned shown = 1u << tabs_->currentIndex();
    if ((stale_ & shown) == 0) return;
    stale_ &= ~shown;
    switch (shown) {
        case kCells:
            RefreshCells();
            break;
        case kScatter:
            RefreshScatter();
            break;
        case kSummary:
            RefreshSummary();
            break;
        case kCompare:
            RefreshCompare();
            break;
        default:
            break;
    }
}

void AnalysisWindow::RefreshTable() {
    if (!tableStale_) return;
    tableStale_ = false;
    static const std::vector<LogSample> kNoRows;
    table_ = ComputeCellTable(log_ != nullptr ? log_->rows : kNoRows, tune_, TpsAxisInUse(),
                              Channel(), filter_->Filter());
    const std::size_t all = log_ != nullptr ? log_->rows.size() : 0;
    const QLocale locale;
    rows_->setText(QFill(analysistext::kRowsInFilter, language_, table_.rowsUsed, all) +
                   QStringLiteral("   ") +
                   QFill(analysistext::kBelowRpmAxis, language_,
                         locale.toString(table_.secondsBelowAxis, 'f', 1)));
}

void AnalysisWindow::RefreshCells() {
    grid_->Cells().ShowTable(table_, Quantity(), MinSamples());
    grid_->SetTitle(QuantityTitle());
    const CellGridModel& cells = grid_->Cells();
    const int decimals = CellQuantityDecimals(Quantity(), Channel());
    const QLocale locale;
    scale_->setText(QFill(analysistext::kScale, language_,
                          locale.toString(cells.ScaleLow(), 'f', decimals),
                          locale.toString(cells.ScaleHigh(), 'f', decimals)) +
                    QStringLiteral("; ") + QFill(analysistext::kGreyed, language_, MinSamples()));
}

void AnalysisWindow::RefreshScatter() {
    static const std::vector<LogSample> kNoRows;
    const auto channel = [](const QComboBox* box, std::size_t fallback) {
        const QVariant data = box->currentData();
        return data.isValid() ? static_cast<std::size_t>(data.toInt()) : fallback;
    };
    const std::size_t x = channel(x_, kChannelRpm);
    const std::size_t y = channel(y_, kChannelLambda);
    const std::size_t colour = channel(colour_, kChannelTps);
    const ScatterData data = ComputeScatter(log_ != nullptr ? log_->rows : kNoRows, tune_, x, y,
                                            colour, filter_->Filter(), kMaxScatterPoints);
    scatter_->Show(data, ChannelName(x), ChannelName(y),
                   QString::fromLatin1(kLogChannels[colour].name));
    points_->setText(
        QFill(analysistext::kPointsShown, language_, data.points.size(), data.rowsInFilter));
}

QString AnalysisWindow::SummaryText() const {
    if (log_ == nullptr) return Text(analysistext::kNoLog, language_);
    const RideSummary summary = ComputeRideSummary(*log_, tune_, filter_->Filter());
    return QString::fromStdString(
        RideSummaryText(summary, QFileInfo(path_).fileName().toStdString(), language_));
}

void AnalysisWindow::RefreshSummary() {
    summary_->setPlainText(SummaryText());
}

void AnalysisWindow::RefreshCompare() {
    const std::uint8_t l = language_;
    before_->Cells().ShowTable(table_, CellQuantity::Mean, MinSamples());
    before_->SetTitle(ChannelName(Channel()));
    beforeLabel_->setText(QFill(analysistext::kBefore, l, QFileInfo(path_).fileName()));
    differenceLabel_->setText(QFill(analysistext::kDifference, l, ChannelName(Channel())));
    if (second_ == nullptr) {
        afterLabel_->setText(Text(analysistext::kNoSecondLog, l));
        CellTable empty = table_;
        empty.cells = {};
        after_->Cells().ShowTable(empty, CellQuantity::Mean, MinSamples());
        difference_->Cells().ShowDifference({}, table_);
        compared_->setText(QString());
        return;
    }
    // The second log has a clock of its own: a time range of the first says nothing of it.
    LogFilter filter = filter_->Filter();
    filter.fromS = LogFilter{}.fromS;
    filter.toS = LogFilter{}.toS;
    const CellTable after =
        ComputeCellTable(second_->rows, tune_, TpsAxisInUse(), Channel(), filter);
    after_->Cells().ShowTable(after, CellQuantity::Mean, MinSamples());
    after_->SetTitle(ChannelName(Channel()));
    afterLabel_->setText(QFill(analysistext::kAfter, l, QFileInfo(secondPath_).fileName()));
    const CellComparison comparison = CompareCellTables(table_, after, MinSamples());
    difference_->Cells().ShowDifference(comparison, table_);
    difference_->SetTitle(ChannelName(Channel()));
    QString text = QFill(analysistext::kCompared, l, comparison.comparedCells, MinSamples());
    if (filter_->TimeRangeUsed())
        text += QStringLiteral("\n") + Text(analysistext::kTimeFirstOnly, l);
    compared_->setText(text);
}

}  // namespace korvan
