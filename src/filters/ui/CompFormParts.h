#pragma once

// The pieces of the component window that its two files share: the layout constants, the row
// record and the image selector's number field.

#include "filters/ui/CompForm.h"

#include <QImage>
#include <QSpinBox>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

namespace compform {

inline constexpr int kMargin = 4;
inline constexpr int kControlWidth = 104; // the control at the left, its label beside it
inline constexpr int kLabelLeft = kMargin + kControlWidth + 4;
inline constexpr int kThumbW = 80, kThumbH = 64; // the image selector's thumbnail

QImage ToImage(const Buffer& b);

} // namespace compform

class TCompForm::ImageStepper : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    std::function<bool(int slot)> holdsImage;

    void stepBy(int steps) override {
        const int direction = steps < 0 ? -1 : 1;
        for (int slot = value() + direction; slot >= minimum() && slot <= maximum();
             slot += direction)
            if (!holdsImage || holdsImage(slot)) return setValue(slot);
    }
};

struct TCompForm::Row {
    comp::ParamDef def;
    int height = 0;
    bool hidden = false;
    QWidget* control = nullptr;
    QLabel* label = nullptr;
    QSpinBox* spin = nullptr; // integer; point x
    QSpinBox* spinY = nullptr;
    QDoubleSpinBox* decimal = nullptr;
    QSlider* slider = nullptr;
    QLabel* sliderValue = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* check = nullptr;
    QPushButton* button = nullptr; // push button and colour swatch
    ImageStepper* image = nullptr;
    QLabel* thumb = nullptr;
    uint32_t colour = 0;
};
