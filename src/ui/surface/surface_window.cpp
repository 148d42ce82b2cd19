#include "ui/surface/surface_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/surface/difference_grid.h"
#include "ui/surface/surface_texts.h"
#include "ui/surface/surface_view.h"

namespace korvan {

namespace {
constexpr int kWindowWidth = 1000;
constexpr int kWindowHeight = 640;
// The surface takes most of the width; the grid beside it keeps its numbers legible.
constexpr int kViewShare = 3;
constexpr int kGridShare = 2;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

QAction* Item(QObject* parent, const char* name) {
    auto* action = new QAction(parent);
    action->setObjectName(name);
    return action;
}
}  // namespace

SurfaceWindow::SurfaceWindow(std::uint8_t language, QWidget* parent)
    : QWidget(parent, Qt::Window),
      language_(language),
      view_(new SurfaceView(language)),
      grid_(new DifferenceGrid(language)),
      split_(new QSplitter(Qt::Horizontal)),
      help_(new QLabel),
      compareButton_(new QToolButton),
      compareMenu_(new QMenu(this)),
      pointMenu_(new QMenu(this)),
      compareFileItem_(Item(this, "SurfaceCompareFile")),
      compareUnitItem_(Item(this, "SurfaceCompareUnit")),
      endCompareItem_(Item(this, "SurfaceEndCompare")),
      copyItem_(Item(this, "SurfaceCopy")),
      savePngItem_(Item(this, "SurfaceSavePng")),
      printItem_(Item(this, "SurfacePrint")),
      startingViewItem_(Item(this, "SurfaceStartingView")) {
    setObjectName("SurfaceWindow");
    compareButton_->setObjectName("SurfaceCompareButton");
    pointMenu_->setObjectName("SurfaceComparePoint");
    compareMenu_->addAction(compareFileItem_);
    compareMenu_->addAction(compareUnitItem_);
    compareMenu_->addMenu(pointMenu_);
    compareButton_->setMenu(compareMenu_);
    compareButton_->setPopupMode(QToolButton::InstantPopup);
    compareButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    endCompareItem_->setEnabled(false);
    copyItem_->setShortcut(QKeySequence::Copy);
    printItem_->setShortcut(QKeySequence::Print);
    // No Ctrl+S here: in the main window it saves the tune, and a tuner's hand does not look
    // which window is in front.
    for (QAction* a : {copyItem_, printItem_}) a->setShortcutContext(Qt::WindowShortcut);

    auto* bar = new QToolBar;
    bar->setObjectName("SurfaceToolBar");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(compareButton_);
    bar->addAction(endCompareItem_);
    bar->addSeparator();
    bar->addAction(copyItem_);
    bar->addAction(savePngItem_);
    bar->addAction(printItem_);
    bar->addSeparator();
    bar->addAction(startingViewItem_);

    split_->addWidget(view_);
    split_->addWidget(grid_);
    split_->setStretchFactor(0, kViewShare);
    split_->setStretchFactor(1, kGridShare);
    split_->setChildrenCollapsible(false);
    grid_->hide();
    help_->setObjectName("SurfaceHelp");
    help_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(split_, 1);
    layout->addWidget(help_);
    resize(kWindowWidth, kWindowHeight);
    setFocusProxy(view_);

    connect(compareFileItem_, &QAction::triggered, this, &SurfaceWindow::CompareFileRequested);
    connect(compareUnitItem_, &QAction::triggered, this, &SurfaceWindow::CompareUnitRequested);
    connect(endCompareItem_, &QAction::triggered, this, &SurfaceWindow::CompareEndRequested);
    connect(pointMenu_, &QMenu::aboutToShow, this, &SurfaceWindow::PointsWanted);
    connect(copyItem_, &QAction::triggered, view_, &SurfaceView::CopyToClipboard);
    connect(savePngItem_, &QAction::triggered, this, &SurfaceWindow::SavePngRequested);
    connect(printItem_, &QAction::triggered, this, &SurfaceWindow::PrintRequested);
    connect(startingViewItem_, &QAction::triggered, view_, &SurfaceView::ResetView);
    connect(view_, &SurfaceView::CellClicked, this, &SurfaceWindow::CellClicked);
    connect(grid_, &DifferenceGrid::CellClicked, this, &SurfaceWindow::CellClicked);
    connect(view_, &SurfaceView::ContextMenuRequested, this, &SurfaceWindow::ShowContextMenu);
    // Escape closes the window, as it closes a dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    SetLanguage(language);
}

void SurfaceWindow::SetLanguage(std::uint8_t language) {
    language_ = language;
    setWindowTitle(Text(surfacetext::kTitle, language));
    compareButton_->setText(Text(surfacetext::kCompareWith, language));
    compareFileItem_->setText(Text(surfacetext::kCompareFile, language));
    compareUnitItem_->setText(Text(surfacetext::kCompareUnit, language));
    pointMenu_->setTitle(Text(surfacetext::kComparePoint, language));
    endCompareItem_->setText(Text(surfacetext::kEndCompare, language));
    copyItem_->setText(Text(surfacetext::kCopyPicture, language));
    savePngItem_->setText(Text(surfacetext::kSavePng, language));
    printItem_->setText(Text(surfacetext::kPrintPicture, language));
    startingViewItem_->setText(Text(surfacetext::kStartingView, language));
    help_->setText(Text(surfacetext::kMouseHelp, language));
    view_->SetLanguage(language);
    grid_->SetLanguage(language);
}

void SurfaceWindow::SetMaps(const SurfaceMap& map, const std::optional<SurfaceMap>& compared,
                            const QString& name) {
    view_->SetMap(map);
    view_->SetCompare(compared, name);
    grid_->SetMaps(map, compared);
    endCompareItem_->setEnabled(compared.has_value());
    if (grid_->isHidden() == compared.has_value()) {
        grid_->setVisible(compared.has_value());
        // The grid appears beside the surface with room for its numbers.
        const int total = split_->width();
        if (compared)
            split_->setSizes({total * kViewShare / (kViewShare + kGridShare),
                              total * kGridShare / (kViewShare + kGridShare)});
    }
}

void SurfaceWindow::SetRestorePoints(const QVector<PointItem>& points) {
    pointMenu_->clear();
    if (points.isEmpty()) {
        pointMenu_->addAction(Text(surfacetext::kNoPoints, language_))->setEnabled(false);
        return;
    }
    for (const PointItem& point : points) {
        QAction* item = pointMenu_->addAction(point.text);
        const QString fileName = point.fileName;
        item->setData(fileName);
        connect(item, &QAction::triggered, this,
                [this, fileName] { emit ComparePointRequested(fileName); });
    }
}

void SurfaceWindow::ShowContextMenu(QPoint globalPosition) {
    QMenu menu(this);
    menu.addAction(copyItem_);
    menu.addAction(savePngItem_);
    menu.addAction(printItem_);
    menu.addSeparator();
    menu.addAction(startingViewItem_);
    menu.exec(globalPosition);
}

}  // namespace korvan
