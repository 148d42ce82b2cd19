#include "ui/history/history_window.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimeZone>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "params/binding.h"
#include "params/localized_text.h"

namespace korvan {

namespace {

constexpr int kRowsMeasured = 100;

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
    // QTimeZone::utc(), not Qt::UTC: Qt 6.8 deprecates the time-spec constructor.
    const QDateTime t(utc.date(), utc.time(), QTimeZone::utc());
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

// The rows are made as the view asks for them: with thousands of points, formatting every
// time and text up front would keep the window from opening quickly.
class HistoryModel : public QAbstractTableModel {
  public:
    HistoryModel(RestoreStore* store, QObject* parent)
        : QAbstractTableModel(parent), store_(store) {}

    void Reset(const std::vector<RestorePoint>& points, std::uint8_t language) {
        beginResetModel();
        points_ = points;
        language_ = language;
        endResetModel();
    }
    const RestorePoint* Point(int row) const {
        return row >= 0 && row < static_cast<int>(points_.size())
                   ? &points_[static_cast<std::size_t>(row)]
                   : nullptr;
    }
    int Row(const QString& fileName) const {
        for (std::size_t i = 0; i < points_.size(); ++i) {
            if (Utf8(points_[i].fileName) == fileName) return static_cast<int>(i);
        }
        return -1;
    }

    std::function<void(const std::string& error)> noteFailed;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(points_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : HistoryWindow::ColumnCount;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= HistoryWindow::ColumnCount)
            return {};
        return QString::fromUtf8(kHeaders[section].In(language_));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == HistoryWindow::NoteColumn) f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const RestorePoint* p = Point(index.row());
        if (!p) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            switch (index.column()) {
                case HistoryWindow::TimeColumn:
                    return LocalTime(p->time);
                case HistoryWindow::KindColumn: {
                    QString kind = QString::fromUtf8(RestoreKindText(p->kind, language_));
                    if (p->unreadable)
                        kind += " (" + QString::fromUtf8(kUnreadable.In(language_)) + ")";
                    return kind;
                }
                case HistoryWindow::UnitColumn:
                    return UnitText(p->unit);
                case HistoryWindow::NoteColumn:
                    return Utf8(p->note);
            }
        }
        if (role == Qt::ToolTipRole) {
            return Utf8(p->fileName) +
                   (p->sourcePath.empty() ? QString() : "\n" + Utf8(p->sourcePath));
        }
        if (role == Qt::ForegroundRole && p->unreadable) return QColor(Qt::gray);
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || index.column() != HistoryWindow::NoteColumn) return false;
        RestorePoint* p = &points_[static_cast<std::size_t>(index.row())];
        const std::string note = value.toString().toStdString();
        if (note == p->note) return false;
        const StoreResult r = store_->SetNote(p->fileName, note);
        if (!r.ok) {
            if (noteFailed) noteFailed(r.error);
            return false;
        }
        p->note = note;
        emit dataChanged(index, index);
        return true;
    }

  private:
    RestoreStore* store_;
    std::vector<RestorePoint> points_;
    std::uint8_t language_ = kLanguageEnglish;
};

namespace {}  // namespace

HistoryWindow::HistoryWindow(RestoreStore* store, QWidget* parent)
    : QWidget(parent), store_(store) {
    setObjectName("HistoryWindow");
    model_ = new HistoryModel(store, this);
    model_->noteFailed = [this](const std::string& error) {
        AddProblem(QString::fromUtf8(kNoteNotStored.In(language_)) + ": " + Utf8(error));
    };
    list_ = new QTreeView(this);
    list_->setObjectName("TreeHistory");
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);  // keeps a long history quick to show
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Column widths from the first rows only: the texts of a column are all alike.
    list_->header()->setResizeContentsPrecision(kRowsMeasured);
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
        const QModelIndex current = list_->currentIndex();
        if (current.isValid()) list_->edit(model_->index(current.row(), NoteColumn));
    });
    connect(showFile_, &QPushButton::clicked, this, &HistoryWindow::ShowFile);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &HistoryWindow::UpdateButtons);
    connect(list_, &QTreeView::doubleClicked, this, [this] {
        if (!CurrentFileName().isEmpty()) emit openRequested(CurrentFileName());
    });
    ApplyTexts();
    UpdateButtons();
}

QAbstractItemModel* HistoryWindow::Model() const {
    return model_;
}

void HistoryWindow::SetLanguage(std::uint8_t language) {
    language_ = language;
    ApplyTexts();
    Refresh();
}

void HistoryWindow::ApplyTexts() {
    setWindowTitle(QString::fromUtf8(kTitle.In(language_)));
    open_->setText(QString::fromUtf8(kOpen.In(language_)));
    compare_->setText(QString::fromUtf8(kCompare.In(language_)));
    note_->setText(QString::fromUtf8(kNote.In(language_)));
    showFile_->setText(QString::fromUtf8(kShowFile.In(language_)));
}

void HistoryWindow::Refresh() {
    const QString current = CurrentFileName();
    model_->Reset(store_->List(), language_);
    const int row = current.isEmpty() ? -1 : model_->Row(current);
    list_->setCurrentIndex(model_->index(row >= 0 ? row : 0, 0));
    for (int column = TimeColumn; column < NoteColumn; ++column)
        list_->resizeColumnToContents(column);

    QStringList lines;
    for (const StoreProblem& p : store_->Problems()) lines << Utf8(StoreProblemText(p, language_));
    lines << extraProblems_;
    problems_->setText(lines.join('\n'));
    problems_->setVisible(!lines.isEmpty());
    UpdateButtons();
}

QString HistoryWindow::CurrentFileName() const {
    const RestorePoint* p = model_->Point(list_->currentIndex().row());
    if (!p || p->unreadable) return {};
    return Utf8(p->fileName);
}

void HistoryWindow::MarkUnreadable(const QString& fileName) {
    store_->Load(fileName.toStdString());  // records the mark in the store for later listings
    Refresh();
}

void HistoryWindow::UpdateButtons() {
    const bool readable = !CurrentFileName().isEmpty();
    const bool any = model_->Point(list_->currentIndex().row()) != nullptr;
    open_->setEnabled(readable);
    compare_->setEnabled(readable);
    note_->setEnabled(any);
    showFile_->setEnabled(any);
}

void HistoryWindow::AddProblem(const QString& line) {
    extraProblems_ << line;
    problems_->setText(problems_->text().isEmpty() ? line : problems_->text() + "\n" + line);
    problems_->setVisible(true);
}

void HistoryWindow::ShowFile() {
    if (!model_->Point(list_->currentIndex().row())) return;
    // The folder is what a file manager can show everywhere; the file is named in the tooltip.
    opener_(Utf8(store_->Folder()));
}

}  // namespace korvan
