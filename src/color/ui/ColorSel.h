#pragma once

#include "color/Hsv.h"
#include "raster/Buffer.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <functional>

class Language;
class QLineEdit;
class QScrollBar;
class TBuffer;

// A colour the selector edits in place: the main window's swatches, the text tool's shadow
// colour, a component's colour parameter. Colours are pixels 0x00RRGGBB. set also runs the
// caller's colour-change notice, so the tools see every change while the selector is open.
struct ColourSwatch {
    std::function<uint32_t()> get;
    std::function<void(uint32_t)> set;
};

// The colour selector: three channel scroll bars (top = 255) with their edit boxes, a hue bar
// and the saturation/value picture of the hue. Every change goes to the swatch at once; Ok keeps
// it, and closing by any route (Cancel, Escape, the window's close button) writes the kept colour
// back. Enter acts as Ok.
class TColorSel : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1000;

    // What is under way, so that updates caused by an update do not feed back.
    enum Guard { Idle = 0, HueChange = 1, PictureClick = 2, ChannelChange = 3 };

    // imageView (may be null) is what the window is centred over when it is opened hidden.
    TColorSel(const Language& language, QWidget* imageView, QWidget* parent = nullptr);
    ~TColorSel() override;

    // Remembers the swatch, takes its colour as channels and kept colour, sets the caption and
    // shows the window: without blocking, or modal (closing a visible selector first).
    void Open(const ColourSwatch& swatch, const QString& caption, bool modal);
    // Applies the "[ColorSel]" section again, after a language change.
    void Retranslate(const Language& language);

    // Ok keeps the channels; every close then writes the kept colour to the swatch.
    void done(int result) override;

    uint32_t Colour() const { return Channels().Pixel(); }
    uint32_t KeptColour() const { return kept_.Pixel(); }
    int Saturation() const { return s_; }
    int Value() const { return v_; }
    Guard CurrentGuard() const { return guard_; }
    const Buffer& Picture() const { return picture_; }

private:
    class SVPicture;

    RgbValue Channels() const;
    // Moves the three scroll bars at once and runs one channel change if any moved, so the
    // swatch never sees a half-updated colour.
    void SetChannels(RgbValue c);
    void ChannelChanged();
    void HValChange();
    void SVChange();
    void StoreSVVal(QPoint pos);
    void ColEditExit(int channel);
    void Redraw();

    ColourSwatch swatch_;
    QPointer<QWidget> imageView_;
    QScrollBar* bars_[3];
    QLineEdit* edits_[3];
    QScrollBar* hVal_;
    SVPicture* hsvBuf_;
    Buffer picture_;
    RgbValue kept_;
    int s_ = 0, v_ = 0;
    QPoint svPos_;
    Guard guard_ = Idle;
    bool mouseHeld_ = false;
};
