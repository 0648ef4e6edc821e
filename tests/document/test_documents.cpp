#include "document/DocumentTable.h"
#include "document/FakeHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A pattern with both mark bits in places, so restores can be checked for clearing them.
uint32_t Pattern(int x, int y, uint32_t seed) {
    uint32_t v = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed;
    return v & 0x03FFFFFF;
}

void Paint(ImageDoc& doc, Pair size, uint32_t seed) {
    ASSERT_TRUE(doc.image.Alloc(size));
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x) doc.image.At(x, y) = Pattern(x, y, seed);
}

// Whether doc holds exactly the pattern, optionally with the mark bits cleared.
bool HasPattern(const ImageDoc& doc, Pair size, uint32_t seed, bool marksCleared = false) {
    if (doc.image.Width() != size.x || doc.image.Height() != size.y) return false;
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x) {
            uint32_t want = Pattern(x, y, seed);
            if (marksCleared) want &= 0x00FFFFFF;
            if (doc.image.At(x, y) != want) return false;
        }
    return true;
}

bool IsBlackDefault(const ImageDoc& doc) {
    if (doc.image.Width() != 640 || doc.image.Height() != 480) return false;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (doc.image.At(x, y) != 0) return false;
    return true;
}

class Documents : public ::testing::Test {
protected:
    Documents() : table(host, host, host) {
        table.hooks.hideFeedback = [this] { events.push_back("hide"); };
        table.hooks.deactivateTool = [this] { events.push_back("deactivate"); };
        table.hooks.activateTool = [this] { events.push_back("activate"); };
        table.hooks.showCurrent = [this](bool zoom) {
            events.push_back(zoom ? "show+zoom" : "show");
        };
        table.hooks.translate = [](const QString& key) { return "<" + key + ">"; };
        // As at start-up: slot 1 holds a blank image.
        EXPECT_TRUE(table.Slot(0).MakeBlank(table.blankSize));
    }

    // Slot i as a titled image loaded from name, with a pattern.
    void Load(int i, const QString& name, uint32_t seed, Pair size = {13, 7}) {
        ImageDoc& doc = table.Slot(i);
        Paint(doc, size, seed);
        doc.fileName = name;
        doc.untitled = false;
        doc.changeCount = 0;
    }

    FakeHost host;
    DocumentTable table;
    std::vector<std::string> events;
};

TEST_F(Documents, EnteringUntouchedSlotsGivesFreshBlackImages) {
    EXPECT_EQ(table.CurrentIndex(), 0);
    ASSERT_TRUE(table.SwitchToDocument(3));
    EXPECT_EQ(table.CurrentIndex(), 3);
    EXPECT_EQ(&table.CurrentDoc(), &table.Slot(3));
    ASSERT_TRUE(IsBlackDefault(table.Slot(3)));
    EXPECT_FALSE(table.Slot(0).HasPixels()) << "an untouched slot gives up its pixels";
    EXPECT_EQ(host.panels[0], "[4] <Untitled>");
    EXPECT_EQ(events, (std::vector<std::string>{"hide", "deactivate", "show+zoom", "activate"}));
    EXPECT_TRUE(host.boxes.empty());

    // Scribbles that were never counted as an edit do not survive leaving the slot, and an
    // untouched image of another size comes back at the default size.
    table.Slot(3).image.At(5, 5) = 0xFFFFFF;
    ASSERT_TRUE(table.SwitchToDocument(5));
    EXPECT_FALSE(table.Slot(3).HasPixels());
    ASSERT_TRUE(table.Slot(5).MakeBlank({7, 9}));
    ASSERT_TRUE(table.SwitchToDocument(3));
    EXPECT_TRUE(IsBlackDefault(table.Slot(3)));
    ASSERT_TRUE(table.SwitchToDocument(5));
    ASSERT_TRUE(IsBlackDefault(table.Slot(5)));

    // Re-entering the current untouched slot also renews it.
    table.Slot(5).image.At(0, 0) = 0x123456;
    ASSERT_TRUE(table.SwitchToDocument(5));
    EXPECT_TRUE(IsBlackDefault(table.Slot(5)));
}

