#pragma once

#include <QObject>

#include <functional>

class QWidget;

// F1 in any window of the program: the help page of that window's help context (the
// "helpContext" property of a dialog or tool window), else of the main window's, which follows
// the current tool. A window with the "ownsHelpKey" property answers F1 itself (a component's
// own help file).
class HelpKey : public QObject {
public:
    HelpKey(QWidget* mainWindow, std::function<void(int context)> show, QObject* parent);

    // The context F1 shows from window: its own or its owners', else the main window's.
    int ContextFor(const QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mainWindow_;
    std::function<void(int)> show_;
};
