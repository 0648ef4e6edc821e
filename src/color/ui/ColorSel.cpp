#include "color/ui/ColorSel.h"

#include "ui/DialogButtons.h"

#include "color/HsvPicture.h"
#include "document/ui/TBuffer.h"
#include "lang/WindowTranslator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A channel typed into an edit box: one to three decimal digits, at most 255; -1 otherwise.
int ParseChannel(const QString& text) {
    if (text.isEmpty() || text.size() > 3) return -1;
    int value = 0;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9') return -1;
        value = value * 10 + (ch.unicode() - u'0');
    }
    return value <= 255 ? value : -1;
}

const char* const kBarNames[3] = {"Red", "Green", "Blue"};
const char* const kEditNames[3] = {"RedEdit", "GreenEdit", "BlueEdit"};

} // namespace

// The picture view; reports presses, drags and releases in picture pixels.
class TColorSel::SVPicture : public TBuffer {
public:
    using TBuffer::TBuffer;
    std::function<void(QPoint)> onDown, onMove;
    std::function<void()> onUp;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && onDown) onDown(e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (onMove) onMove(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && onUp) onUp();
    }
};

TColorSel::TColorSel(const Language& language, QWidget* imageView, QWidget* parent)
    : QDialog(parent), imageView_(imageView) {
    setObjectName(QStringLiteral("ColorSel"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Color"));
    setProperty("helpContext", HelpContext);

    const QString barHints[3] = {tr("Red"), tr("Green"), tr("Blue")};
    const QString editHints[3] = {tr("Red Component"), tr("Green Component"), tr("Blue Component")};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QString::fromLatin1(kBarNames[i]));
        bar->setRange(0, 255);
        bar->setPageStep(32);
        bar->setValue(255);
        bar->setToolTip(barHints[i]);
        connect(bar, &QScrollBar::valueChanged, this, [this] { ChannelChanged(); });
        bars_[i] = bar;

        auto* edit = new QLineEdit(QStringLiteral("0"), this);
        edit->setObjectName(QString::fromLatin1(kEditNames[i]));
        edit->setMaxLength(3);
        edit->setToolTip(editHints[i]);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10);
        connect(edit, &QLineEdit::textEdited, this, [this, i] { ColEditExit(i); });
        connect(edit, &QLineEdit::editingFinished, this, [this, i] { ColEditExit(i); });
        edits_[i] = edit;

        grid->addWidget(bar, 0, i, 2, 1, Qt::AlignHCenter);
        grid->addWidget(edit, 2, i);
    }

    picture_.Alloc({HsvPicture::Size, HsvPicture::Size});
    hsvBuf_ = new SVPicture(this);
    hsvBuf_->setObjectName(QStringLiteral("HSVBuf"));
    hsvBuf_->setToolTip(tr("Saturation across and Value down"));
    hsvBuf_->setFixedSize(HsvPicture::Size, HsvPicture::Size);
    hsvBuf_->SetBuffer(&picture_);
    hsvBuf_->onDown = [this](QPoint pos) {
        mouseHeld_ = true;
        StoreSVVal(pos);
        SVChange();
    };
    hsvBuf_->onMove = [this](QPoint pos) {
        if (!mouseHeld_) return;
        StoreSVVal(pos);
        SVChange();
    };
    hsvBuf_->onUp = [this] { mouseHeld_ = false; };

    hVal_ = new QScrollBar(Qt::Horizontal, this);
    hVal_->setObjectName(QStringLiteral("HVal"));
    hVal_->setRange(0, 359);
    hVal_->setPageStep(32);
    hVal_->setToolTip(tr("H Value"));
    hVal_->setFixedWidth(HsvPicture::Size);
    connect(hVal_, &QScrollBar::valueChanged, this, [this] { HValChange(); });

    grid->addWidget(hsvBuf_, 0, 3);
    grid->addWidget(hVal_, 1, 3, Qt::AlignTop);
    grid->setColumnMinimumWidth(3, HsvPicture::Size);
    grid->setHorizontalSpacing(6);

    // Enter is Ok wherever the focus is, Cancel included.
    QHBoxLayout* buttons =
        OkCancelButtons(this, tr("&Ok"), tr("Accept Color"), tr("&Cancel"), tr("Abandon Color"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Retranslate(language);
    Redraw();
}

TColorSel::~TColorSel() {
    // The view holds a pointer to the picture; let it go before the pixels do.
    hsvBuf_->SetBuffer(nullptr);
}

void TColorSel::Retranslate(const Language& language) {
    TranslateWindow(language, QStringLiteral("[ColorSel]"), {this});
}

void TColorSel::Open(const ColourSwatch& swatch, const QString& caption, bool modal) {
    if (modal && isVisible()) reject();
    swatch_ = swatch;
    if (!isVisible() && imageView_) {
        adjustSize();
        const QPoint centre = imageView_->mapToGlobal(imageView_->rect().center());
        move(centre - QPoint(width() / 2, height() / 2));
    }
    const bool wasVisible = isVisible();
    setWindowTitle(caption);
    kept_ = RgbValue::FromPixel(swatch_.get ? swatch_.get() : 0);
    SetChannels(kept_);
    mouseHeld_ = false;
    if (modal) {
        exec();
    } else {
        show();
        if (wasVisible) { // bring it forward for the new swatch
            raise();
            activateWindow();
        }
    }
}

void TColorSel::done(int result) {
    if (result == QDialog::Accepted) kept_ = Channels();
    mouseHeld_ = false;
    if (swatch_.set) swatch_.set(kept_.Pixel());
    QDialog::done(result);
}

RgbValue TColorSel::Channels() const {
    return {255 - bars_[0]->value(), 255 - bars_[1]->value(), 255 - bars_[2]->value()};
}

void TColorSel::SetChannels(RgbValue c) {
    const int values[3] = {c.r, c.g, c.b};
    bool moved = false;
    for (int i = 0; i < 3; ++i) {
        const int position = 255 - std::clamp(values[i], 0, 255);
        if (bars_[i]->value() == position) continue;
        const QSignalBlocker block(bars_[i]);
        bars_[i]->setValue(position);
        moved = true;
    }
    if (moved)
        ChannelChanged();
    else
        Redraw();
}

void TColorSel::ChannelChanged() {
    const RgbValue c = Channels();
    if (swatch_.set) swatch_.set(c.Pixel());
    const int values[3] = {c.r, c.g, c.b};
    for (int i = 0; i < 3; ++i)
        // Leave "05" alone while the user types it.
        if (ParseChannel(edits_[i]->text()) != values[i])
            edits_[i]->setText(QString::number(values[i]));
    const HsvValue hsv = RgbToHsv(c);
    s_ = hsv.s;
    v_ = hsv.v;
    const bool own = guard_ == Idle;
    if (own && !mouseHeld_) {
        guard_ = ChannelChange;
        hVal_->setValue(hsv.h);
    }
    Redraw();
    if (own) guard_ = Idle;
}

void TColorSel::HValChange() {
    if (guard_ != Idle) return; // the hue bar follows a colour set elsewhere
    guard_ = HueChange;
    SetChannels(HsvToRgb(hVal_->value(), s_, v_)); // redraws
    guard_ = Idle;
}

void TColorSel::StoreSVVal(QPoint pos) {
    svPos_ = {std::clamp(pos.x(), 0, HsvPicture::Size - 1),
              std::clamp(pos.y(), 0, HsvPicture::Size - 1)};
}

void TColorSel::SVChange() {
    s_ = 2 * svPos_.x();
    v_ = 2 * svPos_.y();
    if (s_ == 254 && v_ == 254) s_ = v_ = 255; // the corner is 254, 254; let it reach the full hue
    guard_ = PictureClick;
    SetChannels(HsvToRgb(hVal_->value(), s_, v_)); // redraws
    guard_ = Idle;
}

void TColorSel::ColEditExit(int channel) {
    const int value = ParseChannel(edits_[channel]->text());
    if (value >= 0) bars_[channel]->setValue(255 - value);
}

void TColorSel::Redraw() {
    HsvPicture::Draw(picture_, hVal_->value());
    HsvPicture::DrawMarker(picture_, s_, v_, Colour());
    hsvBuf_->update();
}
