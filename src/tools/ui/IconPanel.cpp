#include "tools/ui/IconPanel.h"

#include "tools/ToolIcons.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>

QIcon PaletteIcon(const PaletteVariant& variant) {
    const QImage image = variant.iconImage.isNull() ? ToolIcon(variant.icon) : variant.iconImage;
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

IconPanel::IconPanel(Palette& palette, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      palette_(palette) {
    setFocusPolicy(Qt::StrongFocus);
    iconTimer_.setSingleShot(true);
    iconTimer_.setInterval(HoldMs);
    connect(&iconTimer_, &QTimer::timeout, this, &IconPanel::ShowIconPanel);
}

// Made when the panel first opens: most sessions never hold a palette button down, and start-up
// should not build its 32 buttons.
void IconPanel::MakeButtons() {
    if (buttons_[0]) return;
    for (int i = 0; i < Palette::PanelButtons; ++i) {
        auto* b = new QToolButton(this);
        b->setAutoRaise(true);
        b->setFixedSize(Palette::PanelButtonSize, Palette::PanelButtonSize);
        b->setIconSize(QSize(ToolIconSize, ToolIconSize));
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        connect(b, &QToolButton::clicked, this, [this, i] { IconSelected(i); });
        buttons_[size_t(i)] = b;
    }
}

void IconPanel::ArmTimer(int group, QWidget* button) {
    heldGroup_ = group;
    heldButton_ = button;
    iconTimer_.start();
}

void IconPanel::ShowIconPanel() {
    iconTimer_.stop();
    CloseForm();
    if (!heldButton_ || !palette_.WantsPanel(heldGroup_)) return;
    const QScreen* screen = heldButton_->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    ShowFor(heldGroup_, heldButton_->mapToGlobal(QPoint(0, 0)), area);
}

void IconPanel::ShowFor(int group, QPoint button, const QRect& screen) {
    CloseForm();
    if (!palette_.WantsPanel(group)) return;
    const PaletteGroup& g = palette_.Group(group);
    const IconPanelLayout layout = Palette::LayoutPanel(g.count, g.perRow, button, screen);
    group_ = group;
    setGeometry(layout.panel);
    MakeButtons();
    for (size_t i = 0; i < buttons_.size(); ++i) {
        QToolButton* b = buttons_[i];
        if (i >= layout.buttons.size()) {
            b->hide();
            continue;
        }
        const PaletteVariant& v = palette_.Variant(g.first + int(i));
        b->setIcon(PaletteIcon(v));
        b->setToolTip(v.hint);
        b->move(layout.buttons[i]);
        b->show();
    }
    show();
}

void IconPanel::CloseForm() {
    hide();
    group_ = -1;
}

void IconPanel::IconSelected(int i) {
    const int group = group_;
    selecting_ = true;
    palette_.ChooseVariant(group, i);
    selecting_ = false;
    CloseForm();
}

bool IconPanel::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && !selecting_ && isVisible()) CloseForm();
    return QWidget::event(e);
}

void IconPanel::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        CloseForm();
        return;
    }
    QWidget::keyPressEvent(e);
}
