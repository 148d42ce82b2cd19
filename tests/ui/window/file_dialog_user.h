// A user closing a real file dialog: typing a path and Enter, a double click on the file, or
// Escape. The window tests use it to show that nothing of a dialog stays on screen afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace korvan::testing {

enum class CloseBy { TypedPathAndEnter, DoubleClick, Cancel };

// Runs `dialog` (the program's own, not the desktop's) and closes it as a user would, choosing
// `path`; returns what the dialog returned. For a double click the dialog must show the
// file's folder.
inline QString CloseLikeAUser(QFileDialog& d, CloseBy how, const QString& path) {
    d.setOption(QFileDialog::DontUseNativeDialog);
    // What the user does; an assertion that fails leaves it early, never the dialog open.
    auto act = [&d, how, path] {
        auto* name = d.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        if (how == CloseBy::TypedPathAndEnter) {
            d.activateWindow();
            (void)QTest::qWaitForWindowActive(&d);
            name->clear();
            // Typed, so that the completer works on it (its own inline completion can add to
            // the typed name; the user sees and keeps the full path).
            // In the file's own folder the user types its name, elsewhere the whole path.
            const QFileInfo file(path);
            const QString typed =
                d.directory().absolutePath() == file.absolutePath() ? file.fileName() : path;
            QTest::keyClicks(name, typed);
            // The completer's list of matching names may have opened over the field; the user
            // looks past it and presses Enter in the field.
            while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            if (name->text() != typed) name->setText(typed);
            QTest::keyClick(name, Qt::Key_Enter);
            // The dialog may not have become the active window, so the Enter key may not
            // reach its default button: the button is clicked then.
            if (d.isVisible()) {
                if (auto* box = d.findChild<QDialogButtonBox*>("buttonBox")) {
                    for (auto role : {QDialogButtonBox::Open, QDialogButtonBox::Save}) {
                        if (QPushButton* accept = box->button(role)) accept->click();
                    }
                }
            }
        } else if (how == CloseBy::Cancel) {
            QTest::keyClick(name, Qt::Key_Escape);
        } else {
            auto* view = d.findChild<QListView*>("listView");
            ASSERT_NE(view, nullptr);
            const QString file = QFileInfo(path).fileName();
            QModelIndex item;
            (void)QTest::qWaitFor([&] {
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
                    const QModelIndex i = view->model()->index(row, 0, view->rootIndex());
                    if (i.data().toString() == file) item = i;
                }
                return item.isValid();
            });
            ASSERT_TRUE(item.isValid());
            const QPoint at = view->visualRect(item).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        }
    };
    QTimer::singleShot(0, &d, [&d, act] {
        act();
        if (d.isVisible()) d.reject();  // never left hanging
    });
    return d.exec() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
}

// After a dialog closed: what its folder model still delivers has arrived, no other top-level
// window shows, no popup (the name completer's list) is open, and `window` has the focus.
inline void ExpectOnlyTheWindowLeft(QWidget* window) {
    QTest::qWait(200);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != window && w->isVisible())
            ADD_FAILURE() << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

}  // namespace korvan::testing
