#include "files/NewPicture.h"

#include "document/FakeHost.h"
#include "files/FilesTestUtil.h"

#include <gtest/gtest.h>

TEST(NewPicture, BlankInTheBackgroundColourUntitledAndCopiedForUndo) {
    FakeHost host;
    DocumentTable docs(host, host, host);
    int shown = 0;
    docs.hooks.showCurrent = [&](bool reapply) { shown += reapply ? 1 : 100; };
    ImageDoc& doc = docs.CurrentDoc();
    doc = Patterned(4, 4, 1);
    doc.fileName = QStringLiteral("/x/old.png");
    doc.untitled = false;
    doc.imageNumber = 3;

    ASSERT_TRUE(NewPicture(docs, {7, 3}, 0x123456));
    EXPECT_EQ(doc.image.Width(), 7);
    EXPECT_EQ(doc.image.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(doc.image.At(x, y), 0x123456u);
    EXPECT_TRUE(doc.untitled);
    EXPECT_TRUE(doc.fileName.isEmpty());
    EXPECT_EQ(doc.imageNumber, 1);
    EXPECT_EQ(doc.changeCount, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(SamePixels(docs.UndoDoc().image, doc.image));
    EXPECT_EQ(host.panels[0], QStringLiteral("[1] Untitled"));

    // Too many pixels: refused, the picture stays.
    EXPECT_FALSE(NewPicture(docs, {16385, 16385}, 0));
    EXPECT_EQ(doc.image.Width(), 7);
    EXPECT_EQ(doc.image.At(6, 2), 0x123456u);
}
