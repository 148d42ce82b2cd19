// The main menu: owns the menu bar's menus and items with their design names, captions
// (access letters; the language table replaces them), shortcut keys and the check marks of
// the port and language items. It connects nothing: the window wires every item. New items
// go into the menu they belong to through the QMenu pointers below.
#pragma once

#include <QKeySequence>
#include <array>
#include <cstdint>

class QAction;
class QMainWindow;
class QMenu;
class QString;

namespace korvan {

class MainMenu {
  public:
    static constexpr int kComItems = 10;

    // Builds the menu bar of `window`.
    explicit MainMenu(QMainWindow& window);

    // Adds a named item, with its shortcut working wherever the focus is in the window.
    static QAction* AddItem(QMenu* menu, const char* name, const QString& text,
                            const QKeySequence& shortcut = {});

    // Exactly the item of port `comPort` (1..10) carries the check mark.
    void CheckComItem(int comPort);
    // The port number (1..10) of a Com item, 0 for any other action.
    int ComNumberOf(const QAction* item) const;
    void CheckLanguage(std::uint8_t languageIndex);

    QMenu* fileMenu = nullptr;      // "MenuFile"
    QMenu* comMenu = nullptr;       // "MenuCom"
    QMenu* deviceMenu = nullptr;    // "MenuDevice"
    QMenu* toolsMenu = nullptr;     // "MenuTools"
    QMenu* languageMenu = nullptr;  // "MenuLanguage"
    QMenu* helpMenu = nullptr;      // "MenuHelp"

    QAction* newItem = nullptr;                  // "MenuNew"
    QAction* openItem = nullptr;                 // "MenuOpen" (F3, Ctrl+O)
    QMenu* recentMenu = nullptr;                 // "MenuRecent"
    QAction* saveItem = nullptr;                 // "MenuSave" (F2, Ctrl+S)
    QAction* saveAsItem = nullptr;               // "MenuSaveAs"
    QAction* printItem = nullptr;                // "MenuPrint"
    QAction* exportPdfItem = nullptr;            // "MenuExportPdf"
    QAction* exitItem = nullptr;                 // "MenuExit"
    std::array<QAction*, kComItems> comItems{};  // "MenuCom1".."MenuCom10"
    QAction* readItem = nullptr;                 // "MenuRead"
    QAction* verifyItem = nullptr;               // "MenuVerify"
    QAction* programItem = nullptr;              // "MenuProgram"
    QAction* advanceMinusItem = nullptr;         // "AdvanceMinus"
    QAction* advancePlusItem = nullptr;          // "AdvancePlus"
    QAction* englishItem = nullptr;              // "MenuEnglish"
    QAction* czechItem = nullptr;                // "MenuCzech"
    QAction* germanItem = nullptr;               // "MenuGerman"
    QAction* contentsItem = nullptr;             // "MenuContens"
    QAction* aboutItem = nullptr;                // "MenuAbout"
};

}  // namespace korvan
