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
    QString entry = fullPath.toLower();
    if (imageNumber != 1) entry += QStringLiteral(": ") + QString::number(imageNumber);
    return entry;
}

void RecentFiles::SplitEntry(const QString& entry, QString& name, int& imageNumber) {
    const qsizetype at = entry.indexOf(QStringLiteral(": "));
    imageNumber = 1;
    if (at < 0) {
        name = entry;
        return;
    }
    name = entry.left(at);
    bool ok = false;
    const int n = entry.mid(at + 2).trimmed().toInt(&ok);
    if (ok && n >= 1) imageNumber = n;
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
