#pragma once

#include "raster/Buffer.h"

#include <QDialog>

class Language;
class QLabel;
class QPushButton;

// The picture's name and size and the custom brush's size, with colour counts on request.
// Escape closes it like Ok.
class TInfoForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1500;

    // image and brush must outlive the dialog; an empty brush shows no size.
    TInfoForm(const Language& language, const QString& imageName, const Buffer& image,
              const Buffer& brush, QWidget* parent = nullptr);

    QLabel* ImageCol() const { return imageCol_; }
    QLabel* BrushCol() const { return brushCol_; }
    QPushButton* ImgColCnt() const { return imgColCnt_; }
    QPushButton* BrshColCnt() const { return brshColCnt_; }
    // The text of a count: "-" for none.
    static QString CountText(int64_t count);

private:
    const Buffer& image_;
    const Buffer& brush_;
    QLabel* imageCol_;
    QLabel* brushCol_;
    QPushButton* imgColCnt_;
    QPushButton* brshColCnt_;
};
