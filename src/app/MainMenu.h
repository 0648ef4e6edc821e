#pragma once

#include <QString>

#include <span>

class QMenuBar;
class QWidget;

// One row of the main menu. Rows are in menu order; depth 0 opens a menu of the bar, depth 1 is
// an entry of it, depth 2 an entry of the submenu above. A caption "-" is a separator.
struct MainMenuEntry {
    int depth;
    const char* caption;            // with & access keys, as the language file may replace it
    const char* handler;            // see ControlName
    const char* shortcut = nullptr; // QKeySequence portable text
    bool submenu = false;
};

// The control name of a handler, used as the objectName of its action or menu so that language
// entries such as "New1.Caption" reach it: the handler less a trailing "Click" (New1Click -> New1,
// OpenImageClick -> OpenImage); a handler that does not end in "Click" is the name itself
// (SavePicture). Menus that have no handler of their own are listed under the usual control
// name: their caption's letters and a running number (Brush1, Halve1; Rotate2 because the Image
// menu's Rotate1 is taken).
QString ControlName(const char* handler);

std::span<const MainMenuEntry> MainMenuTable();

// Builds the table into bar. Every action and menu is owned by owner directly (not by its menu),
// so a window translation of owner finds each one by its control name. Nothing is connected or
// disabled here.
void BuildMainMenu(QWidget* owner, QMenuBar* bar);
