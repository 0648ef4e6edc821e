#pragma once

#include "tools/OptionBarDef.h"
#include "tools/OptionBarHost.h"
#include "tools/OptionBarState.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QToolBar;
class QWidget;

// The option bar of the main window: builds the controls of a bar definition into a tool bar
// and gives tools their values by control index. The caption label is the bar's first child and
// survives every rebuild; everything else is replaced.
class OptionBar : public QObject, public OptionBarHost {
    Q_OBJECT
public:
    // Control tags: level * LevelTag, plus ListTag for lists and NumberTag for number fields
    // (the main window's key routing reads them).
    static constexpr int LevelTag = 4096, ListTag = 4, NumberTag = 5;

    OptionBar(QToolBar& bar, QLabel& caption);
    ~OptionBar() override;

    // Replaces the controls; those above level are hidden and disabled. Handlers are dropped
    // with the controls they belonged to.
    void Build(const QString& definition, int level);
    void Build(const OptionBarDef& def, int level);

    // A tool with this bar key becomes current: builds and shows the bar unless it is up.
    void ShowBar(const QString& key, int level);
    // The tool of oldKey gives way to one with nextKey: the bar stays when both share it and
    // level has not changed since it was built; otherwise it is hidden and its controls disabled.
    void HideBar(const QString& oldKey, const QString& nextKey, int level);

    // Set by the shell.
    std::function<QString(const QString& key)> definitionOf;
    std::function<void()> clearActiveControl;
    QToolBar* gridBar = nullptr; // hidden while the bar is rebuilt, so it docks after it
    std::function<bool()> gridOn;

    int ControlCount() const { return int(controls_.size()); }
    // Null beyond the built controls.
    QWidget* Control(int index) const;
    // Shown in the bar (its level is within the Level it was built for).
    bool ControlShown(int index) const;
    const OptionBarState& State() const { return state_; }

    // Writes never call the control's handler, so a tool cannot set off its own handler.
    double GetValue(int index) const;
    void SetValue(int index, double value) override;
    // Number field: change and editing finished; push and picture button: click; check box:
    // change; list and font list: change of selection.
    void SetHandler(int index, std::function<void()> handler) override;
    // The colour swatch's pointer press.
    void SetSwatchHandler(int index, std::function<void()> handler) override;
    void SetEnabled(int index, bool enabled) override;

    double Value(int index) const override { return GetValue(index); }

private:
    struct Entry {
        OptionKind kind;
        QPointer<QWidget> widget;
        QAction* action = nullptr;
        QPointer<QLabel> label; // F I L O
        QAction* labelAction = nullptr;
        std::function<void()> handler;
        std::function<void()> swatchHandler;
    };

    void Clear();
    void AddControl(const OptionEntry& e, int level);
    QWidget* MakeControl(const OptionEntry& e, int index);
    void Connect(QWidget* w, OptionKind kind, int index);
    void Fire(int index, const QWidget* from, bool swatch);
    const Entry* At(int index) const;

    QPointer<QToolBar> bar_;
    QPointer<QLabel> caption_;
    std::vector<Entry> controls_;
    OptionBarState state_;
};
