#pragma once

#include "raster/Geometry.h"

#include <QDialog>

class Language;
class QSpinBox;

// Asks for the size of a new picture. Enter accepts, Escape cancels.
class TNewForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1110;
    static constexpr int MaxSide = 16384;

    TNewForm(const Language& language, Pair size, QWidget* parent = nullptr);

    Pair ChosenSize() const;
    QSpinBox* SizeX() const { return sizeX_; }
    QSpinBox* SizeY() const { return sizeY_; }

private:
    QSpinBox* sizeX_;
    QSpinBox* sizeY_;
};
