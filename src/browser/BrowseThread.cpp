#include "browser/BrowseThread.h"

#include "browser/ThumbCache.h"
#include "browser/ThumbLoader.h"
#include "filters/CompPreview.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QObject>

#include <algorithm>

namespace {

constexpr uint32_t BlankColour = 0xC0C0C0;

Buffer BlankThumbnail() {
    Buffer b;
    if (b.Alloc({browse::ThumbWidth, browse::ThumbHeight}))
        b.Box({0, 0, browse::ThumbWidth - 1, browse::ThumbHeight - 1}, BlankColour);
    return b;
}

} // namespace

TBrowseThread::TBrowseThread(BrowseCells& cells, const std::vector<BrowseEntry>& entries)
    : cells_(cells), entries_(entries), folder_(browse::FolderThumbnail(false)),
      parent_(browse::FolderThumbnail(true)), receiver_(std::make_unique<QObject>()) {}

TBrowseThread::~TBrowseThread() {
    Stop();
}

void TBrowseThread::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    thread_ = std::thread([this] { Run(); });
}

void TBrowseThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        job_ = nullptr; // a call in flight is dropped: its worker returns at once
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void TBrowseThread::SetRange(browse::Range range) {
    {
        std::lock_guard lock(mutex_);
        if (range == range_ && rangeVersion_ > 0) return;
        range_ = range;
        ++rangeVersion_;
        idle_ = false;
    }
    wake_.notify_all();
}

bool TBrowseThread::Idle() const {
    std::lock_guard lock(mutex_);
    return idle_;
}

int TBrowseThread::CellCount() const {
    std::lock_guard lock(mutex_);
    return cellCount_;
}