TEST_F(Documents, LeavingChangedOrTitledSlotsKeepsTheirPixels) {
    Paint(table.Slot(0), {9, 4}, 1);
    table.Slot(0).AddChange(); // an edited untitled image
    Load(1, "/pics/b.png", 2); // a loaded, unchanged image
    ASSERT_TRUE(table.SwitchToDocument(1));
    ASSERT_TRUE(table.SwitchToDocument(2));
    ASSERT_TRUE(table.SwitchToDocument(0));
    EXPECT_TRUE(HasPattern(table.Slot(0), {9, 4}, 1));
    EXPECT_TRUE(HasPattern(table.Slot(1), {13, 7}, 2));
    EXPECT_EQ(table.Slot(0).changeCount, 1);
    EXPECT_FALSE(table.Slot(2).HasPixels());
    EXPECT_EQ(host.panels[0], "[1] <Untitled>");
}

TEST_F(Documents, UndoAfterSwitchGivesTheEnteredState) {
    Load(0, "/pics/a.png", 1);
    Load(1, "/pics/b.png", 2, {5, 6});
    table.Slot(1).changeCount = 4;
    table.Slot(1).imageNumber = 3;
    // An edit of slot 1 as a tool makes it: undo copy first, then the change.
    ASSERT_TRUE(table.TakeUndoSnapshot(table.CurrentDoc()));
    table.CurrentDoc().image.At(0, 0) = 0xABCDEF;
    table.CurrentDoc().AddChange();

    ASSERT_TRUE(table.SwitchToDocument(1));
    ASSERT_TRUE(table.ExchangeWithUndo(table.CurrentDoc()));
    const ImageDoc& doc = table.Slot(1);
    EXPECT_TRUE(HasPattern(doc, {5, 6}, 2, true)) << "never slot 1's image";
    EXPECT_EQ(doc.fileName, "/pics/b.png");
    EXPECT_EQ(doc.changeCount, 4);
    EXPECT_EQ(doc.imageNumber, 3);
    EXPECT_FALSE(doc.untitled);
    EXPECT_EQ(table.Slot(0).image.At(0, 0), 0xABCDEFu) << "the other slot is left alone";
}

TEST_F(Documents, ExchangeWithUndoTwiceIsTheIdentity) {
    Load(0, "/pics/a.png", 7, {33, 9});
    ASSERT_TRUE(table.TakeUndoSnapshot(table.CurrentDoc()));
    ImageDoc& doc = table.CurrentDoc();
    for (int x = 0; x < 33; ++x) doc.image.At(x, 4) = 0x00FF00;
    doc.AddChange();
    doc.fileName.clear();
    doc.untitled = true;

    ASSERT_TRUE(table.ExchangeWithUndo(doc));
    EXPECT_TRUE(HasPattern(doc, {33, 9}, 7, true));
    EXPECT_EQ(doc.changeCount, 0);
    EXPECT_EQ(doc.fileName, "/pics/a.png");
    ASSERT_TRUE(table.ExchangeWithUndo(doc));
    EXPECT_EQ(doc.changeCount, 1);
    EXPECT_TRUE(doc.untitled);
    EXPECT_TRUE(doc.fileName.isEmpty());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(doc.image.At(x, y), y == 4 ? 0x00FF00u : Pattern(x, y, 7) & 0x00FFFFFF);

    table.UndoDoc().FreePixels();
    EXPECT_FALSE(table.ExchangeWithUndo(doc));
    EXPECT_EQ(doc.changeCount, 1);
}

TEST_F(Documents, RestoreFromUndoPutsTheSnapshotBack) {
    Load(0, "/pics/a.png", 3, {31, 8});
    table.Slot(0).changeCount = 2;
    table.Slot(0).imageNumber = 5;

    // Empty undo copy: nothing happens.
    ImageDoc& doc = table.CurrentDoc();
    EXPECT_EQ(table.RestoreFromUndo(doc), 1);
    EXPECT_TRUE(HasPattern(doc, {31, 8}, 3));
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(table.TakeUndoSnapshot(doc));
    // A failed load would do about this much to the document before restoring it.
    Paint(doc, {2, 2}, 99);
    doc.fileName = "/pics/other.gif";
    doc.changeCount = 0;
    doc.imageNumber = 1;
    doc.untitled = true;

    for (int round = 0; round < 2; ++round) {
        events.clear();
        EXPECT_EQ(table.RestoreFromUndo(doc), 0);
        EXPECT_TRUE(HasPattern(doc, {31, 8}, 3, true)) << round;
        EXPECT_EQ(doc.fileName, "/pics/a.png");
        EXPECT_EQ(doc.changeCount, 2);
        EXPECT_EQ(doc.imageNumber, 5);
        EXPECT_FALSE(doc.untitled);
        EXPECT_EQ(events, std::vector<std::string>{"show+zoom"});
    }
    EXPECT_TRUE(HasPattern(table.UndoDoc(), {31, 8}, 3)) << "the undo copy keeps its marks";
    EXPECT_FALSE(doc.image.SharesPixelsWith(table.UndoDoc().image));

    // A record that is not the current document is restored without touching the view.
    ImageDoc outside;
    events.clear();
    EXPECT_EQ(table.RestoreFromUndo(outside), 0);
    EXPECT_TRUE(HasPattern(outside, {31, 8}, 3, true));
    EXPECT_TRUE(events.empty());
}

