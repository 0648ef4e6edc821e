#pragma once

#include "filters/CompDescriptor.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Finding the components at start-up: the table and a menu model that the shell turns into
// menus (and the palette into its component group).
namespace comp {

class ScanCache;

inline constexpr int MaxComponents = 128;

struct MenuEntry {
    int component = 0;            // index into ComponentTable::components
    bool separatorBefore = false; // the menu held exactly one entry before this one
};

// One subfolder's submenu: "Browse", a separator, then its components.
struct MenuCategory {
    QString category; // upper case, untranslated ("MY" for "My.Effects")
    std::vector<MenuEntry> entries;
};

struct MenuModel {
    std::vector<MenuEntry> top; // components at the top of Comps, into the components menu
    std::vector<MenuCategory> categories; // in the order found, numbered from 1 by the shell
};

struct ComponentTable {
    std::vector<Component> components; // at most MaxComponents, in the order found
    QStringList categories;            // every subfolder's category, in order
    MenuModel menu;
};

using LogLine = std::function<void(const QString&)>;

struct ScanOptions {
    LogLine log;                // one log line; empty when not logging
    NameTranslator translate;   // for "Help=" without ","
    int topMenuEntries = 0;     // entries already in the menu the top components go into
    ScanCache* cache = nullptr; // descriptors read before; none: every library is loaded
};

// The category of a folder: its last path element in lower case, cut before its first ".",
// then in upper case.
QString CategoryOf(const QString& folderPath);

// Walks compsFolder for "*.ovc" files (names sorted, a folder's files before its subfolders, no
// symbolic links to folders followed), loads each to read its descriptor and frees it again
// (unless the cache has it).
ComponentTable Scan(const QString& compsFolder, const ScanOptions& options);

} // namespace comp
