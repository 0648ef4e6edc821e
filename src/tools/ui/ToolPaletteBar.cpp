#include "tools/ui/ToolPaletteBar.h"

#include "tools/ToolIcons.h"
#include "tools/ui/IconPanel.h"

#include <QMouseEvent>
#include <QToolButton>

ToolPaletteBar::ToolPaletteBar(Palette& palette, IconPanel& panel, QWidget* parent)
    : QWidget(parent), palette_(palette), panel_(panel) {
    palette_.SetChangeHandler([this](int group) { Refresh(group); });
    Rebuild();
}

void ToolPaletteBar::Rebuild() {
    for (QToolButton* b : buttons_) delete b;
    buttons_.clear();
    const int groups = palette_.GroupCount();
    for (int g = 0; g < groups; ++g) {
        auto* b = new QToolButton(this);
        b->setFixedSize(Palette::ButtonSize, Palette::ButtonSize);
        b->setIconSize(QSize(ToolIconSize, ToolIconSize));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->move(Palette::ButtonPosition(g));
        b->setCheckable(palette_.Group(g).buttonGroup != PaletteButtonGroup::Command);
        b->setEnabled(palette_.Group(g).enabled);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, g] { IconMouseClick(g); });
        buttons_.push_back(b);
        Refresh(g);
        b->show();
    }
    setFixedSize(2 * Palette::ButtonSize, (groups + 1) / 2 * Palette::ButtonSize);
}

void ToolPaletteBar::Refresh(int group) {
    if (group < 0 || group >= ButtonCount() || group >= palette_.GroupCount()) return;
    QToolButton* b = buttons_[size_t(group)];
    const PaletteVariant& v = palette_.CurrentVariant(group);
    b->setIcon(PaletteIcon(v));
    b->setToolTip(v.hint);
    switch (palette_.Group(group).buttonGroup) {
    case PaletteButtonGroup::Tools:
        b->setChecked(palette_.DownGroup() == group);
        break;
    case PaletteButtonGroup::Grid:
        b->setChecked(palette_.GridDown());
        break;
    case PaletteButtonGroup::Command:
        break;
    }
}

void ToolPaletteBar::IconMouseClick(int group) {
    panel_.SetSelecting(true);
    palette_.ClickGroup(group);
    panel_.SetSelecting(false);
    // A click toggles the button by itself; the palette's state decides what it shows.
    Refresh(group);
}

bool ToolPaletteBar::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, e);
    int group = -1;
    for (int g = 0; g < ButtonCount(); ++g)
        if (buttons_[size_t(g)] == watched) group = g;
    if (group < 0) return QWidget::eventFilter(watched, e);
    const auto* me = static_cast<QMouseEvent*>(e);
    if (e->type() == QEvent::MouseButtonPress) { // IconMouseDown
        panel_.StopTimer();
        panel_.CloseForm();
        if (me->button() == Qt::RightButton) {
            palette_.AlternateGroup(group);
            return true;
        }
        if (me->button() == Qt::LeftButton && palette_.WantsPanel(group))
            panel_.ArmTimer(group, buttons_[size_t(group)]);
        return false;
    }
    // IconMouseUp: the pop-up, if it opened, takes the keyboard so Escape reaches it.
    panel_.StopTimer();
    if (panel_.isVisible()) {
        panel_.activateWindow();
        panel_.setFocus();
    }
    return me->button() == Qt::RightButton;
}
