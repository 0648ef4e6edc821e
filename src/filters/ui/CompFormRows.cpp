#include "filters/ui/CompForm.h"
#include "filters/ui/CompFormParts.h"

#include "app/KeyRouting.h"
#include "lang/Language.h"
#include "raster/Buffer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

using comp::ParamDef;
using comp::ParamType;
using comp::ParamValue;
using namespace compform;

namespace compform {

QImage ToImage(const Buffer& b) {
    QImage img(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) line[x] = 0xFF000000u | (b.At(x, y) & 0xFFFFFF);
    }
    return img;
}

} // namespace compform

void TCompForm::MakeRow(int place, const ParamDef& def, const ParamValue& value, int top) {
    auto row = std::make_unique<Row>();
    row->def = def;
    row->height = RowHeight(def.letter);
    const QString name = QStringLiteral("Par%1").arg(place);
    const QString caption = language_.TranslateName(def.label);
    const int h = row->height - 3;
    auto label = [&] {
        row->label = new QLabel(caption, this);
        row->label->setObjectName(name + QStringLiteral("Label"));
        row->label->setGeometry(kLabelLeft, top, Width - kLabelLeft - kMargin, std::min(h, 22));
    };
    auto changed = [this, place] { Changed(place); };
    switch (def.type) {
    case ParamType::Button:
        row->button = new QPushButton(caption, this);
        row->button->setAutoDefault(false);
        row->button->setGeometry(kMargin, top, Width - 2 * kMargin, h);
        connect(row->button, &QPushButton::clicked, this, [this, place] {
            if (session_ && !running_) session_->ButtonPressed(place);
        });
        row->control = row->button;
        break;
    case ParamType::Check:
        row->check = new QCheckBox(caption, this);
        row->check->setChecked(value.number != 0);
        row->check->setGeometry(kMargin, top, Width - 2 * kMargin, h);
        connect(row->check, &QCheckBox::toggled, this, changed);
        row->control = row->check;
        break;
    case ParamType::Integer:
        row->spin = new QSpinBox(this);
        row->spin->setRange(std::min(def.lowest, def.highest), std::max(def.lowest, def.highest));
        row->spin->setValue(int(std::lround(value.number)));
        row->spin->setKeyboardTracking(false);
        row->spin->setProperty("tag", ControlTag::Numeric | ControlTag::UpDown);
        row->spin->setGeometry(kMargin, top, kControlWidth, h);
        connect(row->spin, &QSpinBox::valueChanged, this, changed);
        row->control = row->spin;
        label();
        break;
    case ParamType::Decimal:
        row->decimal = new QDoubleSpinBox(this);
        row->decimal->setDecimals(std::clamp(def.decimals, 0, 10));
        row->decimal->setRange(std::min(def.lowestD, def.highestD),
                               std::max(def.lowestD, def.highestD));
        row->decimal->setSingleStep(def.step > 0 ? def.step : 1.0);
        row->decimal->setValue(value.number);
        row->decimal->setKeyboardTracking(false);
        row->decimal->setProperty("tag", ControlTag::Numeric | ControlTag::UpDown);
        row->decimal->setGeometry(kMargin, top, kControlWidth, h);
        connect(row->decimal, &QDoubleSpinBox::valueChanged, this, changed);
        row->control = row->decimal;
        label();
        break;
    case ParamType::Slider: {
        row->slider = new QSlider(Qt::Horizontal, this);
        row->slider->setRange(std::min(def.lowest, def.highest), std::max(def.lowest, def.highest));
        row->slider->setValue(int(std::lround(value.number)));
        row->slider->setProperty("tag", ControlTag::UpDown);
        row->slider->setGeometry(kMargin, top, kControlWidth - 28, h);
        row->sliderValue = new QLabel(row->slider);
        row->sliderValue->setParent(this);
        row->sliderValue->setObjectName(name + QStringLiteral("Value"));
        row->sliderValue->setGeometry(kMargin + kControlWidth - 26, top, 26, h);
        connect(row->slider, &QSlider::valueChanged, this, [this, place, changed] {
            ShowSliderValue(*RowAt(place));
            changed();
        });
        row->control = row->slider;
        label();
        break;
    }
    case ParamType::List:
        row->list = new QComboBox(this);
        for (const QString& item : def.items) row->list->addItem(language_.TranslateName(item));
        row->list->setCurrentIndex(std::clamp(int(value.number) - 1, 0, row->list->count() - 1));
        row->list->setProperty("tag", ControlTag::UpDown);
        row->list->setGeometry(kMargin, top, kControlWidth, h);
        connect(row->list, &QComboBox::currentIndexChanged, this, changed);
        row->control = row->list;
        label();
        break;
    case ParamType::Colour:
        row->button = new QPushButton(this);
        row->button->setAutoDefault(false);
        row->button->setGeometry(kMargin, top, kControlWidth, h);
        row->colour = value.colour & 0xFFFFFF;
        connect(row->button, &QPushButton::clicked, this, [this, place] { PickColour(place); });
        row->control = row->button;
        label();
        break;
    case ParamType::Point: {
        row->spin = new QSpinBox(this);
        row->spinY = new QSpinBox(this);
        for (QSpinBox* s : {row->spin, row->spinY}) {
            s->setRange(0, 65535);
            s->setKeyboardTracking(false);
            s->setProperty("tag", ControlTag::Numeric | ControlTag::UpDown);
            connect(s, &QSpinBox::valueChanged, this, changed);
        }
        row->spin->setValue(value.x);
        row->spinY->setValue(value.y);
        row->spin->setGeometry(kMargin, top, kControlWidth / 2 - 1, h);
        row->spinY->setParent(this);
        row->spinY->setObjectName(name + QStringLiteral("Y"));
        row->spinY->setGeometry(kMargin + kControlWidth / 2 + 1, top, kControlWidth / 2 - 1, h);
        row->control = row->spin;
        label();
        break;
    }
    case ParamType::Image: {
        row->image = new ImageStepper(this);
        row->image->setRange(1, 10);
        row->image->holdsImage = [this](int slot) {
            const Buffer* b = hooks.imageOf ? hooks.imageOf(slot) : nullptr;
            return b && !b->Empty();
        };
        row->image->setValue(std::clamp(int(value.number), 1, 10));
        row->image->setProperty("tag", ControlTag::UpDown);
        row->image->setGeometry(kMargin, top, 44, 22);
        row->thumb = new QLabel(this);
        row->thumb->setObjectName(name + QStringLiteral("Thumb"));
        row->thumb->setAlignment(Qt::AlignCenter);
        row->thumb->setFrameShape(QFrame::Box);
        row->thumb->setGeometry(kMargin + 48, top, kThumbW + 4, kThumbH + 4);
        connect(row->image, &QSpinBox::valueChanged, this, [this, place, changed] {
            ShowThumbnail(*RowAt(place));
            changed();
        });
        row->control = row->image;
        row->label = new QLabel(caption, this);
        row->label->setObjectName(name + QStringLiteral("Label"));
        row->label->setGeometry(kMargin, top + kThumbH + 8, Width - 2 * kMargin, 20);
        break;
    }
    case ParamType::None:
        return;
    }
    row->control->setObjectName(name);
    row->control->show();
    if (row->label) row->label->show();
    rows_[size_t(place - 1)] = std::move(row);
    Row& made = *RowAt(place);
    if (made.slider) ShowSliderValue(made);
    if (made.image) {
        made.thumb->show();
        ShowThumbnail(made);
    }
    if (def.type == ParamType::Colour) ShowColour(made);
    if (made.spinY) made.spinY->show();
    if (made.sliderValue) made.sliderValue->show();
}

