// The main menu: captions with access letters (the English design texts; the language table
// replaces them), shortcut keys and the check marks of the port and language items.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/window/form_hlav.h"

namespace korvan {

QAction* TFormHlav::MakeAction(QMenu* menu, const char* name, const QString& text,
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

void TFormHlav::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    auto addMenu = [&](const char* name, const QString& title) {
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(name);
        return menu;
    };
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* file = addMenu("MenuFile", "&File");
    connect(MakeAction(file, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)), &QAction::triggered,
            this, &TFormHlav::MenuNewClick);
    separator(file, "N3");
    // Opening, saving and printing come with the file dialogs and the printer.
    MakeAction(file, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    separator(file, "N1");
    MakeAction(file, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    separator(file, "N2");
    MakeAction(file, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(file, "N4");
    connect(MakeAction(file, "MenuExit", "E&xit"), &QAction::triggered, this, &TFormHlav::MenuExitClick);

    QMenu* com = addMenu("MenuCom", "&Com");
    for (int n = 1; n <= 10; ++n) {
        // "Com &1" .. "Com &9", "Com 1&0".
        const QString caption = n < 10 ? QString("Com &%1").arg(n) : QString("Com 1&0");
        const QByteArray name = "MenuCom" + QByteArray::number(n);
        QAction* item = MakeAction(com, name.constData(), caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { MenuCom1Click(item); });
        menuCom_[n - 1] = item;
    }

    QMenu* device = addMenu("MenuDevice", "&Device");
    connect(MakeAction(device, "MenuRead", "&Read", QKeySequence(Qt::Key_F7)), &QAction::triggered, this,
            &TFormHlav::MenuReadClick);
    connect(MakeAction(device, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8)), &QAction::triggered,
            this, &TFormHlav::MenuVerifyClick);
    connect(MakeAction(device, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9)), &QAction::triggered,
            this, &TFormHlav::MenuProgramClick);

    // The advance tools act on the cell under the live cursor; they come with the editing
    // tools.
    QMenu* tools = addMenu("MenuTools", "&Tools");
    MakeAction(tools, "AdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4));
    MakeAction(tools, "AdvancePlus", "Advance +", QKeySequence(Qt::Key_F5));

    QMenu* language = addMenu("MenuLanguage", "&Language");
    menuEnglish_ = MakeAction(language, "MenuEnglish", "&English");
    menuCzech_ = MakeAction(language, "MenuCzech", "&Czech");
    menuGerman_ = MakeAction(language, "MenuGerman", "&German");
    for (QAction* item : {menuEnglish_, menuCzech_, menuGerman_}) item->setCheckable(true);
    connect(menuEnglish_, &QAction::triggered, this, &TFormHlav::MenuEnglishClick);
    connect(menuCzech_, &QAction::triggered, this, &TFormHlav::MenuCzechClick);
    connect(menuGerman_, &QAction::triggered, this, &TFormHlav::MenuGermanClick);

    QMenu* help = addMenu("MenuHelp", "&Help");
    MakeAction(help, "MenuContens", "&Contents...", QKeySequence(Qt::Key_F1));
    MakeAction(help, "MenuAbout", "&About...");
}

}  // namespace korvan