bool TBrowseThread::StopRequested() const {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool TBrowseThread::CallUi(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    if (stop_) return false;
    job_ = std::move(job);
    const uint64_t ticket = ++jobTicket_;
    lock.unlock();
    QMetaObject::invokeMethod(
        receiver_.get(), [this] { RunPending(); }, Qt::QueuedConnection);
    lock.lock();
    wake_.wait(lock, [&] { return stop_ || doneTicket_ >= ticket; });
    return doneTicket_ >= ticket;
}

void TBrowseThread::RunPending() {
    std::unique_lock lock(mutex_);
    if (stop_ || !job_) return;
    const std::function<void()> job = std::move(job_);
    job_ = nullptr;
    const uint64_t ticket = jobTicket_;
    lock.unlock();
    job();
    lock.lock();
    doneTicket_ = ticket;
    lock.unlock();
    wake_.notify_all();
}

void TBrowseThread::Run() {
    const int count = int(entries_.size());
    std::vector<int> cellEntry;                    // entry shown by each cell, -1 for none
    std::vector<int> entryCell(size_t(count), -1); // cell showing each entry, -1 for none
    browse::Range range;
    uint64_t seen = 0;
    bool drawnOnce = false;
    for (;;) {
        bool changed = false;
        {
            std::lock_guard lock(mutex_);
            if (stop_) break;
            if (rangeVersion_ != seen) {
                seen = rangeVersion_;
                range = range_;
                changed = true;
            }
        }
        if (changed) {
            bool ok = true;
            for (int c = 0; ok && c < int(cellEntry.size()); ++c) {
                const int e = cellEntry[size_t(c)];
                if (e < 0 || (e >= range.first && e <= range.last)) continue;
                ok = CallUi([this, c] { cells_.HideCell(c); });
                cellEntry[size_t(c)] = -1;
                entryCell[size_t(e)] = -1;
            }
            if (!ok) break;
        }
        int next = -1;
        for (int k = std::max(range.first, 0); k <= std::min(range.last, count - 1); ++k)
            if (entryCell[size_t(k)] < 0) {
                next = k;
                break;
            }
        if (next < 0) {
            if (!drawnOnce) {
                drawnOnce = true;
                RangeDrawn();
            }
            std::unique_lock lock(mutex_);
            idle_ = rangeVersion_ == seen;
            wake_.wait(lock, [&] { return stop_ || rangeVersion_ != seen; });
            idle_ = false;
            continue;
        }
        // Cells outside the range were handed back above, so one is free unless the range has
        // grown past every cell made so far.
        auto freeCell = std::find(cellEntry.begin(), cellEntry.end(), -1);
        const int cell =
            freeCell != cellEntry.end() ? int(freeCell - cellEntry.begin()) : int(cellEntry.size());
        if (cell == int(cellEntry.size())) {
            cellEntry.push_back(-1);
            std::lock_guard lock(mutex_);
            cellCount_ = int(cellEntry.size());
        }
        const BrowseEntry& entry = entries_[size_t(next)];
        Buffer thumb;
        QString caption;
        if (!entry.file) {
            thumb = entry.parent ? parent_ : folder_;
            caption = FolderCaption(entry);
        } else if (!MakeThumbnail(entry, thumb, caption) || thumb.Empty()) {
            thumb = BlankThumbnail();
        }
        if (!CallUi([&] { cells_.ShowCell(cell, next, thumb, caption); })) break;
        cellEntry[size_t(cell)] = next;
        entryCell[size_t(next)] = cell;
    }
    Finishing();
}

TBrowseImageThread::TBrowseImageThread(BrowseCells& cells, const std::vector<BrowseEntry>& entries,
                                       QString folder, ThumbCache* cache, Words words,
                                       uint32_t background)
    : TBrowseThread(cells, entries), folder_(std::move(folder)), cache_(cache),
      words_(std::move(words)), background_(background) {}

TBrowseImageThread::~TBrowseImageThread() {
    Stop(); // before the members the worker reads go
}

bool TBrowseImageThread::MakeThumbnail(const BrowseEntry& entry, Buffer& thumb, QString& caption) {
    const QString path = QDir(folder_).filePath(entry.name);
    const QFileInfo info(path);
    const int64_t size = info.size();
    const auto time = uint32_t(info.lastModified().toSecsSinceEpoch());
    Pair imageSize{0, 0};
    if (cache_ && cache_->Find(entry.name, uint32_t(size), time, thumb, imageSize)) {
        caption = browse::FileCaption(imageSize, size, words_.pixels, words_.kbytes);
        return true;
    }
    ThumbLoad load;
    ThumbLoadOptions options;
    options.background = background_;
    if (!LoadThumbnail(path, load, options)) {
        caption = entry.name + QStringLiteral("\r\n") + QString::number(browse::KBytes(size)) +
                  QLatin1Char(' ') + words_.kbytes;
        return false;
    }
    thumb = std::move(load.thumb);
    if (cache_) cache_->Store(entry.name, uint32_t(size), time, thumb, load.imageSize);
    caption = browse::FileCaption(load.imageSize, size, words_.pixels, words_.kbytes);
    return true;
}

void TBrowseImageThread::RangeDrawn() {
    if (!cache_) return;
    cache_->Flush();
    cache_->ForgetMissing();
}

void TBrowseImageThread::Finishing() {
    if (cache_) cache_->Flush();
}

TBrowseEffectThread::TBrowseEffectThread(BrowseCells& cells,
                                         const std::vector<BrowseEntry>& entries,
                                         std::vector<Effect> effects, Buffer picture, Rect area)
    : TBrowseThread(cells, entries), effects_(std::move(effects)), picture_(std::move(picture)),
      area_(area) {}

TBrowseEffectThread::~TBrowseEffectThread() {
    Stop(); // before the components and the picture go
}

bool TBrowseEffectThread::MakeThumbnail(const BrowseEntry& entry, Buffer& thumb, QString& caption) {
    const int k = IndexOf(entry);
    if (k < 0 || k >= int(effects_.size())) return false;
    const Effect& effect = effects_[size_t(k)];
    caption = effect.caption;
    // A failed or throwing component leaves its cell blank; the next one is made all the same.
    return comp::ScaledEffectPreview(effect.component, picture_, area_, thumb);
}
