#include "app/ViewController.h"

#include "app/AppContext.h"
#include "app/KeyRouting.h"
#include "app/MainForm.h"
#include "document/Host.h"
#include "document/ui/TBuffer.h"
#include "raster/Buffer.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>

namespace {

// The Zoom up-down shows its steps as the factors they stand for.
class ZoomSpin : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override { return ZoomStepCaption(value); }
    int valueFromText(const QString& text) const override {
        for (int s = MinZoomStep; s <= MaxZoomStep; ++s)
            if (ZoomStepCaption(s) == text.trimmed()) return s;
        return value();
    }
    QValidator::State validate(QString& text, int&) const override {
        for (int s = MinZoomStep; s <= MaxZoomStep; ++s)
            if (ZoomStepCaption(s) == text.trimmed()) return QValidator::Acceptable;
        return QValidator::Intermediate;
    }
};

} // namespace

ViewController::ViewController(TMainForm& form, AppContext& context,
                               std::function<Buffer*()> currentImage)
    : form_(form), context_(context), currentImage_(std::move(currentImage)),
      view_(static_cast<TBuffer*>(form.ShowBuf())) {
    label_ = new QLabel(form.PaletteBar());
    label_->setObjectName(QStringLiteral("ZoomLabel"));
    zoom_ = new ZoomSpin(form.PaletteBar());
    zoom_->setObjectName(QStringLiteral("Zoom"));
    zoom_->setRange(MinZoomStep, MaxZoomStep);
    zoom_->setValue(state_.Step());
    zoom_->setFocusPolicy(Qt::ClickFocus);
    zoom_->setProperty("tag", ControlTag::Numeric | ControlTag::UpDown);
    form.PaletteBar()->addWidget(label_);
    form.PaletteBar()->addWidget(zoom_);
    connect(zoom_, &QSpinBox::valueChanged, this, [this](int step) {
        if (!applying_) SetStep(step);
    });
    form.ScrollBox()->setAlignment(Qt::AlignCenter);
    for (QScrollBar* bar :
         {form.ScrollBox()->horizontalScrollBar(), form.ScrollBox()->verticalScrollBar()})
        bar->setSingleStep(16);
    view_->setMouseTracking(true);
    view_->installEventFilter(this);
    ShowLabel();
}

ViewGeometry ViewController::Geometry() const {
    const Buffer* image = currentImage_();
    ViewGeometry g;
    if (image && !image->Empty()) g.image = {image->Width(), image->Height()};
    const QSize client = form_.ScrollBox()->viewport()->size();
    g.client = {client.width(), client.height()};
    g.viewOrigin = {view_->x(), view_->y()};
    return g;
}

void ViewController::Apply(const ZoomChange& change) {
    applying_ = true;
    view_->SetZoom(change.packedZoom);
    if (change.resized) {
        view_->resize(change.viewSize.x, change.viewSize.y);
        form_.ScrollBox()->horizontalScrollBar()->setValue(change.scroll.x);
        form_.ScrollBox()->verticalScrollBar()->setValue(change.scroll.y);
    }
    zoom_->setValue(state_.Step());
    applying_ = false;
    ShowLabel();
    view_->update();
}

void ViewController::ApplyZoom() {
    Apply(state_.ApplyZoom(Geometry()));
}

void ViewController::FitZoom() {
    if (const auto change = state_.FitZoom(Geometry())) Apply(*change);
}

void ViewController::FitToggle() {
    if (const auto change = state_.FitToggle(Geometry())) Apply(*change);
}

void ViewController::SetStep(int step) {
    state_.SetStep(step);
    ApplyZoom();
}

void ViewController::ShowLabel() {
    label_->setText(ZoomLabelText(context_.Translate(QStringLiteral("Zm")), state_.Step()));
}

void ViewController::Retranslate() {
    ShowLabel();
}

bool ViewController::HandleViewKey(int key, Qt::KeyboardModifiers modifiers) {
    QScrollBar* h = form_.ScrollBox()->horizontalScrollBar();
    QScrollBar* v = form_.ScrollBox()->verticalScrollBar();
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return false;
    switch (key) {
    case Qt::Key_Left:
        h->setValue(h->value() - 16);
        return true;
    case Qt::Key_Right:
        h->setValue(h->value() + 16);
        return true;
    case Qt::Key_Up:
        v->setValue(v->value() - 16);
        return true;
    case Qt::Key_Down:
        v->setValue(v->value() + 16);
        return true;
    case Qt::Key_Home:
        h->setValue(0);
        return true;
    case Qt::Key_End:
        h->setValue(h->maximum());
        return true;
    case Qt::Key_PageUp:
        v->setValue(0);
        return true;
    case Qt::Key_PageDown:
        v->setValue(v->maximum());
        return true;
    case Qt::Key_Z:
        FitToggle();
        return true;
    case Qt::Key_Plus:
        if (!keypad) return false;
        SetStep(ZoomStepIn(state_.Step())); // used up even at the limit
        return true;
    case Qt::Key_Minus:
        if (!keypad) return false;
        SetStep(ZoomStepOut(state_.Step()));
        return true;
    default:
        return false;
    }
}

void ViewController::PointerAt(QPoint viewPos) {
    state_.SetPointer({viewPos.x(), viewPos.y()});
    const Buffer* image = currentImage_();
    const Pair p = ViewToImage({viewPos.x(), viewPos.y()}, state_.Ratio());
    // Inside, the tool engine writes the position, snapped to the grid when it is on.
    if (!image || image->Empty() || !image->Contains(p.x, p.y)) PointerGone();
}

void ViewController::PointerGone() {
    for (int panel : {StatusPanel::Position, StatusPanel::Measure, StatusPanel::Hint})
        form_.SetPanel(panel, QString());
}

bool ViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_) {
        if (event->type() == QEvent::MouseMove)
            PointerAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave) {
            state_.ForgetPointer();
            PointerGone();
        }
    }
    return QObject::eventFilter(watched, event);
}
