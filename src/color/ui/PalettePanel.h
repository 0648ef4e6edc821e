#pragma once

#include "color/QuickPalette.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QToolButton;

// The quick palette on the Palette bar: the colour cells above, the Open and Save buttons, and
// the two swatches, the drawing colour lying over the larger background colour. It only shows
// what it is given and reports presses; the owner decides what they do.
class PalettePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 56, kHeight = 176;

    explicit PalettePanel(QWidget* parent = nullptr);
    ~PalettePanel() override;

    // The cells are made anew with the palette's layout, colours and hints.
    void SetCells(const QuickPalette& palette);
    // One cell's colour and hint.
    void SetCellColour(int cell, uint32_t colour);
    void SetSwatchColour(int which, uint32_t colour);
    uint32_t SwatchColour(int which) const;

    int CellCount() const { return int(cells_.size()); }
    QWidget* Cell(int cell) const; // nullptr outside
    QWidget* SwatchWidget(int which) const;
    QToolButton* OpenButton() const { return open_; }
    QToolButton* SaveButton() const { return save_; }

    // A mouse press on a cell: its index, the button, and whether Shift, Ctrl or Alt was held.
    std::function<void(int cell, CellButton button, bool modifier)> cellPressed;
    // A mouse press on a swatch (DrawSwatch or BackSwatch), any button.
    std::function<void(int which)> swatchPressed;
    std::function<void()> openClicked;
    std::function<void()> saveClicked;

private:
    class ColourBlock;
    std::vector<ColourBlock*> cells_;
    ColourBlock* swatches_[2] = {};
    QToolButton* open_ = nullptr;
    QToolButton* save_ = nullptr;
};
