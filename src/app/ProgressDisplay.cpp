#include "app/ProgressDisplay.h"

#include "document/Host.h"

#include "app/MainForm.h"
#include "lang/Language.h"
#include "raster/GFXFile.h"

#include <QProgressBar>

#include <algorithm>

ProgressDisplay::ProgressDisplay(TMainForm& form, const Language& language, Clock clock)
    : form_(form), language_(language), clock_(std::move(clock)) {
    timer_.start();
}

qint64 ProgressDisplay::Now() const {
    return clock_ ? clock_() : timer_.elapsed();
}

void ProgressDisplay::Start() {
    started_ = lastMove_ = lastRepaint_ = Now();
    QProgressBar* bar = form_.ProgressBar();
    bar->setFormat(QStringLiteral("Processing..."));
    bar->setValue(0);
    bar->show();
    // The event loop does not run during the operation: paint now.
    bar->repaint();
}

bool ProgressDisplay::Step(int percent) {
    const qint64 now = Now();
    if (now - lastMove_ >= kStepInterval) {
        lastMove_ = now;
        QProgressBar* bar = form_.ProgressBar();
        bar->setValue(std::clamp(percent, 0, 100));
        bar->repaint();
    }
    if (now - lastRepaint_ >= kRepaintInterval) {
        lastRepaint_ = now;
        if (repaintView) repaintView();
    }
    return true;
}

void ProgressDisplay::Stop() {
    form_.ProgressBar()->hide();
    const double seconds = double(Now() - started_) / 1000.0;
    form_.SetPanel(StatusPanel::Hint,
                   QString::asprintf(
                       "%s %6.2f %s",
                       language_.Translate(QStringLiteral("ProcIn")).toUtf8().constData(), seconds,
                       language_.Translate(QStringLiteral("Sec")).toUtf8().constData()));
}

void RegisterProgressDisplay(ProgressDisplay& display) {
    GFXFile::SetProgFunc([&display] { display.Start(); },
                         [&display](int percent) { return display.Step(percent); },
                         [&display] { display.Stop(); });
}

void UnregisterProgressDisplay() {
    GFXFile::SetProgFunc({}, {}, {});
}
