#include "filters/ui/CompForm.h"

#include "app/KeyRouting.h"
#include "color/ui/ColorSel.h"
#include "lang/Language.h"
#include "lang/WindowTranslator.h"
#include "raster/Buffer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

using comp::ParamDef;
using comp::ParamType;
using comp::ParamValue;

namespace {

constexpr int kMargin = 4;
constexpr int kControlWidth = 104; // the control at the left, its label beside it
constexpr int kLabelLeft = kMargin + kControlWidth + 4;
constexpr int kThumbW = 80, kThumbH = 64; // the image selector's thumbnail

QImage ToImage(const Buffer& b) {
    QImage img(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) line[x] = 0xFF000000u | (b.At(x, y) & 0xFFFFFF);
    }
    return img;
}

QPushButton* Button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

// The instant preview: the picture, and clicks on it for the component.
class TCompForm::PreviewLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void(QMouseEvent&)> pressed;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (pressed) pressed(*event);
    }
};

// The image selector's number: stepping skips slots that hold no picture.
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
    ParamDef def;
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

TCompForm::TCompForm(const Language& language, Mode mode, QWidget* parent)
    : QDialog(parent), language_(language), mode_(mode) {
    setObjectName(QStringLiteral("CompForm"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("helpContext", HelpContext);
    copyrightMessage_ = new QLabel(this);
    copyrightMessage_->setObjectName(QStringLiteral("CopyrightMessage"));
    okBtn_ = Button("OkBtn", tr("&Ok"), this);
    okBtn_->setToolTip(tr("Accept Effect"));
    previewBtn_ = Button("PreviewBtn", tr("&Preview"), this);
    previewBtn_->setToolTip(tr("Full Preview"));
    cancelBtn_ = Button("CancelBtn", tr("&Cancel"), this);
    cancelBtn_->setToolTip(tr("Abandon Effect"));
    presetBtn_ = Button("PresetBtn", tr("P&reset"), this);
    presetBtn_->setToolTip(tr("Original Settings"));
    instPreview_ = new QCheckBox(tr("Inst Preview"), this);
    instPreview_->setObjectName(QStringLiteral("InstPreview"));
    instPreview_->setToolTip(tr("Display Instant Preview"));
    instPreview_->setChecked(true);
    instPreviewBuf_ = new PreviewLabel(this);
    instPreviewBuf_->setObjectName(QStringLiteral("InstPreviewBuf"));
    instPreviewBuf_->pressed = [this](QMouseEvent& e) {
        if (!session_ || running_) return;
        const QPoint p = e.position().toPoint();
        session_->Click({p.x(), p.y()}, {instPreviewBuf_->width(), instPreviewBuf_->height()},
                        e.button() == Qt::RightButton, true);
    };
    for (QWidget* w : std::initializer_list<QWidget*>{okBtn_, previewBtn_, cancelBtn_, presetBtn_,
                                                      instPreview_, instPreviewBuf_})
        w->hide();
    connect(okBtn_, &QPushButton::clicked, this, &TCompForm::OkBtnClick);
    connect(previewBtn_, &QPushButton::clicked, this, &TCompForm::PreviewBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TCompForm::CancelBtnClick);
    connect(presetBtn_, &QPushButton::clicked, this, &TCompForm::PresetBtnClick);
    connect(instPreview_, &QCheckBox::clicked, this, &TCompForm::InstPreviewClick);
    TranslateWindow(language_, QStringLiteral("[CompForm]"), {this});
    // The window sees keys before its controls.
    qApp->installEventFilter(this);
}

TCompForm::~TCompForm() {
    qApp->removeEventFilter(this);
    if (hooks.setHelp && isActiveWindow()) hooks.setHelp({});
}

int TCompForm::RowHeight(char letter) {
    switch (letter) {
    case 'B':
        return 26;
    case 'C':
        return 23;
    case 'F':
        return 25;
    case 'G':
        return 94;
    case 'I':
        return 25;
    case 'L':
        return 26;
    case 'O':
        return 27;
    case 'P':
        return 26;
    case 'S':
        return 22;
    default:
        return 0;
    }
}

TCompForm::Row* TCompForm::RowAt(int place) {
    return place >= 1 && place <= comp::MaxParams ? rows_[size_t(place - 1)].get() : nullptr;
}

const TCompForm::Row* TCompForm::RowAt(int place) const {
    return place >= 1 && place <= comp::MaxParams ? rows_[size_t(place - 1)].get() : nullptr;
}

QWidget* TCompForm::Control(int place) const {
    const Row* row = RowAt(place);
    return row ? row->control : nullptr;
}

QLabel* TCompForm::Label(int place) const {
    const Row* row = RowAt(place);
    return row ? row->label : nullptr;
}

int TCompForm::Build(const comp::Descriptor& descriptor, const comp::ParamValues& values,
                     const std::array<bool, comp::MaxParams>& hidden) {
    for (auto& row : rows_) {
        if (!row) continue;
        delete row->control;
        delete row->label;
        row.reset();
    }
    setWindowTitle(language_.TranslateName(descriptor.name));
    copyrightMessage_->setText(descriptor.copyright);
    copyrightMessage_->setToolTip(descriptor.contact);
    instant_ = mode_ == Mode::Tool && descriptor.HasOption('W');
    fullPreview_ = mode_ == Mode::Tool && descriptor.HasOption('P');
    quiet_ = true;
    int top = kMargin;
    int made = 0;
    for (int place = 1; place <= comp::MaxParams; ++place) {
        const ParamDef& def = descriptor.params[size_t(place - 1)];
        if (!def.Defined() || RowHeight(def.letter) == 0) continue;
        MakeRow(place, def, values[size_t(place - 1)], top);
        Row& row = *RowAt(place);
        row.hidden = hidden[size_t(place - 1)];
        if (row.hidden) {
            row.control->hide();
            if (row.label) row.label->hide();
        } else {
            top += row.height;
        }
        ++made;
    }
    quiet_ = false;
    rowsHeight_ = top - kMargin + 3;
    Layout();
    return made;
}

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

void TCompForm::Changed(int place) {
    if (quiet_ || !session_) return;
    session_->ControlChanged(place);
}

void TCompForm::PickColour(int place) {
    Row* row = RowAt(place);
    if (!row || running_) return;
    if (!hooks.editColour) return;
    ColourSwatch swatch;
    swatch.get = [this, place] { return RowAt(place) ? RowAt(place)->colour : 0u; };
    // Every change shows at once in the swatch and the preview (the colour-change notice).
    swatch.set = [this, place](uint32_t colour) {
        Row* r = RowAt(place);
        if (!r || r->colour == (colour & 0xFFFFFF)) return;
        r->colour = colour & 0xFFFFFF;
        ShowColour(*r);
        Changed(place);
    };
    hooks.editColour(swatch, row->label ? row->label->text() : QString());
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

void TCompForm::EnableControls(bool enabled) {
    running_ = !enabled;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != previewBtn_) w->setEnabled(enabled);
    setCursor(enabled ? Qt::ArrowCursor : Qt::WaitCursor);
}

void TCompForm::SetPreviewCaption(const QString& text) {
    previewBtn_->setText(text);
}

bool TCompForm::InstantPreviewShown() const {
    return instant_ && instPreview_->isChecked();
}

void TCompForm::RepaintPreview() {
    if (!session_ || !instant_) return;
    const Buffer& result = session_->PreviewResult();
    if (result.Empty()) return;
    instPreviewBuf_->setPixmap(QPixmap::fromImage(ToImage(result)));
}

void TCompForm::Layout() {
    int width = Width;
    int height = rowsHeight_ + ButtonSpace;
    if (instant_) {
        Pair size{120, 90};
        if (session_ && !session_->PreviewSource().Empty())
            size = {session_->PreviewSource().Width(), session_->PreviewSource().Height()};
        width = std::max(308, size.x + 220);
        height = std::max(height, size.y + 24 + 2 * kMargin);
        const int left = (width - size.x - Width) / 2 + 204;
        instPreviewBuf_->setGeometry(left, kMargin, size.x, size.y);
        instPreview_->setGeometry(left, kMargin + size.y + 2, std::max(size.x, 100), 20);
        instPreview_->show();
        instPreviewBuf_->setVisible(instPreview_->isChecked());
    } else {
        instPreview_->hide();
        instPreviewBuf_->hide();
    }
    // Ok, Cancel and Preset in a row, Preview under Ok, the copyright at the bottom.
    const int buttonsTop = height - ButtonSpace + 2;
    const int w = (Width - 2 * kMargin - 8) / 3;
    okBtn_->setGeometry(kMargin, buttonsTop, w, 24);
    cancelBtn_->setGeometry(kMargin + w + 4, buttonsTop, w, 24);
    presetBtn_->setGeometry(kMargin + 2 * (w + 4), buttonsTop, w, 24);
    previewBtn_->setGeometry(kMargin, buttonsTop + 26, w, 24);
    copyrightMessage_->setGeometry(kMargin + (fullPreview_ ? w + 4 : 0), buttonsTop + 28,
                                   width - 2 * kMargin - (fullPreview_ ? w + 4 : 0), 20);
    const bool tool = mode_ == Mode::Tool;
    okBtn_->setVisible(tool);
    cancelBtn_->setVisible(tool);
    presetBtn_->show();
    previewBtn_->setVisible(fullPreview_);
    copyrightMessage_->show();
    setFixedSize(width, height);
}

void TCompForm::ShowPanel() {
    Layout();
    RepaintPreview();
    const QRect area = hooks.imageArea ? hooks.imageArea() : QRect();
    if (area.isValid()) {
        // As a tool over the image area at a quarter of the free space; as a drawing mode out of
        // the way in its top-left corner.
        if (mode_ == Mode::Tool)
            move(area.left() + (area.width() - width()) / 4,
                 area.top() + (area.height() - height()) / 4);
        else
            move(area.topLeft() + QPoint(4, 4));
    }
    show();
    raise();
}

void TCompForm::HidePanel() {
    hide();
}

void TCompForm::OkBtnClick() {
    if (session_ && !running_) session_->Ok();
}

void TCompForm::PreviewBtnClick() {
    if (!session_) return;
    if (running_)
        session_->Stop();
    else
        session_->Preview();
}

void TCompForm::CancelBtnClick() {
    if (session_ && !running_) session_->Cancel();
}

void TCompForm::PresetBtnClick() {
    if (session_ && !running_) session_->Preset();
}

void TCompForm::InstPreviewClick() {
    instPreviewBuf_->setVisible(instPreview_->isChecked());
    if (session_) session_->InstantPreviewToggled(instPreview_->isChecked());
}

void TCompForm::reject() {
    // Escape and the window's close: Cancel, or Stop while a run goes.
    if (running_) {
        if (session_) session_->Stop();
        return;
    }
    if (session_)
        session_->Cancel();
    else
        QDialog::reject();
}

void TCompForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

bool TCompForm::event(QEvent* event) {
    // SetHelp2Comp / SetHelp2Main: the help follows the active window.
    if (event->type() == QEvent::WindowActivate && hooks.setHelp) hooks.setHelp(helpPage);
    if (event->type() == QEvent::WindowDeactivate && hooks.setHelp) hooks.setHelp({});
    return QDialog::event(event);
}

bool TCompForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* target = qobject_cast<QWidget*>(watched);
        if (target && target->window() == this &&
            FormKeyDown(*static_cast<QKeyEvent*>(event), FocusFor(target)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

QWidget* TCompForm::FocusFor(QWidget* target) const {
    // A key a control left alone comes on to the window: it is still that control's key.
    QWidget* focus = target == this ? focusWidget() : target;
    return focus == this ? nullptr : focus;
}

void TCompForm::GiveUpFocus(QWidget* focus) {
    if (!focus) return;
    for (QWidget* w = focus; w && w != this; w = w->parentWidget())
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) spin->interpretText();
    setFocus();
}

bool TCompForm::FormKeyDown(QKeyEvent& event, QWidget* focus) {
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool escape = key == Qt::Key_Escape;
    if (running_) {
        if (escape && session_) session_->Stop();
        return true; // nothing else is live while the component runs
    }
    if (key == Qt::Key_F1 && event.modifiers() == Qt::NoModifier) {
        if (hooks.showHelp) hooks.showHelp();
        return true;
    }
    if ((enter || escape) && mode_ == Mode::Tool) {
        GiveUpFocus(focus); // the edit gives up its value first
        if (enter)
            OkBtnClick();
        else
            CancelBtnClick();
        return true;
    }
    if (enter || escape) {
        GiveUpFocus(focus);
        if (escape && hooks.passKey) hooks.passKey(event);
        return true;
    }
    // The control's tag, also for the edit inside a spin box.
    int tag = 0;
    for (QWidget* w = focus; w && w != this && !tag; w = w->parentWidget())
        tag = w->property("tag").toInt();
    if (focus && KeyBelongsToControl(tag, key, event.modifiers())) return false;
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)
        return true; // arrows go nowhere else
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
    if (event.modifiers() == Qt::AltModifier && !(event.key() >= Qt::Key_0 && key <= Qt::Key_9))
        return false; // the buttons' own letters (Alt+O, Alt+C, ...)
    if (hooks.passKey) hooks.passKey(event);
    return true;
}
