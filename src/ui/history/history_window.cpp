#include "ui/history/history_window.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "params/localized_text.h"

namespace korvan {

namespace {

constexpr int kFileRole = Qt::UserRole;
constexpr int kUnreadableRole = Qt::UserRole + 1;

const LocalizedText kTitle = {"Historie parametrů", "Parameter history", "Kenndatenverlauf"};
const LocalizedText kHeaders[HistoryWindow::ColumnCount] = {
    {"Čas", "Time", "Zeit"},
    {"Druh", "Kind", "Art"},
    {"Jednotka", "Unit", "Zündbox"},
    {"Poznámka", "Note", "Notiz"},
};
const LocalizedText kOpen = {"&Otevřít", "&Open", "Ö&ffnen"};
const LocalizedText kCompare = {"&Porovnat", "&Compare", "&Vergleichen"};
const LocalizedText kNote = {"&Poznámka", "&Note", "&Notiz"};
const LocalizedText kShowFile = {"Zobrazit &soubor", "Show &file", "&Datei zeigen"};
const LocalizedText kUnreadable = {"nečitelný", "unreadable", "unlesbar"};
const LocalizedText kNoteNotStored = {"Poznámku nelze uložit", "The note cannot be stored",
                                      "Die Notiz kann nicht gespeichert werden"};

QString Utf8(const std::string& s) {
    return QString::fromUtf8(s.c_str());
}

// "20261208T064503Z" in the user's local time and date format.
QString LocalTime(const std::string& stamp) {
    const QDateTime utc =
        QDateTime::fromString(QString::fromLatin1(stamp.c_str()), "yyyyMMdd'T'HHmmss'Z'");
    if (!utc.isValid()) return QString::fromLatin1(stamp.c_str());
    const QDateTime t(utc.date(), utc.time(), Qt::UTC);
    return QLocale::system().toString(t.toLocalTime(), QLocale::ShortFormat);
}

QString UnitText(const IdentityTexts& unit) {
    QStringList parts;
    for (const std::string* s : {&unit.VersionString, &unit.DateString, &unit.TimeString}) {
        if (!s->empty()) parts << Utf8(*s);
    }
    return parts.join(' ');
}

}  // namespace

HistoryWindow::HistoryWindow(RestoreStore* store, QWidget* parent)
    : QWidget(parent), store_(store) {
    setObjectName("HistoryWindow");
    list_ = new QTreeWidget(this);
    list_->setObjectName("TreeHistory");
    list_->setColumnCount(ColumnCount);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);  // keeps a long history quick to show
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    problems_ = new QLabel(this);
    problems_->setObjectName("LabelHistoryProblems");
    problems_->setWordWrap(true);
    open_ = new QPushButton(this);
    open_->setObjectName("ButtonHistoryOpen");
    compare_ = new QPushButton(this);
    compare_->setObjectName("ButtonHistoryCompare");
    note_ = new QPushButton(this);
    note_->setObjectName("ButtonHistoryNote");
    showFile_ = new QPushButton(this);
    showFile_->setObjectName("ButtonHistoryShowFile");

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {open_, compare_, note_, showFile_}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(problems_);
    layout->addLayout(buttons);

    opener_ = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    connect(open_, &QPushButton::clicked, this, [this] {
        if (!CurrentFileName().isEmpty()) emit openRequested(CurrentFileName());
    });
    connect(compare_, &QPushButton::clicked, this, [this] {
        if (!CurrentFileName().isEmpty()) emit compareRequested(CurrentFileName());
    });
    connect(note_, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem* item = list_->currentItem()) list_->editItem(item, NoteColumn);
    });
    connect(showFile_, &QPushButton::clicked, this, &HistoryWindow::ShowFile);
    connect(list_, &QTreeWidget::currentItemChanged, this, &HistoryWindow::UpdateButtons);
    connect(list_, &QTreeWidget::itemChanged, this, &HistoryWindow::NoteEdited);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!CurrentFileName().isEmpty()) emit openRequested(CurrentFileName());
    });
    ApplyTexts();
    UpdateButtons();
}

