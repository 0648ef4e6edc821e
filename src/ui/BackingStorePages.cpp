#include "ui/BackingStorePages.h"

#include <QBackingStore>
#include <QImage>
#include <QPaintDevice>
#include <QWidget>

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

void MapBackingStorePages(QWidget& window) {
#ifdef MADV_POPULATE_WRITE
    QBackingStore* store = window.backingStore();
    if (!store) return;
    // The size the first paint gives it, so that the paint keeps this store.
    if (store->size() != window.size()) store->resize(window.size());
    const QPaintDevice* device = store->paintDevice();
    if (!device || device->devType() != QInternal::Image) return;
    const auto* image = static_cast<const QImage*>(device);
    const auto begin = reinterpret_cast<uintptr_t>(image->constBits());
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    if (begin == 0 || page == 0 || (page & (page - 1)) != 0) return;
    // Only whole pages of the picture: nothing outside it is touched.
    const uintptr_t first = (begin + page - 1) & ~(page - 1);
    const uintptr_t end = (begin + uintptr_t(image->sizeInBytes())) & ~(page - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)window;
#endif
}
