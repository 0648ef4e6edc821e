#pragma once

// Builders shared by the browser tests: picture files, a recording stand-in for the window's
// cells, and a whole browse of a folder through the image worker.

#include "browser/BrowseEntries.h"
#include "browser/BrowseThread.h"
#include "browser/ThumbCache.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <map>

// A w x h picture of one colour (0xRRGGBB) in the format of the name's extension.
inline void WritePicture(const QString& path, int w, int h, uint32_t colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor::fromRgb(colour));
    ASSERT_TRUE(img.save(path, nullptr, 100)) << path.toStdString();
}

struct FakeCells : BrowseCells {
    std::map<int, int> entryOfCell;
    std::map<int, Buffer> thumbOfEntry;
    std::map<int, QString> captionOfEntry;
    void HideCell(int cell) override {
        const auto it = entryOfCell.find(cell);
        ASSERT_NE(it, entryOfCell.end()) << "hid an empty cell";
        thumbOfEntry.erase(it->second);
        captionOfEntry.erase(it->second);
        entryOfCell.erase(it);
    }
    void ShowCell(int cell, int entry, const Buffer& thumb, const QString& caption) override {
        ASSERT_EQ(entryOfCell.count(cell), 0u) << "cell " << cell << " was in use";
        entryOfCell[cell] = entry;
        thumbOfEntry[entry] = thumb;
        captionOfEntry[entry] = caption;
    }
};

// Serves the worker's calls until it has drawn its range.
inline void WaitIdle(TBrowseThread& thread) {
    QDeadlineTimer deadline(20000);
    while (!thread.Idle() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(thread.Idle()) << "the worker did not finish its range";
}

struct Shown {
    Buffer thumb;
    QString caption;
};

// Browses folder once from start to end as the window does (cache opened first, closed after the
// worker stopped); what each entry showed, by name. cacheOpened tells whether the cache was used.
inline std::map<QString, Shown> BrowseOnce(const QString& folder, bool caching = true,
                                           bool* cacheOpened = nullptr) {
    const std::vector<BrowseEntry> entries = ScanFolder(folder);
    FakeCells cells;
    ThumbCache cache(folder);
    const bool open = caching && cache.Open();
    if (cacheOpened) *cacheOpened = open;
    {
        TBrowseImageThread worker(cells, entries, folder, open ? &cache : nullptr, {});
        worker.Start();
        worker.SetRange({0, int(entries.size()) + 3});
        WaitIdle(worker);
    }
    cache.Close();
    std::map<QString, Shown> out;
    for (const auto& [entry, thumb] : cells.thumbOfEntry)
        out[entries[size_t(entry)].name] = {thumb, cells.captionOfEntry[entry]};
    return out;
}

inline QString CachePath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(cache::FileName));
}

inline QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
