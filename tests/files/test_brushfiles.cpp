#include "files/BrushFiles.h"

#include "document/FakeHost.h"
#include "files/FilesTestUtil.h"
#include "files/ImageFiles.h"

#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A 6 x 4 picture on red with a green 2 x 2 square at (1, 1), whose file names red as its
// background colour.
QString WriteRedBackedBrush(const QTemporaryDir& dir) {
    QImage img(6, 4, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 0));
    for (int y = 1; y <= 2; ++y)
        for (int x = 1; x <= 2; ++x) img.setPixel(x, y, qRgb(0, 200, 0));
    const QString name = dir.filePath(QStringLiteral("stamp.png"));
    QImageWriter writer(name);
    writer.setText(QStringLiteral("OrvelPaint.ColourB"), QStringLiteral("FF0000"));
    writer.setText(QStringLiteral("OrvelPaint.Handle"), QStringLiteral("2,0"));
    EXPECT_TRUE(writer.write(img));
    return name;
}

} // namespace

TEST(BrushFiles, RedBackgroundComesInTransparentAndGoesOutRed) {
    QTemporaryDir dir;
    FakeHost host;
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Circular, 1, 0xFFFFFF, 0));

    ASSERT_EQ(LoadBrushFile(brush, WriteRedBackedBrush(dir), 0xFFFFFF, 0x0000FF, host),
              LoadCode::Ok);
    EXPECT_TRUE(host.boxes.empty());
    ASSERT_EQ(brush.source.Width(), 6);
    ASSERT_EQ(brush.source.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool square = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            ASSERT_EQ(brush.source.At(x, y), square ? 0x00C800u : Pixel::Transparent)
                << x << "," << y;
        }
    EXPECT_TRUE(brush.custom);
    EXPECT_EQ(brush.keyColour, 0xFF0000u);
    EXPECT_EQ(brush.handle, 2);
    EXPECT_EQ(brush.technique, Technique::Paint);
    EXPECT_TRUE(brush.HasBackup()); // Restore brings the built-in brush back

    const QString out = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(SaveBrushFile(brush, out, 0xFFFFFF, false, host));
    const QImage saved(out);
    ASSERT_EQ(saved.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool square = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            ASSERT_EQ(saved.pixel(x, y) & 0xFFFFFF, square ? 0x00C800u : 0xFF0000u);
        }
    EXPECT_EQ(brush.source.At(0, 0), Pixel::Transparent); // the brush itself is untouched

    // Read back, the saved file gives the same brush.
    Brush again;
    ASSERT_EQ(LoadBrushFile(again, out, 0xFFFFFF, 0, host), LoadCode::Ok);
    EXPECT_TRUE(SamePixels(again.source, brush.source));
    EXPECT_EQ(again.handle, 2);
    EXPECT_EQ(again.keyColour, 0xFF0000u);
}

TEST(BrushFiles, FailedOpenLeavesTheBrush) {
    QTemporaryDir dir;
    FakeHost host;
    Brush brush;
    ASSERT_TRUE(brush.SelectBuiltIn(BrushShape::Square, 2, 0x123456, 0));
    const Buffer before = brush.source;
    WriteAll(dir.filePath(QStringLiteral("junk.png")), QByteArray("not a picture at all"));
    EXPECT_EQ(LoadBrushFile(brush, dir.filePath(QStringLiteral("none.png")), 0, 0, host),
              LoadCode::CannotRead);
    EXPECT_EQ(LoadBrushFile(brush, dir.filePath(QStringLiteral("junk.png")), 0, 0, host),
              LoadCode::NotSupported);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, QStringLiteral("ErrOpenImg"));
    EXPECT_EQ(host.boxes[1].text, QStringLiteral("FormNotSup"));
    EXPECT_TRUE(SamePixels(brush.source, before));
    EXPECT_FALSE(brush.custom);
}
