#pragma once

class QWidget;

// Makes the backing store of a shown top-level window and maps all its pages in one call, before
// its first paint would touch them one fault at a time: on virtual machines each first touch of a
// page traps, and for a fresh 800 x 600 window that cost more than the painting itself. Advice
// only: where the pages cannot be mapped ahead, the paint maps them as before.
void MapBackingStorePages(QWidget& window);
