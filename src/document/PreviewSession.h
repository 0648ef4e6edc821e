#pragma once

#include <functional>
#include <vector>

class DocumentTable;

// The Preview / Apply pattern of everything that rebuilds the whole picture from its undo copy
// (stretch and rotate, the filter windows, components):
// - Start takes the undo copy, which every run reads, and forgets what was shown or applied.
// - Preview shows the result of a run with some settings, unless the picture already shows
//   exactly those; Apply does the same, then marks the result applied and counts one change.
// - A run stopped midway leaves the picture matching no settings, so it is never applied.
// - Leave keeps the last applied result (rebuilt if a later preview replaced it) or, when
//   nothing was applied, puts the undo copy back. The picture never keeps an unapplied preview
//   and an applied one is never thrown away.
// The picture work stays with the caller: runs, the copy and the put-back come in as functions.
// Windows that cannot tell their settings apart as values use a count of their edits instead.
class PreviewSession {
public:
    using Settings = std::vector<double>;
    // Refused: the picture is untouched (no memory, nothing to do); Stopped: partly rebuilt.
    enum class Outcome { Done, Refused, Stopped };
    using Run = std::function<Outcome(const Settings&)>;

    struct Hooks {
        std::function<bool()> takeUndo;    // false when the copy could not be made
        std::function<void()> putBack;     // the undo copy back into the picture
        std::function<void()> countChange; // one more change of the document
    };

    PreviewSession() = default;
    explicit PreviewSession(Hooks hooks) : hooks_(std::move(hooks)) {}
    // The current document of a table: its undo snapshot, RestoreFromUndo, a change counted in
    // the file label.
    static Hooks CurrentDocument(DocumentTable& docs);

    // False (nothing may be previewed) when the undo copy could not be taken.
    bool Start();
    bool Started() const { return started_; }
    // Whether the picture shows the complete result of a run with s.
    bool Shows(const Settings& s) const { return shown_ && whole_ && s == shownSettings_; }
    bool Applied() const { return applied_; }

    // True when the picture then shows s.
    bool Preview(const Settings& s, const Run& run);
    bool Apply(const Settings& s, const Run& run);
    // Apply without a run: false when the picture does not already show s.
    bool ApplyShown(const Settings& s);
    // rebuild may be empty where nothing can be previewed after an Apply (windows that close).
    void Leave(const Run& rebuild = {});

private:
    Hooks hooks_;
    bool started_ = false;
    bool shown_ = false; // the picture differs from the undo copy
    bool whole_ = false; // ... and is the complete result of shownSettings_
    bool applied_ = false;
    Settings shownSettings_, appliedSettings_;
};
