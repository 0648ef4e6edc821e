#pragma once

#include "filters/ui/ImageRun.h"

#include <QDialog>

#include <functional>
#include <optional>

class Language;
class QPushButton;

// The running rules of an image-wide filter window. A full run (Preview, Ok) reads the undo copy
// and writes the image; while it runs only Stop is live, Escape stops it, Enter and closing are
// ignored and the window stays. Only Ok after a complete run keeps the result (Committed).
class TImageRunForm : public QDialog {
    Q_OBJECT
public:
    bool Committed() const { return committed_; }
    bool Running() const { return running_; }
    // The picture shows a complete run of what the controls say now.
    bool Applied() const;

    void PreviewBtnClick();
    void OkBtnClick();
    void reject() override;

protected:
    TImageRunForm(const Language& language, ImageRunHost host, QWidget* parent);

    // One full run: the rows it covers and the work on a band of them.
    struct Plan {
        int rows = 0;
        std::function<void(int, int)> work;
    };
    // Nothing when the window cannot run now.
    virtual std::optional<Plan> MakePlan() = 0;
    // What the session knows of the settings, to tell whether the picture shows them.
    virtual PreviewSession::Settings Key() const = 0;
    // Enter goes to the focused control rather than to Ok (a multi-line text).
    virtual bool EnterStaysInControl() const { return false; }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    const Language& language_;
    ImageRunHost host_;
    QPushButton* previewBtn_ = nullptr; // made by the window; the one control live in a run

private:
    void SetRunning(bool on);

    bool running_ = false, committed_ = false;
};
