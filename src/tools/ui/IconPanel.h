#pragma once

// The pop-up with every variant of a palette group, opened by holding the group's button.

#include "tools/Palette.h"

#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>

class QToolButton;

// The icon a variant's buttons show: its own image, or the drawn icon of its name.
QIcon PaletteIcon(const PaletteVariant& variant);

class IconPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int HoldMs = 500; // IconTimer

    explicit IconPanel(Palette& palette, QWidget* parent = nullptr);

    // A palette button of `group` went down: the panel opens if it is held long enough.
    void ArmTimer(int group, QWidget* button);
    void StopTimer() { iconTimer_.stop(); }
    bool TimerActive() const { return iconTimer_.isActive(); }

    // The timer's tick: opens the panel beside the remembered button.
    void ShowIconPanel();
    // Opens the panel for a group whose button's screen top-left is `button` on `screen`.
    void ShowFor(int group, QPoint button, const QRect& screen);
    void CloseForm();

    // Variant i of the shown group chosen: the group shows and selects it.
    void IconSelected(int i);

    // While a selection runs the panel must not close when it loses the focus.
    void SetSelecting(bool on) { selecting_ = on; }

    int ShownGroup() const { return group_; }
    // Null until the panel first opened.
    QToolButton* VariantButton(int i) const { return buttons_.at(size_t(i)); }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void MakeButtons();

    Palette& palette_;
    QTimer iconTimer_;
    QPointer<QWidget> heldButton_;
    int heldGroup_ = -1;
    int group_ = -1;
    bool selecting_ = false;
    std::array<QToolButton*, Palette::PanelButtons> buttons_{};
};
