#include "ui/history/history_window.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QDesktopServices>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimeZone>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "history/restore_groups.h"
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
const LocalizedText kCompare = {"&Porovnat", "&Compare", "&Unterschiede"};
const LocalizedText kNote = {"&Poznámka", "&Note", "&Notiz"};
const LocalizedText kShowFile = {"Zobrazit &soubor", "Show &file", "&Datei zeigen"};
const LocalizedText kUnreadable = {"nečitelný", "unreadable", "unlesbar"};
const LocalizedText kGroupTip = {
    "Body obnovy krátce po sobě; Otevřít a Porovnat berou nejnovější z nich",
    "Restore points made shortly one after another; Open and Compare take the newest",
    "Kurz nacheinander angelegte Wiederherstellungspunkte; Öffnen und Unterschiede nehmen den "
    "neuesten"};
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
    // The time-zone form: Qt 6.8 deprecates the constructor that takes Qt::UTC.
    const QDateTime t(utc.date(), utc.time(), QTimeZone::utc());
    return QLocale::system().toString(t.toLocalTime(), QLocale::ShortFormat);
}

QDateTime LocalDateTime(const QString& stamp) {
    const QDateTime utc = QDateTime::fromString(stamp, "yyyyMMdd'T'HHmmss'Z'");
    return QDateTime(utc.date(), utc.time(), QTimeZone::utc()).toLocalTime();
}

