// The history window: the restore points newest first with time, kind, unit and note, and
// what the tuner does with one (open it, compare it with the current parameters, write a
// note, find its file). Opening and comparing are the main window's business: this window
// only asks for them.
#pragma once

#include <QWidget>
#include <functional>

#include "history/restore_store.h"

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace korvan {

class HistoryModel;

class HistoryWindow : public QWidget {
    Q_OBJECT

  public:
    enum Column { TimeColumn, KindColumn, UnitColumn, NoteColumn, ColumnCount };

    // The store is not owned and must outlive the window.
    explicit HistoryWindow(RestoreStore* store, QWidget* parent = nullptr);

    void SetLanguage(std::uint8_t language);
    // Lists the store afresh (after a new point, or when the window is shown).
    void Refresh();
    // The point of the current row, or "" when none (or an unreadable one) is chosen.
    QString CurrentFileName() const;
    // Marks a point that could not be read when the main window tried to open or compare it.
    void MarkUnreadable(const QString& fileName);

    // How "show file in folder" reaches the desktop; a test replaces it.
    void SetFolderOpener(std::function<void(const QString& path)> opener) {
        opener_ = std::move(opener);
    }

    QTreeView* List() const { return list_; }
    QAbstractItemModel* Model() const;
    QLabel* ProblemsLabel() const { return problems_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* CompareButton() const { return compare_; }
    QPushButton* NoteButton() const { return note_; }
    QPushButton* ShowFileButton() const { return showFile_; }

  signals:
    void openRequested(const QString& fileName);
    void compareRequested(const QString& fileName);

  private:
    void ApplyTexts();
    void UpdateButtons();
    // The time, kind and unit columns as wide as their texts, those of an open group too.
    void FitColumns();
    void ShowFile();
    void AddProblem(const QString& line);

    RestoreStore* store_;
    std::uint8_t language_ = 1;
    QStringList extraProblems_;
    HistoryModel* model_;
    QTreeView* list_;
    QLabel* problems_;
    QPushButton* open_;
    QPushButton* compare_;
    QPushButton* note_;
    QPushButton* showFile_;
    std::function<void(const QString&)> opener_;
};

}  // namespace korvan
