#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

// The Reopen list: newest first, no duplicates, at most maxEntries. An entry is a full path,
// followed by ": n" for image n of a multi-image file when n is not 1.
class RecentFiles {
public:
    explicit RecentFiles(int maxEntries) : max_(maxEntries < 0 ? 0 : maxEntries) {}

    const QStringList& Entries() const { return entries_; }
    int MaxEntries() const { return max_; }
    // Drops the oldest entries beyond the new limit.
    void SetMaxEntries(int maxEntries);
    // Puts entry at the top, removing an equal entry further down.
    void Add(const QString& entry);

    static QString EntryFor(const QString& fullPath, int imageNumber);
    // Splits at the last ": " that a number >= 1 follows; otherwise the whole entry is the name
    // and the number is 1.
    static void SplitEntry(const QString& entry, QString& name, int& imageNumber);

    // Group "MRU Items": "Count" and "Item1".."ItemN", newest first.
    void Load(QSettings& settings);
    void Save(QSettings& settings) const;

private:
    void Trim();

    QStringList entries_;
    int max_;
};
