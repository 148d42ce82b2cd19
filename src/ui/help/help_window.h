// The manual of the current language in a window of the program's own: it needs no desktop
// opener, browser or word processor, and a missing or damaged manual is reported instead of
// silently doing nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>

class QAction;
class QTextBrowser;
class QToolBar;

namespace korvan {

// The manual's file name in a language (0 Czech, 1 English, 2 German): manual_cs.html ...
QString ManualFileName(std::uint8_t language);

// Where the manual is looked for, in this order: the program's folder, share/doc/korvan2
// beside it (an installed program), the documentation folder the program was built for, and
// the source tree's docs/manual (a program run from the build folder).
QStringList ManualFolders();

// Why a file found under the manual's name cannot be shown.
enum class ManualDamage { None, NotAFile, Unreadable, Empty, NotHtml };

struct ManualLookup {
    QString fileName;     // the name looked for
    QString path;         // the usable manual, empty when none was found
    QStringList tried;    // every path looked at, in order
    QString damagedPath;  // the first file under that name that cannot be shown
    ManualDamage damage = ManualDamage::None;

    bool Found() const { return !path.isEmpty(); }
};

// The manual of a language in the folders, the first usable one winning. A damaged copy does
// not hide a good one further down the list.
ManualLookup FindManual(std::uint8_t language, const QStringList& folders = ManualFolders());

// What to tell the user when FindManual found nothing usable, in the language: names the
// file and, for a missing one, every place it was looked for.
QString ManualProblemText(std::uint8_t language, const ManualLookup& lookup);

// A browser with back, forward and home, opened beside the main window (not modal).
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 900;
    static constexpr int kHeight = 700;
    // The widest picture the manual holds: it fits beside the page's margins and the scroll bar
    // of a help window at its first size, so no picture needs scrolling sideways.
    static constexpr int kWidestPicture = 840;

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows and raises the window with the manual of the language; without a usable manual
    // it shows the problem text in its place. Returns whether the manual is shown.
    bool ShowManual(std::uint8_t language, const QStringList& folders = ManualFolders());

    // The text of the last ShowManual that found no manual; empty after one that did.
    const QString& Problem() const { return problem_; }
    QTextBrowser* Browser() const { return browser_; }

  private:
    void ApplyLanguage(std::uint8_t language);

    QToolBar* toolBar_;
    QAction* back_;
    QAction* forward_;
    QAction* home_;
    QTextBrowser* browser_;
    QString problem_;
};

}  // namespace korvan
