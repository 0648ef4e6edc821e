#pragma once

#include "files/PrintLayout.h"
#include "raster/Buffer.h"

#include <QDialog>

#include <functional>

class Language;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QSpinBox;
class RadioGroup;

// Sends page to printer: the painter works in pixels of 300 dpi whatever the printer's
// resolution. False when the page could not be opened, drawn or written.
bool PrintPicture(QPrinter& printer, const Buffer& image, const PrintSettings& settings);

// The print dialog: the picture on one page with a header and a footer line, and a live preview.
class TPrintForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1400;

    // printer and image must outlive the dialog. docName titles the preview and the print job.
    TPrintForm(const Language& language, QPrinter& printer, const Buffer& image,
               const QString& docName, QWidget* parent = nullptr);

    // Asks for the file when the printer writes PDF, offering the last one; empty: not printed.
    std::function<QString(const QString& offered)> pdfFileName;
    // The page could not be printed; the dialog stays open.
    std::function<void()> printFailed;
    // A line for the log.
    std::function<void(const QString&)> log;

    PrintSettings Settings() const;
    // Print: renders once more, sends the page and closes when it was printed.
    void PrintClick();

    QSpinBox* Copies() const { return copies_; }
    RadioGroup* Orientation() const { return orientation_; }
    QSpinBox* ImgZoom() const { return imgZoom_; }
    QCheckBox* Stretch2Fit() const { return stretch_; }
    RadioGroup* HorizPos() const { return horizPos_; }
    RadioGroup* VertPos() const { return vertPos_; }
    QLineEdit* Header() const { return header_; }
    QLineEdit* Footer() const { return footer_; }
    QPrintPreviewWidget* Preview() const { return preview_; }

private:
    void OrientationChanged(int index);
    void Refresh();
    void ChooseFont(QFont& font);

    QPrinter& printer_;
    const Buffer& image_;
    QFont headerFont_, footerFont_;
    QSpinBox* copies_;
    RadioGroup* orientation_;
    QLineEdit* header_;
    QLineEdit* footer_;
    QSpinBox* zoom_;
    QSpinBox* imgZoom_;
    QLabel* imgZoomLabel_;
    QCheckBox* stretch_;
    RadioGroup* horizPos_;
    RadioGroup* vertPos_;
    QPrintPreviewWidget* preview_;
};
