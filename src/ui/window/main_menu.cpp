#include "ui/window/main_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "params/binding.h"

namespace korvan {

QAction* MainMenu::AddItem(QMenu* menu, const char* name, const QString& text,
                           const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // The shortcut works wherever the focus is in the window, a field being typed into
        // included: F9 then programs what the field holds.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

MainMenu::MainMenu(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName("MainMenu1");

    auto addMenu = [&](const char* name, const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(name);
        return menu;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(name);
    };

    fileMenu = addMenu("MenuFile", "&File");
    newItem = AddItem(fileMenu, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    separator(fileMenu, "N3");
    openItem = AddItem(fileMenu, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    recentMenu = fileMenu->addMenu("Recent &files");
    recentMenu->setObjectName("MenuRecent");
    separator(fileMenu, "N1");
    saveItem = AddItem(fileMenu, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    saveAsItem = AddItem(fileMenu, "MenuSaveAs", "Save &As...",
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    separator(fileMenu, "N2");
    printItem = AddItem(fileMenu, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    exportPdfItem = AddItem(fileMenu, "MenuExportPdf", "&Export PDF...");
    separator(fileMenu, "N4");
    exitItem = AddItem(fileMenu, "MenuExit", "E&xit");

    comMenu = addMenu("MenuCom", "&Com");
    for (int n = 1; n <= kComItems; ++n) {
        // "Com &1" .. "Com &9", "Com 1&0".
        const QString caption = n < 10 ? "Com &" + QString::number(n) : QString("Com 1&0");
        const QByteArray name = "MenuCom" + QByteArray::number(n);
        QAction* item = AddItem(comMenu, name.constData(), caption);
        item->setCheckable(true);
        comItems[n - 1] = item;
    }

    deviceMenu = addMenu("MenuDevice", "&Device");
    readItem = AddItem(deviceMenu, "MenuRead", "&Read", QKeySequence(Qt::Key_F7));
    verifyItem = AddItem(deviceMenu, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8));
    programItem = AddItem(deviceMenu, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9));

    // The advance tools act on the cell under the live cursor.
    toolsMenu = addMenu("MenuTools", "&Tools");
    advanceMinusItem = AddItem(toolsMenu, "AdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4));
    advancePlusItem = AddItem(toolsMenu, "AdvancePlus", "Advance +", QKeySequence(Qt::Key_F5));

    languageMenu = addMenu("MenuLanguage", "&Language");
    englishItem = AddItem(languageMenu, "MenuEnglish", "&English");
    czechItem = AddItem(languageMenu, "MenuCzech", "&Czech");
    germanItem = AddItem(languageMenu, "MenuGerman", "&German");
    for (QAction* item : {englishItem, czechItem, germanItem}) item->setCheckable(true);

    helpMenu = addMenu("MenuHelp", "&Help");
    contentsItem = AddItem(helpMenu, "MenuContens", "&Contents...", QKeySequence(Qt::Key_F1));
    aboutItem = AddItem(helpMenu, "MenuAbout", "&About...");

    // The keys of the desktop beside the ones tuners know: the menu shows F3 and F2 first.
    openItem->setShortcuts({QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_O)});
    saveItem->setShortcuts({QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_S)});
}

void MainMenu::CheckComItem(int comPort) {
    for (int n = 1; n <= kComItems; ++n) comItems[n - 1]->setChecked(comPort == n);
}

int MainMenu::ComNumberOf(const QAction* item) const {
    for (int n = 1; n <= kComItems; ++n) {
        if (comItems[n - 1] == item) return n;
    }
    return 0;
}

void MainMenu::CheckLanguage(std::uint8_t languageIndex) {
    czechItem->setChecked(languageIndex == kLanguageCzech);
    englishItem->setChecked(languageIndex == kLanguageEnglish);
    germanItem->setChecked(languageIndex == kLanguageGerman);
}

}  // namespace korvan
