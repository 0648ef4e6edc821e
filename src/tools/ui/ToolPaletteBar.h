#pragma once

// The palette on the Tools bar: two columns of group buttons, each showing its current variant.
// Left click selects it, holding opens the variant pop-up, right click selects the alternate.

#include "tools/Palette.h"

#include <QWidget>

#include <vector>

class IconPanel;
class QToolButton;

class ToolPaletteBar : public QWidget {
    Q_OBJECT
public:
    // Takes over the palette's change handler to keep the buttons current.
    ToolPaletteBar(Palette& palette, IconPanel& panel, QWidget* parent = nullptr);

    // One button per group; call after the palette is registered (again after a rebuild).
    void Rebuild();
    // The group's button shows its current variant, hint and state.
    void Refresh(int group);

    int ButtonCount() const { return int(buttons_.size()); }
    QToolButton* Button(int group) const { return buttons_.at(size_t(group)); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void IconMouseClick(int group);

    Palette& palette_;
    IconPanel& panel_;
    std::vector<QToolButton*> buttons_;
};
