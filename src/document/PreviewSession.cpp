#include "document/PreviewSession.h"

#include "document/DocumentTable.h"

PreviewSession::Hooks PreviewSession::CurrentDocument(DocumentTable& docs) {
    Hooks h;
    h.takeUndo = [&docs] {
        return docs.CurrentDoc().HasPixels() && docs.TakeUndoSnapshot(docs.CurrentDoc());
    };
    h.putBack = [&docs] { docs.RestoreFromUndo(docs.CurrentDoc()); };
    h.countChange = [&docs] {
        docs.CurrentDoc().AddChange();
        docs.UpdateFileLabel();
    };
    return h;
}

bool PreviewSession::Start() {
    shown_ = whole_ = applied_ = false;
    shownSettings_.clear();
    appliedSettings_.clear();
    started_ = hooks_.takeUndo && hooks_.takeUndo();
    return started_;
}

bool PreviewSession::Preview(const Settings& s, const Run& run) {
    if (!started_) return false;
    if (Shows(s)) return true;
    switch (run(s)) {
    case Outcome::Done:
        shown_ = whole_ = true;
        shownSettings_ = s;
        return true;
    case Outcome::Stopped:
        shown_ = true;
        whole_ = false;
        return false;
    case Outcome::Refused:
        break;
    }
    return false;
}

bool PreviewSession::Apply(const Settings& s, const Run& run) {
    return Preview(s, run) && ApplyShown(s);
}

bool PreviewSession::ApplyShown(const Settings& s) {
    if (!started_ || !Shows(s)) return false;
    applied_ = true;
    appliedSettings_ = s;
    if (hooks_.countChange) hooks_.countChange();
    return true;
}

void PreviewSession::Leave(const Run& rebuild) {
    if (!started_) return;
    started_ = false;
    if (applied_) {
        if (!Shows(appliedSettings_) && rebuild) rebuild(appliedSettings_);
    } else if (shown_ && hooks_.putBack) {
        hooks_.putBack();
    }
    shown_ = whole_ = false;
}