void HistoryWindow::SetLanguage(std::uint8_t language) {
    language_ = language;
    ApplyTexts();
    Refresh();
}

void HistoryWindow::ApplyTexts() {
    setWindowTitle(QString::fromUtf8(kTitle.In(language_)));
    QStringList headers;
    for (const LocalizedText& h : kHeaders) headers << QString::fromUtf8(h.In(language_));
    list_->setHeaderLabels(headers);
    open_->setText(QString::fromUtf8(kOpen.In(language_)));
    compare_->setText(QString::fromUtf8(kCompare.In(language_)));
    note_->setText(QString::fromUtf8(kNote.In(language_)));
    showFile_->setText(QString::fromUtf8(kShowFile.In(language_)));
}

void HistoryWindow::Refresh() {
    const QString current =
        list_->currentItem() ? list_->currentItem()->data(0, kFileRole).toString() : QString();
    filling_ = true;
    list_->clear();
    const std::vector<RestorePoint>& points = store_->List();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(points.size()));
    QTreeWidgetItem* select = nullptr;
    for (const RestorePoint& p : points) {
        auto* item = new QTreeWidgetItem;
        item->setText(TimeColumn, LocalTime(p.time));
        QString kind = QString::fromUtf8(RestoreKindText(p.kind, language_));
        if (p.unreadable) kind += " (" + QString::fromUtf8(kUnreadable.In(language_)) + ")";
        item->setText(KindColumn, kind);
        item->setText(UnitColumn, UnitText(p.unit));
        item->setText(NoteColumn, Utf8(p.note));
        item->setToolTip(
            TimeColumn,
            Utf8(p.fileName) + (p.sourcePath.empty() ? QString() : "\n" + Utf8(p.sourcePath)));
        item->setData(0, kFileRole, Utf8(p.fileName));
        item->setData(0, kUnreadableRole, p.unreadable);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        if (p.unreadable)
            item->setForeground(KindColumn, palette().color(QPalette::Disabled, QPalette::Text));
        if (Utf8(p.fileName) == current) select = item;
        items << item;
    }
    list_->addTopLevelItems(items);
    for (int column = TimeColumn; column < NoteColumn; ++column)
        list_->resizeColumnToContents(column);
    list_->setCurrentItem(select ? select : list_->topLevelItem(0));
    filling_ = false;

    QStringList lines;
    for (const StoreProblem& p : store_->Problems()) lines << Utf8(StoreProblemText(p, language_));
    lines << extraProblems_;
    problems_->setText(lines.join('\n'));
    problems_->setVisible(!lines.isEmpty());
    UpdateButtons();
}

QString HistoryWindow::CurrentFileName() const {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item || item->data(0, kUnreadableRole).toBool()) return {};
    return item->data(0, kFileRole).toString();
}

void HistoryWindow::MarkUnreadable(const QString& fileName) {
    store_->Load(fileName.toStdString());  // records the mark in the store for later listings
    Refresh();
}

void HistoryWindow::UpdateButtons() {
    const bool readable = !CurrentFileName().isEmpty();
    open_->setEnabled(readable);
    compare_->setEnabled(readable);
    note_->setEnabled(list_->currentItem() != nullptr);
    showFile_->setEnabled(list_->currentItem() != nullptr);
}

void HistoryWindow::NoteEdited(QTreeWidgetItem* item, int column) {
    if (filling_ || column != NoteColumn) return;
    const StoreResult r = store_->SetNote(item->data(0, kFileRole).toString().toStdString(),
                                          item->text(NoteColumn).toStdString());
    if (!r.ok) AddProblem(QString::fromUtf8(kNoteNotStored.In(language_)) + ": " + Utf8(r.error));
}

void HistoryWindow::AddProblem(const QString& line) {
    extraProblems_ << line;
    problems_->setText(problems_->text().isEmpty() ? line : problems_->text() + "\n" + line);
    problems_->setVisible(true);
}

void HistoryWindow::ShowFile() {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item) return;
    // The folder is what a file manager can show everywhere; the file is named in the tooltip.
    opener_(Utf8(store_->Folder()));
}

}  // namespace korvan
