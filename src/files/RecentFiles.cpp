#include "files/RecentFiles.h"

namespace {
const QString kGroup = QStringLiteral("MRU Items");
} // namespace

void RecentFiles::SetMaxEntries(int maxEntries) {
    max_ = maxEntries < 0 ? 0 : maxEntries;
    Trim();
}

void RecentFiles::Add(const QString& entry) {
    if (entry.isEmpty()) return;
    entries_.removeAll(entry);
    entries_.prepend(entry);
    Trim();
}

void RecentFiles::Trim() {
    while (entries_.size() > max_) entries_.removeLast();
}

QString RecentFiles::EntryFor(const QString& fullPath, int imageNumber) {
    // The path keeps its case: on a case-sensitive file system a lower-cased path names
    // another file, or none.
    QString entry = fullPath;
    if (imageNumber != 1) entry += QStringLiteral(": ") + QString::number(imageNumber);
    return entry;
}

void RecentFiles::SplitEntry(const QString& entry, QString& name, int& imageNumber) {
    // The last ": " followed by a number, so that a folder name holding ": " stays whole.
    name = entry;
    imageNumber = 1;
    const qsizetype at = entry.lastIndexOf(QStringLiteral(": "));
    if (at < 0) return;
    bool ok = false;
    const int n = entry.mid(at + 2).toInt(&ok);
    if (!ok || n < 1) return;
    name = entry.left(at);
    imageNumber = n;
}

void RecentFiles::Load(QSettings& settings) {
    entries_.clear();
    settings.beginGroup(kGroup);
    const int count = settings.value(QStringLiteral("Count"), 0).toInt();
    // Read in reverse so that Add keeps the stored order and drops duplicates.
    for (int i = qMin(count, 1000); i >= 1; --i) {
        const QString entry = settings.value(QStringLiteral("Item%1").arg(i)).toString();
        if (!entry.isEmpty()) {
            entries_.removeAll(entry);
            entries_.prepend(entry);
        }
    }
    settings.endGroup();
    Trim();
}

void RecentFiles::Save(QSettings& settings) const {
    settings.beginGroup(kGroup);
    settings.remove(QString()); // the whole group, so no stale items stay behind
    settings.setValue(QStringLiteral("Count"), int(entries_.size()));
    for (qsizetype i = 0; i < entries_.size(); ++i)
        settings.setValue(QStringLiteral("Item%1").arg(i + 1), entries_[i]);
    settings.endGroup();
}
