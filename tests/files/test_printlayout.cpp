#include "files/PrintLayout.h"
#include "raster/RasterTestUtil.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(PrintPlacement, EachPositionAtOneHundredPercentIsThreePixelsAPixel) {
    const QSize page(2400, 3300), image(100, 50);
    struct Case {
        PrintAlign h, v;
        int left, top;
    };
    const Case cases[] = {
        {PrintAlign::Start, PrintAlign::Start, 0, 0},
        {PrintAlign::Center, PrintAlign::Start, 1050, 0},
        {PrintAlign::End, PrintAlign::Start, 2100, 0},
        {PrintAlign::Start, PrintAlign::Center, 0, 1575},
        {PrintAlign::Center, PrintAlign::Center, 1050, 1575},
        {PrintAlign::End, PrintAlign::Center, 2100, 1575},
        {PrintAlign::Start, PrintAlign::End, 0, 3150},
        {PrintAlign::Center, PrintAlign::End, 1050, 3150},
        {PrintAlign::End, PrintAlign::End, 2100, 3150},
    };
    for (const Case& c : cases) {
        PrintSettings s;
        s.horizontal = c.h;
        s.vertical = c.v;
        EXPECT_EQ(PlaceOnPage(page, image, s), QRect(c.left, c.top, 300, 150))
            << int(c.h) << "," << int(c.v);
    }
}

TEST(PrintPlacement, ZoomStretchAndDegenerateSizes) {
    struct Case {
        const char* name;
        QSize page, image;
        bool stretch;
        int zoom;
        QRect want;
    };
    const Case cases[] = {
        {"wide picture fills the width", {1000, 2000}, {200, 100}, true, 100, {0, 750, 1000, 500}},
        {"tall picture fills the height", {1000, 2000}, {100, 400}, true, 100, {250, 0, 500, 2000}},
        {"stretch ignores the zoom", {600, 600}, {3, 3}, true, 7, {0, 0, 600, 600}},
        {"50 per cent", {3000, 3000}, {10, 10}, false, 50, {1492, 1492, 15, 15}},
        {"1 per cent of one pixel is still a pixel", {100, 100}, {1, 1}, false, 1, {49, 49, 1, 1}},
        {"larger than the page overhangs evenly",
         {100, 100},
         {100, 100},
         false,
         100,
         {-100, -100, 300, 300}},
        {"empty page", {0, 100}, {10, 10}, false, 100, {}},
        {"empty picture", {100, 100}, {0, 10}, true, 100, {}},
    };
    for (const Case& c : cases) {
        PrintSettings s;
        s.stretchToFit = c.stretch;
        s.imageZoom = c.zoom;
        const QRect r = PlaceOnPage(c.page, c.image, s);
        EXPECT_EQ(r, c.want) << c.name;
        EXPECT_GE(r.width(), 0) << c.name;
    }
}

TEST(PrintPage, DrawsThePicturesColoursWithoutMarksIntoItsRectangleOnly) {
    Buffer b = rastertest::Make(2, 1, 0x01FF0000); // the fill mark must not reach the page
    b.At(1, 0) = 0x0000FF;
    QImage page(60, 30, QImage::Format_RGB32);
    page.fill(Qt::white);
    PrintSettings s;
    s.horizontal = PrintAlign::Start;
    s.vertical = PrintAlign::End;
    {
        QPainter p(&page);
        ASSERT_TRUE(RenderPage(p, page.size(), b, s));
    }
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 30; ++y) {
            const QRgb want = y < 27 || x >= 6 ? 0xFFFFFFFF : x < 3 ? 0xFFFF0000 : 0xFF0000FF;
            ASSERT_EQ(page.pixel(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(b.At(0, 0), 0x01FF0000u); // the picture itself is left as it was
}

TEST(PrintPage, HeaderAndFooterLinesLandAtTheTopAndBottom) {
    QImage page(600, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    PrintSettings s;
    s.header = QStringLiteral("HEADER");
    s.footer = QStringLiteral("FOOTER");
    {
        QPainter p(&page);
        ASSERT_TRUE(RenderPage(p, page.size(), Buffer(), s));
    }
    auto inkIn = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128) return true;
        return false;
    };
    const int line = QFontMetrics(PageFont(s.headerFont)).height();
    EXPECT_TRUE(inkIn(0, line));
    EXPECT_TRUE(inkIn(page.height() - line, page.height()));
    EXPECT_FALSE(inkIn(line, page.height() - line));
}
