#include "color/ui/PalettePanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <optional>

// A flat block of colour; cells have no outline, the swatches a one-pixel black one.
class PalettePanel::ColourBlock : public QWidget {
public:
    ColourBlock(QWidget* parent, bool outline) : QWidget(parent), outline_(outline) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    uint32_t colour = 0;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)> pressed;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(colour & 0xFFFFFF));
        if (outline_) {
            painter.setPen(Qt::black);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (pressed) pressed(event->button(), event->modifiers());
    }

private:
    bool outline_;
};

namespace {

constexpr int kButtonWidth = 28, kButtonHeight = 16, kButtonTop = 112;

std::optional<CellButton> ToCellButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return CellButton::Left;
    case Qt::RightButton:
        return CellButton::Right;
    case Qt::MiddleButton:
        return CellButton::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

PalettePanel::PalettePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PalettePanel"));
    setFixedSize(kWidth, kHeight);

    auto makeButton = [this](const char* name, const QString& text, const QString& hint, int left) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setToolTip(hint);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::NoFocus);
        QFont small = button->font();
        small.setPixelSize(10);
        button->setFont(small);
        button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
        return button;
    };
    open_ = makeButton("OpenPaletteBtn", QStringLiteral("Open"), QStringLiteral("Open Palette"), 0);
    save_ = makeButton("SavePaletteBtn", QStringLiteral("Save"), QStringLiteral("Save Palette"),
                       kButtonWidth);
    connect(open_, &QToolButton::clicked, this, [this] {
        if (openClicked) openClicked();
    });
    connect(save_, &QToolButton::clicked, this, [this] {
        if (saveClicked) saveClicked();
    });

    // Made background first so that the drawing colour lies over it.
    const struct {
        int which;
        const char* name;
        QRect place;
        const char* hint;
    } swatches[] = {{BackSwatch, "BackCol", {0, 128, 55, 48}, "Background Color"},
                    {DrawSwatch, "DrawCol", {14, 140, 28, 24}, "Drawing Color"}};
    for (const auto& s : swatches) {
        auto* block = new ColourBlock(this, true);
        block->setObjectName(QString::fromLatin1(s.name));
        block->setGeometry(s.place);
        block->setToolTip(QString::fromLatin1(s.hint));
        block->pressed = [this, which = s.which](Qt::MouseButton, Qt::KeyboardModifiers) {
            if (swatchPressed) swatchPressed(which);
        };
        block->raise();
        swatches_[s.which] = block;
    }
    swatches_[DrawSwatch]->colour = 0xFFFFFF;
}

PalettePanel::~PalettePanel() = default;

void PalettePanel::SetCells(const QuickPalette& palette) {
    // Later, not now: the press that led here may still be running in one of them.
    for (ColourBlock* cell : cells_) {
        cell->hide();
        cell->deleteLater();
    }
    cells_.clear();
    for (int i = 0; i < palette.Count(); ++i) {
        auto* cell = new ColourBlock(this, false);
        const CellRect r = palette.CellGeometry(i);
        cell->setGeometry(r.left, r.top, r.width, r.height);
        cell->pressed = [this, i](Qt::MouseButton button, Qt::KeyboardModifiers keys) {
            const std::optional<CellButton> b = ToCellButton(button);
            if (!b || !cellPressed) return;
            cellPressed(
                i, *b,
                keys.testAnyFlags(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
        };
        cells_.push_back(cell);
        SetCellColour(i, palette.Colour(i));
        cell->show();
    }
}

void PalettePanel::SetCellColour(int cell, uint32_t colour) {
    if (cell < 0 || cell >= CellCount()) return;
    ColourBlock* block = cells_[size_t(cell)];
    block->colour = colour;
    block->setToolTip(QuickPalette::Hint(colour));
    block->update();
}

void PalettePanel::SetSwatchColour(int which, uint32_t colour) {
    if (which != DrawSwatch && which != BackSwatch) return;
    swatches_[which]->colour = colour;
    swatches_[which]->update();
}

uint32_t PalettePanel::SwatchColour(int which) const {
    return which == DrawSwatch || which == BackSwatch ? swatches_[which]->colour : 0;
}

QWidget* PalettePanel::Cell(int cell) const {
    return cell >= 0 && cell < CellCount() ? cells_[size_t(cell)] : nullptr;
}

QWidget* PalettePanel::SwatchWidget(int which) const {
    return which == DrawSwatch || which == BackSwatch ? swatches_[which] : nullptr;
}
