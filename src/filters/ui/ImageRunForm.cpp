#include "filters/ui/ImageRunForm.h"

#include "lang/Language.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

TImageRunForm::TImageRunForm(const Language& language, ImageRunHost host, QWidget* parent)
    : QDialog(parent), language_(language), host_(std::move(host)) {}

bool TImageRunForm::Applied() const {
    return host_.session && host_.session->Shows(Key());
}

void TImageRunForm::SetRunning(bool on) {
    running_ = on;
    for (QWidget* w : findChildren<QWidget*>())
        if (w != previewBtn_ && w->parentWidget() == this) w->setEnabled(!on);
    if (host_.enableImageArea) host_.enableImageArea(!on);
    previewBtn_->setText(
        language_.Translate(on ? QStringLiteral("&Stop") : QStringLiteral("&Preview")));
}

void TImageRunForm::PreviewBtnClick() {
    if (running_) {
        running_ = false; // Stop: the run ends after its current band
        return;
    }
    if (Applied() || !host_.session) return;
    const std::optional<Plan> plan = MakePlan();
    if (!plan) return;
    SetRunning(true);
    // Stopped: the picture matches nothing, so Ok never keeps it.
    host_.session->Preview(Key(), imagerun::FullRun(host_, plan->rows, plan->work, running_));
    SetRunning(false);
    if (host_.repaint) host_.repaint();
}

void TImageRunForm::OkBtnClick() {
    if (running_) return;
    PreviewBtnClick();
    if (!host_.session || !host_.session->ApplyShown(Key())) return;
    committed_ = true;
    accept();
}

void TImageRunForm::reject() {
    if (running_) {
        running_ = false; // Escape stops the run; the window stays
        return;
    }
    QDialog::reject();
}

void TImageRunForm::closeEvent(QCloseEvent* event) {
    if (running_) return event->ignore();
    QDialog::closeEvent(event);
}

void TImageRunForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (running_) return;
        if (EnterStaysInControl()) return QDialog::keyPressEvent(event);
        return OkBtnClick();
    }
    if (key == Qt::Key_Escape) return reject();
    QDialog::keyPressEvent(event);
}
