#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

class Language;
class TMainForm;

// The status-bar progress of long operations: Start shows the progress bar over the file label,
// Step moves it (at most every kStepInterval ms, and repaints the image view every
// kRepaintInterval ms so a partly loaded image shows), Stop hides it and puts the time taken into
// the fifth panel.
class ProgressDisplay {
public:
    using Clock = std::function<qint64()>; // milliseconds, never falling
    static constexpr qint64 kStepInterval = 100;
    static constexpr qint64 kRepaintInterval = 2000;

    // Without a clock, the time since construction.
    ProgressDisplay(TMainForm& form, const Language& language, Clock clock = {});

    void Start();
    bool Step(int percent); // always true: go on
    void Stop();

    std::function<void()> repaintView;

private:
    qint64 Now() const;

    TMainForm& form_;
    const Language& language_;
    Clock clock_;
    QElapsedTimer timer_;
    qint64 started_ = 0;
    qint64 lastMove_ = 0;
    qint64 lastRepaint_ = 0;
};

// Hands the display to the raster library for every later load and save; it must outlive the
// registration, which UnregisterProgressDisplay ends.
void RegisterProgressDisplay(ProgressDisplay& display);
void UnregisterProgressDisplay();
