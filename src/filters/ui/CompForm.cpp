#include "filters/ui/CompForm.h"
#include "filters/ui/CompFormParts.h"

#include "app/KeyRouting.h"
#include "color/ui/ColorSel.h"
#include "lang/Language.h"
#include "lang/WindowTranslator.h"
#include "raster/Buffer.h"
#include "ui/DialogButtons.h"

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

using namespace compform;

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
TCompForm::TCompForm(const Language& language, Mode mode, QWidget* parent)
    : QDialog(parent), language_(language), mode_(mode) {
    setObjectName(QStringLiteral("CompForm"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("helpContext", HelpContext);
    setProperty("ownsHelpKey", true); // F1 shows the component's own help file
    copyrightMessage_ = new QLabel(this);
    copyrightMessage_->setObjectName(QStringLiteral("CopyrightMessage"));
    okBtn_ = NamedButton("OkBtn", tr("&Ok"), this);
    okBtn_->setToolTip(tr("Accept Effect"));
    previewBtn_ = NamedButton("PreviewBtn", tr("&Preview"), this);
    previewBtn_->setToolTip(tr("Full Preview"));
    cancelBtn_ = NamedButton("CancelBtn", tr("&Cancel"), this);
    cancelBtn_->setToolTip(tr("Abandon Effect"));
    presetBtn_ = NamedButton("PresetBtn", tr("P&reset"), this);
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
