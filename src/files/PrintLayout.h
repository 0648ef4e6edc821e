#pragma once

#include "raster/Buffer.h"

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

// The one printed page: where the picture goes and how the page is drawn. Pages are measured
// in pixels of 300 dpi, so that 100 % puts 3 printer pixels on each picture pixel everywhere.
inline constexpr int kPrintDpi = 300;

enum class PrintAlign { Start = 0, Center = 1, End = 2 }; // left/top, centre, right/bottom

struct PrintSettings {
    int imageZoom = 100; // per cent, 1..9999
    bool stretchToFit = false;
    PrintAlign horizontal = PrintAlign::Center;
    PrintAlign vertical = PrintAlign::Center;
    QString header, footer;
    QFont headerFont, footerFont; // point sizes are taken at 300 dpi
};

// The picture's rectangle on a page of page pixels. The scale is the page fit with
// stretchToFit, else imageZoom x 3 / 100; the rectangle spans round(size x scale - 1) + 1 pixels
// each way (never less than one), and is aligned inside the page. Empty for an empty page or
// picture.
QRect PlaceOnPage(QSize page, QSize image, const PrintSettings& settings);

// Draws the page: the picture (its colour bits only; the buffer is not changed) stretched into
// its rectangle without smoothing, the header line at the top and the footer line at the bottom,
// centred. painter's coordinates are page pixels. False when there was no memory for the
// picture's copy; nothing is drawn then.
bool RenderPage(QPainter& painter, QSize page, const Buffer& image, const PrintSettings& settings);

// A font of the same face whose height is its point size at 300 dpi in pixels.
QFont PageFont(const QFont& font);