TEST_F(Documents, SnapshotOfAnImageWithoutPixelsEmptiesTheUndoCopy) {
    Load(0, "/pics/a.png", 3);
    ASSERT_TRUE(table.TakeUndoSnapshot(table.Slot(0)));
    EXPECT_FALSE(table.TakeUndoSnapshot(table.Slot(6)));
    EXPECT_FALSE(table.UndoDoc().HasPixels()) << "no stale image of another slot";
    EXPECT_EQ(table.RestoreFromUndo(table.Slot(0)), 1);
    EXPECT_TRUE(HasPattern(table.Slot(0), {13, 7}, 3));
}

TEST_F(Documents, SlotThatCannotBeAllocatedLeavesTheCurrentOne) {
    Paint(table.Slot(0), {8, 8}, 4); // untitled and unchanged: would be freed on leaving
    ASSERT_TRUE(table.TakeUndoSnapshot(table.Slot(0)));
    host.panels[0] = "label";
    table.blankSize = {1 << 20, 1 << 20}; // more than the raster library ever allocates

    EXPECT_FALSE(table.SwitchToDocument(4));
    EXPECT_EQ(table.CurrentIndex(), 0);
    EXPECT_TRUE(HasPattern(table.Slot(0), {8, 8}, 4));
    EXPECT_FALSE(table.Slot(4).HasPixels());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "ImgBig", "Err", 48}));
    EXPECT_EQ(events, (std::vector<std::string>{"hide", "deactivate", "show", "activate"}));
    EXPECT_EQ(host.panels[0], "label");
    EXPECT_TRUE(HasPattern(table.UndoDoc(), {8, 8}, 4));

    // A slot with an image of its own needs no allocation.
    Load(6, "/pics/g.png", 5);
    EXPECT_TRUE(table.SwitchToDocument(6));
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(Documents, NextAndPreviousStopAtTheEnds) {
    EXPECT_FALSE(table.PrevImage());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(table.NextImage());
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_TRUE(table.PrevImage());
    EXPECT_EQ(table.CurrentIndex(), 0);
    ASSERT_TRUE(table.SwitchToDocument(9));
    events.clear();
    EXPECT_FALSE(table.NextImage());
    EXPECT_EQ(table.CurrentIndex(), 9);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(table.PrevImage());
    EXPECT_EQ(table.CurrentIndex(), 8);
    EXPECT_FALSE(table.SwitchToDocument(10));
    EXPECT_FALSE(table.SwitchToDocument(-1));
    EXPECT_EQ(table.CurrentIndex(), 8);
}

TEST_F(Documents, NamesLabelAndWindowMenu) {
    Load(2, "/home/u/pics/c d.png", 1);
    EXPECT_EQ(table.DisplayName(table.Slot(0)), "<Untitled>");
    EXPECT_EQ(table.DisplayName(table.Slot(2)), "/home/u/pics/c d.png");
    ASSERT_TRUE(table.SwitchToDocument(2));
    EXPECT_EQ(host.panels[0], "[3] /home/u/pics/c d.png");
    ASSERT_TRUE(table.SwitchToDocument(9));
    EXPECT_EQ(host.panels[0], "[10] <Untitled>");

    const auto items = table.WindowMenuItems();
    const char* expected[10] = {"  &1 <Untitled>", "  &2 <Untitled>", "  &3 /home/u/pics/c d.png",
                                "  &4 <Untitled>", "  &5 <Untitled>", "  &6 <Untitled>",
                                "  &7 <Untitled>", "  &8 <Untitled>", "  &9 <Untitled>",
                                "1&0 <Untitled>"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(items[i].caption, expected[i]) << i;
        EXPECT_EQ(items[i].checked, i == 9) << i;
    }

    // Update mode names every slot after the command-line title, but the menu keeps file names.
    table.SetUpdateMode("Logo");
    EXPECT_EQ(table.DisplayName(table.Slot(2)), "Logo");
    EXPECT_EQ(table.DisplayName(table.Slot(4)), "Logo");
    ASSERT_TRUE(table.SwitchToDocument(2));
    EXPECT_EQ(host.panels[0], "[3] Logo");
    EXPECT_EQ(table.WindowMenuItems()[2].caption, "  &3 /home/u/pics/c d.png");

    // With no translation wired the key itself is the text.
    table.hooks.translate = nullptr;
    table.SetUpdateMode(QString());
    EXPECT_EQ(table.WindowMenuItems()[0].caption, "  &1 Untitled");
}

