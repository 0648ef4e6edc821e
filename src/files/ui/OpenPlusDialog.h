#pragma once

#include "files/OpenPreview.h"

#include <QFileDialog>

#include <cstdint>

class QCheckBox;
class QLabel;
class QToolButton;
class QWidget;

// The open dialog: Qt's own file dialog (not the desktop's, so that it can be extended) with a
// 240 x 180 preview, six description lines and an image-number stepper for multi-image files.
// The preview it loads is handed to the caller through OpenPreview, so the file is read once.
class TOpenPlus : public QFileDialog {
    Q_OBJECT
public:
    // preview outlives the dialog; colours are handed to the load as the open command would.
    TOpenPlus(OpenPreview& preview, TranslateFn translate, uint32_t drawColour, uint32_t backColour,
              QWidget* parent = nullptr);

    // The image chosen with the stepper, from 1.
    int ImageNumber() const { return imageNumber_; }
    int ImageCount() const { return imageCount_; }

    // Selection changed (also called by tests).
    void LoadPreview(const QString& name);
    void DecImgIndex();
    void IncImgIndex();
    void ShowPreviewClick(bool on);

    // Call after the name filters are set: the dialog's width follows them.
    void FitWidth();

    QLabel* PreviewImage() const { return image_; }
    QLabel* Line(const char* objectName) const;

private:
    void ShowInformation();
    void ShowNumberControls(bool on);
    void ClearLines();

    OpenPreview& preview_;
    TranslateFn translate_;
    uint32_t drawColour_;
    uint32_t backColour_;
    QString lastName_;
    int imageNumber_ = 1;
    int imageCount_ = 0;

    QWidget* box_ = nullptr;
    QLabel* image_ = nullptr;
    QCheckBox* showPreview_ = nullptr;
    QLabel* numberLine_ = nullptr;
    QToolButton* dec_ = nullptr;
    QToolButton* inc_ = nullptr;
    QLabel* picColor_ = nullptr;
    QLabel* picSize_ = nullptr;
    QLabel* picBpp_ = nullptr;
    QLabel* picBpc_ = nullptr;
    QLabel* picBytes_ = nullptr;
    QLabel* picMod_ = nullptr;
};
