#pragma once

#include "document/Host.h"
#include "document/ImageDoc.h"

#include <QString>

#include <array>
#include <functional>

// The ten document slots, the current one and the single undo copy shared by all of them.
class DocumentTable {
public:
    static constexpr int kSlotCount = 10;

    // What the documents need from the parts around them; the shell wires these. An unset hook is
    // skipped unless its comment says otherwise.
    struct Hooks {
        std::function<void()> hideFeedback;   // the current tool's pointer feedback
        std::function<void()> deactivateTool; // the current tool's Deactivate
        std::function<void()> activateTool;   // its Activate again, then the tool state refreshed
        // Rebuild the work buffer from CurrentDoc and show it in the view; with reapplyZoom the
        // zoom is applied anew (the image may have a new size or new pixels).
        std::function<void(bool reapplyZoom)> showCurrent;
        // Save of CurrentDoc (Save as when it is untitled); false when its file dialog was
        // cancelled. Unset counts as cancelled, so nothing is ever discarded unsaved.
        std::function<bool()> save;
        // Writes slot 1 to the update-mode target file. Unset: the program stays open.
        std::function<void()> writeUpdateTarget;
        // Text of a message key; unset gives the key itself, as with no language loaded.
        std::function<QString(const QString&)> translate;
    };

    struct WindowMenuItem {
        QString caption;
        bool checked = false; // radio mark of the current slot
    };

    DocumentTable(MessageHost& messages, PromptHost& prompts, StatusHost& status);
    DocumentTable(const DocumentTable&) = delete;
    DocumentTable& operator=(const DocumentTable&) = delete;

    Hooks hooks;
    // Size of the blank image an untitled, unchanged slot gets when it is entered.
    Pair blankSize{Buffer::default_x, Buffer::default_y};

    // index 0..9; anything else is clamped into that range.
    ImageDoc& Slot(int index);
    const ImageDoc& Slot(int index) const;
    int CurrentIndex() const { return current_; }
    ImageDoc& CurrentDoc() { return slots_[current_]; }
    const ImageDoc& CurrentDoc() const { return slots_[current_]; }
    ImageDoc& UndoDoc() { return undo_; }
    const ImageDoc& UndoDoc() const { return undo_; }
    // Slot index of a record, -1 for one outside the table.
    int IndexOf(const ImageDoc& doc) const;

    // Update mode: every slot's display name is the title from the command line.
    void SetUpdateMode(const QString& title);
    bool UpdateMode() const { return updateMode_; }

    // Makes slot index (0..9) current; false when it could not be entered (the "ImgBig"
    // message was shown and the current slot is unchanged) or index is out of range.
    bool SwitchToDocument(int index);
    // The following or preceding slot, without wrapping; false when there is none.
    bool NextImage();
    bool PrevImage();

    // The undo copy becomes a copy of doc. False when the pixels could not be copied; the undo
    // copy is then empty rather than holding an older image.
    bool TakeUndoSnapshot(const ImageDoc& doc);
    // The undo copy shares doc's pixels instead of copying them, so that a freshly loaded
    // picture is held once. Whatever may write the current image next calls DetachUndo first.
    void ShareUndoSnapshot(ImageDoc& doc);
    // Gives a shared undo copy pixels of its own. False when they cannot be allocated: the undo
    // copy is then empty rather than one that would change with the image.
    bool DetachUndo();
    // Puts the undo copy back into doc and clears both mark bits. 1 when the undo copy holds no
    // pixels (or they cannot be allocated): doc is unchanged. 0 when restored.
    int RestoreFromUndo(ImageDoc& doc);
    // The document half of Undo Last Action: doc and the undo copy exchange everything, then
    // doc's mark bits are cleared. False (nothing done) when the undo copy holds no pixels. The
    // command itself adds its change-count rule and the view refresh.
    bool ExchangeWithUndo(ImageDoc& doc);

    QString DisplayName(const ImageDoc& doc) const;
    // Status panel 0: "[n] " + the current document's display name.
    void UpdateFileLabel();
    // The Window menu as shown: "  &1 name" .. "  &9 name", "1&0 name", the current one checked.
    std::array<WindowMenuItem, kSlotCount> WindowMenuItems() const;

    // The unsaved-changes prompt for CurrentDoc; true when the caller must abandon its operation.
    bool ConfirmDiscard();
    // The prompts run before the program closes; false when it must stay open.
    bool ConfirmClose();

private:
    QString Translate(const QString& key) const;
    QString NameOrUntitled(const ImageDoc& doc) const;
    static bool Blank(const ImageDoc& doc) { return doc.untitled && !doc.Changed(); }
    static void Call(const std::function<void()>& hook) {
        if (hook) hook();
    }
    void ShowCurrent(bool reapplyZoom) {
        if (hooks.showCurrent) hooks.showCurrent(reapplyZoom);
    }

    MessageHost& messages_;
    PromptHost& prompts_;
    StatusHost& status_;
    std::array<ImageDoc, kSlotCount> slots_;
    ImageDoc undo_;
    bool undoShared_ = false; // undo_.image is a view of some document's pixels
    int current_ = 0;
    bool updateMode_ = false;
    QString updateTitle_;
};
