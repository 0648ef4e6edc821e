#pragma once

#include "document/Zoom.h"

#include <QObject>

#include <functional>

class Buffer;
class QSpinBox;
class QLabel;
class TBuffer;
class TMainForm;
struct AppContext;

// Drives the image view of the main window: zoom (the Zoom up-down and its label, numeric-pad
// keys, the fit toggle), scrolling keys and the pointer's image coordinates in status panel 2.
// The arithmetic is ZoomState's; this class only moves widgets.
class ViewController : public QObject {
    Q_OBJECT
public:
    ViewController(TMainForm& form, AppContext& context, std::function<Buffer*()> currentImage);

    ZoomState& State() { return state_; }
    void ApplyZoom();
    void FitZoom();
    void FitToggle();
    void SetStep(int step); // then ApplyZoom
    // The view keys of the main window's key table; true when the key was used.
    bool HandleViewKey(int key, Qt::KeyboardModifiers modifiers);
    // Updates the label after a language change.
    void Retranslate();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    ViewGeometry Geometry() const;
    void Apply(const ZoomChange& change);
    void ShowLabel();
    void PointerAt(QPoint viewPos);
    void PointerGone();

    TMainForm& form_;
    AppContext& context_;
    std::function<Buffer*()> currentImage_;
    TBuffer* view_;
    QSpinBox* zoom_ = nullptr;
    QLabel* label_ = nullptr;
    ZoomState state_;
    bool applying_ = false;
};
