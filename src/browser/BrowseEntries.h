#pragma once

#include <QString>

#include <vector>

// One thing the browser shows: a folder, the parent folder or an image file of the folder.
struct BrowseEntry {
    QString name; // within the folder; ".." for the parent
    bool file = false;
    bool parent = false;
};

// The entries of folder in display order: the parent (not at the root), the sub-folders, then
// every file whose name GFXFile recognises, each group by name. Hidden names are left out.
std::vector<BrowseEntry> ScanFolder(const QString& folder);

// The caption of a folder entry: its name in upper case ("..", the parent, as it is).
QString FolderCaption(const BrowseEntry& entry);