class Prompts : public Documents {
protected:
    Prompts() {
        table.hooks.save = [this] {
            saves.push_back(table.CurrentIndex());
            return saveGoesAhead;
        };
    }
    void Edit(int i, const QString& name) {
        Load(i, name, uint32_t(i));
        table.Slot(i).AddChange();
    }
    std::vector<int> saves;
    bool saveGoesAhead = true;
};

TEST_F(Prompts, DiscardPromptAnswers) {
    Load(0, "/p/a.png", 1);
    EXPECT_FALSE(table.ConfirmDiscard()) << "unchanged: no question";
    EXPECT_TRUE(host.boxes.empty());

    table.Slot(0).changeCount = 3;
    ASSERT_TRUE(table.TakeUndoSnapshot(table.Slot(0)));
    host.Script({MessageCode::Cancel});
    EXPECT_TRUE(table.ConfirmDiscard());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{false, "/p/a.png [1] <Changed>", "<Warn>", 35}));
    EXPECT_EQ(table.Slot(0).changeCount, 3);
    EXPECT_TRUE(table.UndoDoc().HasPixels());

    host.Script({MessageCode::Yes});
    saveGoesAhead = false; // the Save as dialog was cancelled
    EXPECT_TRUE(table.ConfirmDiscard());
    EXPECT_TRUE(table.UndoDoc().HasPixels());

    host.Script({MessageCode::Yes});
    saveGoesAhead = true;
    EXPECT_FALSE(table.ConfirmDiscard());
    EXPECT_EQ(saves, (std::vector<int>{0, 0}));
    EXPECT_FALSE(table.UndoDoc().HasPixels()) << "nothing to undo after Yes";

    ASSERT_TRUE(table.TakeUndoSnapshot(table.Slot(0)));
    host.Script({MessageCode::No});
    EXPECT_FALSE(table.ConfirmDiscard());
    EXPECT_EQ(table.Slot(0).changeCount, 0);
    EXPECT_TRUE(HasPattern(table.Slot(0), {13, 7}, 1)) << "No keeps the pixels in place";
    EXPECT_FALSE(table.UndoDoc().HasPixels()) << "nothing to undo after No";
    EXPECT_EQ(host.unscripted, 0);

    // Without a Save wired, Yes cannot keep the edits, so the caller stops.
    table.Slot(0).AddChange();
    table.hooks.save = nullptr;
    host.Script({MessageCode::Yes});
    EXPECT_TRUE(table.ConfirmDiscard());
    EXPECT_EQ(table.Slot(0).changeCount, 1);
}

TEST_F(Prompts, CloseAsksChangedSlotsInOrderAndCancelStops) {
    Edit(2, "/p/c.png");
    Edit(5, "/p/f.png");
    Edit(8, "/p/i.png");
    ASSERT_TRUE(table.SwitchToDocument(5));
    host.panelLog.clear();
    events.clear();

    host.Script({MessageCode::No, MessageCode::Cancel});
    EXPECT_FALSE(table.ConfirmClose());
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "/p/c.png [3] <Changed>");
    EXPECT_EQ(host.boxes[1].text, "/p/f.png [6] <Changed>");
    EXPECT_EQ(table.CurrentIndex(), 5);
    EXPECT_EQ(host.panels[0], "[6] /p/f.png");
    EXPECT_EQ(table.Slot(2).changeCount, 0);
    EXPECT_EQ(table.Slot(5).changeCount, 1);
    EXPECT_EQ(table.Slot(8).changeCount, 1);
    EXPECT_TRUE(events.empty()) << "slots are prompted without being shown";

    host.boxes.clear();
    host.Script({MessageCode::Yes, MessageCode::No});
    EXPECT_TRUE(table.ConfirmClose());
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "/p/f.png [6] <Changed>");
    EXPECT_EQ(host.boxes[1].text, "/p/i.png [9] <Changed>");
    EXPECT_EQ(saves, std::vector<int>{5}) << "Save acts on the slot being asked about";
    EXPECT_EQ(host.unscripted, 0);
}