// "8.12.26 10:01–10:14", the date written once when both ends share it.
QString TimeRange(const QString& oldest, const QString& newest) {
    const QDateTime from = LocalDateTime(oldest);
    const QDateTime to = LocalDateTime(newest);
    if (!from.isValid() || !to.isValid()) return oldest + QChar(0x2013) + newest;
    const QLocale locale = QLocale::system();
    const QString end = from.date() == to.date() ? locale.toString(to.time(), QLocale::ShortFormat)
                                                 : locale.toString(to, QLocale::ShortFormat);
    return locale.toString(from, QLocale::ShortFormat) + QChar(0x2013) + end;
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
// time and text up front would keep the window from opening quickly. A run of points of one
// kind is one row with the points beneath it; a point on its own is a row of its own.
class HistoryModel : public QAbstractItemModel {
  public:
    HistoryModel(RestoreStore* store, QObject* parent)
        : QAbstractItemModel(parent), store_(store) {}

    void Reset(const std::vector<RestorePoint>& points, std::uint8_t language) {
        beginResetModel();
        points_ = points;
        groups_ = GroupRestorePoints(points_);
        language_ = language;
        endResetModel();
    }
    // The point a row stands for: a group row stands for its newest point.
    const RestorePoint* Point(const QModelIndex& index) const {
        const std::optional<std::size_t> i = PointIndex(index);
        return i ? &points_[*i] : nullptr;
    }
    bool IsGroup(const QModelIndex& index) const {
        return index.isValid() && index.internalId() == kTopLevel &&
               groups_[static_cast<std::size_t>(index.row())].count > 1;
    }
    // The row of a point: inside its group when the group has more than one.
    QModelIndex IndexOf(const QString& fileName) const {
        for (std::size_t g = 0; g < groups_.size(); ++g) {
            const RestoreGroup& group = groups_[g];
            for (std::size_t k = 0; k < group.count; ++k) {
                if (Utf8(points_[group.first + k].fileName) != fileName) continue;
                const QModelIndex top = index(static_cast<int>(g), 0);
                return group.count > 1 ? index(static_cast<int>(k), 0, top) : top;
            }
        }
        return {};
    }
    // The groups by their oldest point, which stays the same while the group grows.
    QString GroupKey(const QModelIndex& top) const {
        const RestoreGroup& group = groups_[static_cast<std::size_t>(top.row())];
        return Utf8(points_[group.first + group.count - 1].fileName);
    }
    int GroupCount() const { return static_cast<int>(groups_.size()); }

    std::function<void(const std::string& error)> noteFailed;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        if (row < 0 || column < 0 || column >= HistoryWindow::ColumnCount) return {};
        if (!parent.isValid()) {
            return row < GroupCount() ? createIndex(row, column, kTopLevel) : QModelIndex();
        }
        if (!IsGroup(parent) || parent.column() != 0) return {};
        const RestoreGroup& group = groups_[static_cast<std::size_t>(parent.row())];
        if (static_cast<std::size_t>(row) >= group.count) return {};
        return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (!child.isValid() || child.internalId() == kTopLevel) return {};
        return createIndex(static_cast<int>(child.internalId() - 1), 0, kTopLevel);
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (!parent.isValid()) return GroupCount();
        if (!IsGroup(parent) || parent.column() != 0) return 0;
        return static_cast<int>(groups_[static_cast<std::size_t>(parent.row())].count);
    }
    int columnCount(const QModelIndex& = {}) const override { return HistoryWindow::ColumnCount; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= HistoryWindow::ColumnCount)
            return {};
        return QString::fromUtf8(kHeaders[section].In(language_));
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == HistoryWindow::NoteColumn && !IsGroup(index)) f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (IsGroup(index)) return GroupData(index, role);
        const RestorePoint* p = Point(index);
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
        // Set apart by its slant, not by a grey that would not read on every palette.
        if (role == Qt::FontRole && p->unreadable) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || index.column() != HistoryWindow::NoteColumn || IsGroup(index))
            return false;
        const std::optional<std::size_t> i = PointIndex(index);
        if (!i) return false;
        RestorePoint* p = &points_[*i];
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
    static constexpr quintptr kTopLevel = 0;

    std::optional<std::size_t> PointIndex(const QModelIndex& index) const {
        if (!index.isValid()) return std::nullopt;
        if (index.internalId() == kTopLevel) {
            if (index.row() >= GroupCount()) return std::nullopt;
            return groups_[static_cast<std::size_t>(index.row())].first;
        }
        const RestoreGroup& group = groups_[static_cast<std::size_t>(index.internalId() - 1)];
        return group.first + static_cast<std::size_t>(index.row());
    }
    // "Programmed 37 times, 8.12.26 10:01–10:14" across the whole row.
    QVariant GroupData(const QModelIndex& index, int role) const {
        const RestoreGroup& group = groups_[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole && index.column() == HistoryWindow::TimeColumn) {
            const QString newest = Utf8(points_[group.first].time);
            const QString oldest = Utf8(points_[group.first + group.count - 1].time);
            return QString::fromStdString(GroupKindText(group.kind, group.count, language_)) +
                   ", " + TimeRange(oldest, newest);
        }
        if (role == Qt::ToolTipRole) return QString::fromUtf8(kGroupTip.In(language_));
        return {};
    }

    RestoreStore* store_;
    std::vector<RestorePoint> points_;
    std::vector<RestoreGroup> groups_;
    std::uint8_t language_ = kLanguageEnglish;
};

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
    // The arrows open the groups of points made shortly one after another.
    list_->setRootIsDecorated(true);
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
        if (current.isValid() && !model_->IsGroup(current))
            list_->edit(current.siblingAtColumn(NoteColumn));
    });
    connect(showFile_, &QPushButton::clicked, this, &HistoryWindow::ShowFile);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &HistoryWindow::UpdateButtons);
    // The points of a group stand one step in and say "Programmed": the columns widen for them.
    connect(list_, &QTreeView::expanded, this, &HistoryWindow::FitColumns);
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
    // The groups that were open stay open, and the row chosen stays chosen.
    QStringList open;
    for (int row = 0; row < model_->GroupCount(); ++row) {
        const QModelIndex top = model_->index(row, 0);
        if (model_->IsGroup(top) && list_->isExpanded(top)) open << model_->GroupKey(top);
    }
    const bool groupChosen = model_->IsGroup(list_->currentIndex());
    model_->Reset(store_->List(), language_);
    for (int row = 0; row < model_->GroupCount(); ++row) {
        const QModelIndex top = model_->index(row, 0);
        const bool group = model_->IsGroup(top);
        list_->setFirstColumnSpanned(row, QModelIndex(), group);
        if (group && open.contains(model_->GroupKey(top))) list_->expand(top);
    }
    QModelIndex chosen = current.isEmpty() ? QModelIndex() : model_->IndexOf(current);
    // A group row stands for its newest point: it stays chosen as the group grows.
    if (chosen.isValid() && groupChosen && chosen.parent().isValid()) chosen = chosen.parent();
    if (chosen.isValid() && chosen.parent().isValid()) list_->expand(chosen.parent());
    list_->setCurrentIndex(chosen.isValid() ? chosen : model_->index(0, 0));
    FitColumns();

    QStringList lines;
    for (const StoreProblem& p : store_->Problems()) lines << Utf8(StoreProblemText(p, language_));
    lines << extraProblems_;
    problems_->setText(lines.join('\n'));
    problems_->setVisible(!lines.isEmpty());
    UpdateButtons();
}

QString HistoryWindow::CurrentFileName() const {
    const RestorePoint* p = model_->Point(list_->currentIndex());
    if (!p || p->unreadable) return {};
    return Utf8(p->fileName);
}

void HistoryWindow::MarkUnreadable(const QString& fileName) {
    store_->Load(fileName.toStdString());  // records the mark in the store for later listings
    Refresh();
}

void HistoryWindow::FitColumns() {
    for (int column = TimeColumn; column < NoteColumn; ++column)
        list_->resizeColumnToContents(column);
}

void HistoryWindow::UpdateButtons() {
    const bool readable = !CurrentFileName().isEmpty();
    const bool any = model_->Point(list_->currentIndex()) != nullptr;
    open_->setEnabled(readable);
    compare_->setEnabled(readable);
    note_->setEnabled(any && !model_->IsGroup(list_->currentIndex()));
    showFile_->setEnabled(any);
}

void HistoryWindow::AddProblem(const QString& line) {
    extraProblems_ << line;
    problems_->setText(problems_->text().isEmpty() ? line : problems_->text() + "\n" + line);
    problems_->setVisible(true);
}

void HistoryWindow::ShowFile() {
    if (!model_->Point(list_->currentIndex())) return;
    // The folder is what a file manager can show everywhere; the file is named in the tooltip.
    opener_(Utf8(store_->Folder()));
}

}  // namespace korvan
