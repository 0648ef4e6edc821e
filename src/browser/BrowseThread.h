#pragma once

#include "browser/BrowseEntries.h"
#include "browser/BrowseLayout.h"
#include "filters/CompDescriptor.h"
#include "raster/Buffer.h"

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QObject;
class ThumbCache;

// The browser window's cells as the worker sees them. Every call arrives on the UI thread.
class BrowseCells {
public:
    virtual ~BrowseCells() = default;
    // The cell shows nothing any more.
    virtual void HideCell(int cell) = 0;
    // The cell shows entry with this thumbnail and caption; cells past the last one made so far
    // are made.
    virtual void ShowCell(int cell, int entry, const Buffer& thumb, const QString& caption) = 0;
};

// The worker of a browser window. While the visible range holds an entry no cell shows, it makes
// that entry's thumbnail and hands it to the UI thread; cells outside the range are handed back
// first, so there is always a free one (the pool grows with the range). Every change to the
// window is a synchronous call onto the UI thread; Stop() never waits on the UI thread, so it
// cannot deadlock with a call in flight. Idle, the worker sleeps until the range changes.
class TBrowseThread {
public:
    // entries and cells must outlive the thread. The UI thread is the one constructing it.
    TBrowseThread(BrowseCells& cells, const std::vector<BrowseEntry>& entries);
    virtual ~TBrowseThread(); // subclasses call Stop() in theirs

    void Start();
    // UI thread: ends the worker (a call in flight is dropped) and waits for it to finish.
    void Stop();
    // UI thread: the entries [first, last] are visible now.
    void SetRange(browse::Range range);
    // True while the worker has drawn the whole current range and sleeps (for tests).
    bool Idle() const;
    // Cells the worker has used so far (for tests).
    int CellCount() const;

protected:
    // Worker thread: the thumbnail and caption of a file entry; false leaves the thumbnail as a
    // blank picture of the full cell size.
    virtual bool MakeThumbnail(const BrowseEntry& entry, Buffer& thumb, QString& caption) = 0;
    // Worker thread, once per folder when the visible range is first complete.
    virtual void RangeDrawn() {}
    // Worker thread, just before it ends.
    virtual void Finishing() {}
    bool StopRequested() const;
    // The place of entry (one handed to MakeThumbnail) in the entry list.
    int IndexOf(const BrowseEntry& entry) const { return int(&entry - entries_.data()); }

private:
    void Run();
    bool CallUi(std::function<void()> job);
    void RunPending(); // UI thread

    BrowseCells& cells_;
    const std::vector<BrowseEntry>& entries_;
    Buffer folder_, parent_;
    std::unique_ptr<QObject> receiver_; // lives on the UI thread, runs the handed jobs

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    browse::Range range_{0, -1};
    uint64_t rangeVersion_ = 0;
    bool idle_ = false;
    std::function<void()> job_;
    uint64_t jobTicket_ = 0, doneTicket_ = 0;
    int cellCount_ = 0;
    std::thread thread_;
};

// The image-mode worker: folder pictures, and the folder's picture files through the cache when
// one is given (used only by this thread while it runs).
class TBrowseImageThread : public TBrowseThread {
public:
    struct Words {
        QString pixels = QStringLiteral("Pixels");
        QString kbytes = QStringLiteral("KB");
    };
    TBrowseImageThread(BrowseCells& cells, const std::vector<BrowseEntry>& entries, QString folder,
                       ThumbCache* cache, Words words, uint32_t background = 0xFFFFFF);
    ~TBrowseImageThread() override;

protected:
    bool MakeThumbnail(const BrowseEntry& entry, Buffer& thumb, QString& caption) override;
    void RangeDrawn() override;
    void Finishing() override;

private:
    QString folder_;
    ThumbCache* cache_;
    Words words_;
    uint32_t background_;
};

// The effect-mode worker: entry k shows the picture run through components[k] with its initial
// values. The picture is scaled to its thumbnail size on the UI thread before the worker starts;
// each preview works on copies of it and talks to a host of its own, so neither the documents nor
// a running component's session see anything. The components are copies taken on the UI thread.
class TBrowseEffectThread : public TBrowseThread {
public:
    struct Effect {
        comp::Component component;
        QString caption; // the component's name as its menu entry shows it
    };
    // effects has one item per entry; picture is the current picture at its thumbnail size and
    // area the current picture's own rectangle.
    TBrowseEffectThread(BrowseCells& cells, const std::vector<BrowseEntry>& entries,
                        std::vector<Effect> effects, Buffer picture, Rect area);
    ~TBrowseEffectThread() override;

protected:
    bool MakeThumbnail(const BrowseEntry& entry, Buffer& thumb, QString& caption) override;

private:
    std::vector<Effect> effects_;
    Buffer picture_;
    Rect area_;
};
