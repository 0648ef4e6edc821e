#pragma once

#include <QString>

// Decides when the option bar is rebuilt, kept or hidden as tools change. Switching between two
// tools of one bar keeps the bar and what the user set in it, unless the Level preference
// changed since the bar was built (its Expert controls would show wrongly).
class OptionBarState {
public:
    enum class Step {
        None,    // nothing to do
        Clear,   // keep the bar; only clear the main window's active control
        Rebuild, // build the bar from its definition and show it (then clear the active control)
        Hide,    // hide the bar and disable its controls
    };

    // A tool with bar key becomes current; visible: whether the bar is on screen now.
    Step Show(const QString& key, bool visible, int level);
    // The tool with bar oldKey gives way to one with bar nextKey.
    Step Hide(const QString& oldKey, const QString& nextKey, int level);

    QString Key() const { return key_; }
    int BuildLevel() const { return buildLevel_; }

private:
    QString key_;
    int buildLevel_ = 0;
};