TEST_F(Prompts, UpdateModeClosePrompt) {
    int writes = 0;
    table.hooks.writeUpdateTarget = [&] {
        ++writes;
        events.push_back("write");
    };
    table.SetUpdateMode("Logo");
    Edit(4, "/p/e.png"); // other slots are never asked about in update mode

    // Slot 1 is untitled (a blank image of the requested size).
    host.Script({MessageCode::Cancel});
    EXPECT_FALSE(table.ConfirmClose());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (FakeHost::Box{true, "Update", "Warn", 35}));

    host.Script({MessageCode::No});
    EXPECT_TRUE(table.ConfirmClose());
    EXPECT_EQ(writes, 0);

    // Yes snapshots slot 1 even while another slot is current, then writes it.
    Paint(table.Slot(0), {6, 3}, 8);
    table.Slot(0).AddChange();
    ASSERT_TRUE(table.SwitchToDocument(4));
    events.clear();
    host.Script({MessageCode::Yes});
    EXPECT_TRUE(table.ConfirmClose());
    EXPECT_EQ(events, (std::vector<std::string>{"hide", "write"}));
    EXPECT_TRUE(HasPattern(table.UndoDoc(), {6, 3}, 8));
    EXPECT_EQ(host.boxes.size(), 3u);

    // A titled, unchanged slot 1 closes without a question; a changed one asks again.
    Load(0, "/p/target.png", 8);
    EXPECT_TRUE(table.ConfirmClose());
    EXPECT_EQ(host.boxes.size(), 3u);
    table.Slot(0).AddChange();
    host.Script({MessageCode::No});
    EXPECT_TRUE(table.ConfirmClose());
    EXPECT_EQ(host.boxes.size(), 4u);
    EXPECT_EQ(saves, std::vector<int>{});
}

// A loaded picture's undo copy shares its pixels; nothing may reach one through the other.
TEST_F(Documents, SharedUndoCopyNeverChangesWithTheImage) {
    const Pair size{13, 7};
    Load(1, "b.png", 2, size);
    ASSERT_TRUE(table.SwitchToDocument(0));
    Load(0, "a.png", 1, size);
    table.ShareUndoSnapshot(table.Slot(0));

    // Entering a slot of the same size copies into the undo copy, not into the shared pixels.
    ASSERT_TRUE(table.SwitchToDocument(1));
    EXPECT_TRUE(HasPattern(table.Slot(0), size, 1));
    ASSERT_TRUE(table.SwitchToDocument(0));

    table.ShareUndoSnapshot(table.Slot(0));
    ASSERT_TRUE(table.DetachUndo());
    table.Slot(0).image.Box(table.Slot(0).image.Bounds(), 0x123456); // the first edit
    ASSERT_TRUE(table.ExchangeWithUndo(table.Slot(0)));
    EXPECT_TRUE(HasPattern(table.Slot(0), size, 1, true)) << "Undo gives the loaded picture";
}

TEST(ImageDocRecord, ChangeCountAndCopies) {
    ImageDoc doc;
    EXPECT_TRUE(doc.untitled);
    EXPECT_FALSE(doc.Changed());
    EXPECT_FALSE(doc.HasPixels());
    doc.changeCount = INT32_MAX;
    doc.AddChange(); // wraps as a 32-bit counter and still reads as changed
    EXPECT_EQ(doc.changeCount, INT32_MIN);
    EXPECT_TRUE(doc.Changed());

    EXPECT_FALSE(doc.MakeBlank({0, 5}));
    ASSERT_TRUE(doc.MakeBlank({3, 2}));
    EXPECT_FALSE(doc.MakeBlank({-1, 1}));
    EXPECT_EQ(doc.image.Width(), 3) << "a failed blank keeps the old pixels";

    ImageDoc copy;
    copy.fileName = "stale";
    ASSERT_TRUE(CopyImageDoc(doc, copy));
    EXPECT_EQ(copy.changeCount, INT32_MIN);
    EXPECT_TRUE(copy.fileName.isEmpty());
    EXPECT_FALSE(copy.image.SharesPixelsWith(doc.image));
    copy.image.At(2, 1) = 0x111111;
    EXPECT_EQ(doc.image.At(2, 1), 0u);
}

} // namespace
