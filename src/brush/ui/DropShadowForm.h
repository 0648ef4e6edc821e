#pragma once

#include <QDialog>

#include <functional>

class Language;
class QComboBox;
class QSpinBox;

// Drop Shadow: depth and direction for the brush's shadow. A tool window beside the main one,
// not modal; Enter casts the shadow, Escape and Cancel close it, and so does losing the focus.
class TDropShForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1210;
    static constexpr int MaxDepth = 999;

    explicit TDropShForm(const Language& language, QWidget* parent = nullptr);

    // Ok: depth (1 .. 999) and direction (0 East, 1 South-East, 2 South, 3 South-West).
    std::function<void(int depth, int direction)> cast;

    QSpinBox* Depth() const { return depth_; }
    QComboBox* Direction() const { return direction_; }

protected:
    bool event(QEvent* e) override;

private:
    QSpinBox* depth_;
    QComboBox* direction_;
};