void TCompForm::ShowColour(Row& row) {
    const QColor c = QColor::fromRgb(row.colour);
    row.button->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid black").arg(c.name()));
}

void TCompForm::ShowSliderValue(Row& row) {
    row.sliderValue->setText(QString::number(row.slider->value()));
}

void TCompForm::ShowThumbnail(Row& row) {
    const Buffer* b = hooks.imageOf ? hooks.imageOf(row.image->value()) : nullptr;
    if (!b || b->Empty()) {
        row.thumb->setPixmap({});
        return;
    }
    // Thumbnails are small: scale the picture through Qt, keeping its proportions.
    const QImage img =
        ToImage(*b).scaled(kThumbW, kThumbH, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    row.thumb->setPixmap(QPixmap::fromImage(img));
}

ParamValue TCompForm::Value(int place) const {
    ParamValue v;
    const Row* row = RowAt(place);
    if (!row) return v;
    if (row->spin && !row->spinY) v.number = row->spin->value();
    if (row->decimal) v.number = row->decimal->value();
    if (row->slider) v.number = row->slider->value();
    if (row->check) v.number = row->check->isChecked() ? 1 : 0;
    if (row->list) v.number = row->list->currentIndex() + 1;
    if (row->image) v.number = row->image->value();
    if (row->def.type == ParamType::Colour) v.colour = row->colour;
    if (row->spinY) {
        v.x = row->spin->value();
        v.y = row->spinY->value();
    }
    return v;
}

void TCompForm::SetValue(int place, const ParamValue& value) {
    Row* row = RowAt(place);
    if (!row) return;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    if (row->spin && !row->spinY) row->spin->setValue(int(std::lround(value.number)));
    if (row->decimal) row->decimal->setValue(value.number);
    if (row->slider) row->slider->setValue(int(std::lround(value.number)));
    if (row->check) row->check->setChecked(value.number != 0);
    if (row->list)
        row->list->setCurrentIndex(std::clamp(int(value.number) - 1, 0, row->list->count() - 1));
    if (row->image) row->image->setValue(std::clamp(int(value.number), 1, 10));
    if (row->def.type == ParamType::Colour) {
        row->colour = value.colour & 0xFFFFFF;
        ShowColour(*row);
    }
    if (row->spinY) {
        row->spin->setValue(value.x);
        row->spinY->setValue(value.y);
    }
    quiet_ = wasQuiet;
}

void TCompForm::SetCaption(int place, const QString& text) {
    Row* row = RowAt(place);
    if (!row) return;
    if (row->check)
        row->check->setText(text);
    else if (row->def.type == ParamType::Button)
        row->button->setText(text);
    else if (row->label)
        row->label->setText(text);
}

void TCompForm::SetLowest(int place, double value) {
    Row* row = RowAt(place);
    if (!row) return;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    if (row->spin && !row->spinY) row->spin->setMinimum(int(value));
    if (row->decimal) row->decimal->setMinimum(value);
    if (row->slider) row->slider->setMinimum(int(value));
    quiet_ = wasQuiet;
}

void TCompForm::SetHighest(int place, double value) {
    Row* row = RowAt(place);
    if (!row) return;
    const bool wasQuiet = quiet_;
    quiet_ = true;
    if (row->spin && !row->spinY) row->spin->setMaximum(int(value));
    if (row->decimal) row->decimal->setMaximum(value);
    if (row->slider) row->slider->setMaximum(int(value));
    quiet_ = wasQuiet;
}

void TCompForm::SetStep(int place, double value) {
    Row* row = RowAt(place);
    if (!row || !(value > 0)) return;
    if (row->spin && !row->spinY) row->spin->setSingleStep(std::max(1, int(value)));
    if (row->decimal) row->decimal->setSingleStep(value);
    if (row->slider) row->slider->setPageStep(std::max(1, int(value)));
}

void TCompForm::SetDecimals(int place, int decimals) {
    Row* row = RowAt(place);
    if (row && row->decimal) row->decimal->setDecimals(std::clamp(decimals, 0, 10));
}
