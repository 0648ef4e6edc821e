#include "files/ui/PrintForm.h"

#include "lang/WindowTranslator.h"
#include "ui/DialogButtons.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The printable area of printer in pixels of 300 dpi.
QSize PageSize(const QPrinter& printer) {
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Inch);
    return {int(area.width() * kPrintDpi), int(area.height() * kPrintDpi)};
}

QSpinBox* SpinBox(const char* name, int low, int high, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

} // namespace

bool PrintPicture(QPrinter& printer, const Buffer& image, const PrintSettings& settings) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double scale = printer.resolution() / double(kPrintDpi);
    painter.scale(scale, scale);
    const bool drawn = RenderPage(painter, PageSize(printer), image, settings);
    const bool ended = painter.end();
    return drawn && ended && printer.printerState() != QPrinter::Error;
}

TPrintForm::TPrintForm(const Language& language, QPrinter& printer, const Buffer& image,
                       const QString& docName, QWidget* parent)
    : QDialog(parent), printer_(printer), image_(image) {
    setObjectName(QStringLiteral("PrintForm"));
    setWindowTitle(tr("Print"));
    setProperty("helpContext", HelpContext);
    printer_.setDocName(docName);

    copies_ = SpinBox("Copies", 1, 99, std::clamp(printer.copyCount(), 1, 99), this);
    orientation_ =
        new RadioGroup(tr("Orientation"), {tr("P&ortrait"), tr("&Landscape")},
                       printer.pageLayout().orientation() == QPageLayout::Landscape, this);
    orientation_->setObjectName(QStringLiteral("Orientation"));
    header_ = new QLineEdit(this);
    header_->setObjectName(QStringLiteral("Header"));
    footer_ = new QLineEdit(this);
    footer_->setObjectName(QStringLiteral("Footer"));
    auto* hdrFont = NamedButton("HdrFontBtn", tr("Font..."), this);
    auto* ftrFont = NamedButton("FtrFontBtn", tr("Font..."), this);
    zoom_ = SpinBox("Zoom", 1, 200, 28, this);
    imgZoom_ = SpinBox("ImgZoom", 1, 9999, 100, this);
    imgZoomLabel_ = new QLabel(tr("Image Zoom %"), this);
    imgZoomLabel_->setObjectName(QStringLiteral("ImgZoomLabel"));
    imgZoomLabel_->setBuddy(imgZoom_);
    stretch_ = new QCheckBox(tr("Stretch to Fit"), this);
    stretch_->setObjectName(QStringLiteral("Stretch2Fit"));
    horizPos_ = new RadioGroup(tr("Horizontal"), {tr("Left"), tr("Center"), tr("Right")}, 1, this);
    horizPos_->setObjectName(QStringLiteral("HorizPos"));
    vertPos_ = new RadioGroup(tr("Vertical"), {tr("Top"), tr("Center"), tr("Bottom")}, 1, this);
    vertPos_->setObjectName(QStringLiteral("VertPos"));
    auto* print = NamedButton("Print", tr("&Print"), this);
    print->setDefault(true);
    auto* cancel = NamedButton("Cancel", tr("&Cancel"), this);
    preview_ = new QPrintPreviewWidget(&printer_, this);
    preview_->setObjectName(QStringLiteral("PreviewBox"));
    preview_->setMinimumSize(320, 400);

    auto* form = new QFormLayout;
    form->addRow(tr("Copies"), copies_);
    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(header_);
    headerRow->addWidget(hdrFont);
    form->addRow(tr("Header"), headerRow);
    auto* footerRow = new QHBoxLayout;
    footerRow->addWidget(footer_);
    footerRow->addWidget(ftrFont);
    form->addRow(tr("Footer"), footerRow);
    form->addRow(tr("Preview Zoom %"), zoom_);
    form->addRow(imgZoomLabel_, imgZoom_);
    form->addRow(stretch_);
    auto* positions = new QHBoxLayout;
    positions->addWidget(orientation_);
    positions->addWidget(horizPos_);
    positions->addWidget(vertPos_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(cancel);
    auto* controls = new QVBoxLayout;
    controls->addLayout(form);
    controls->addLayout(positions);
    controls->addStretch();
    controls->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(preview_, 1);

    TranslateWindow(language, QStringLiteral("[PrintForm]"), {this});

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* p) { PrintPicture(*p, image_, Settings()); });
    connect(orientation_, &RadioGroup::currentIndexChanged, this, &TPrintForm::OrientationChanged);
    connect(stretch_, &QCheckBox::toggled, this, [this](bool on) {
        imgZoom_->setEnabled(!on);
        imgZoomLabel_->setEnabled(!on);
        Refresh();
    });
    connect(zoom_, &QSpinBox::valueChanged, this,
            [this](int percent) { preview_->setZoomFactor(percent / 100.0); });
    for (QSpinBox* box : {imgZoom_})
        connect(box, &QSpinBox::valueChanged, this, &TPrintForm::Refresh);
    for (RadioGroup* group : {horizPos_, vertPos_})
        connect(group, &RadioGroup::currentIndexChanged, this, &TPrintForm::Refresh);
    for (QLineEdit* edit : {header_, footer_})
        connect(edit, &QLineEdit::textChanged, this, &TPrintForm::Refresh);
    connect(hdrFont, &QPushButton::clicked, this, [this] { ChooseFont(headerFont_); });
    connect(ftrFont, &QPushButton::clicked, this, [this] { ChooseFont(footerFont_); });
    connect(print, &QPushButton::clicked, this, &TPrintForm::PrintClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(zoom_->value() / 100.0);
}

PrintSettings TPrintForm::Settings() const {
    PrintSettings s;
    s.imageZoom = imgZoom_->value();
    s.stretchToFit = stretch_->isChecked();
    s.horizontal = PrintAlign(std::clamp(horizPos_->CurrentIndex(), 0, 2));
    s.vertical = PrintAlign(std::clamp(vertPos_->CurrentIndex(), 0, 2));
    s.header = header_->text();
    s.footer = footer_->text();
    s.headerFont = headerFont_;
    s.footerFont = footerFont_;
    return s;
}

void TPrintForm::Refresh() {
    preview_->updatePreview();
}

void TPrintForm::ChooseFont(QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, this);
    if (!ok) return;
    font = chosen;
    Refresh();
}

void TPrintForm::OrientationChanged(int index) {
    printer_.setPageOrientation(index == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QSize page = PageSize(printer_);
    if (log)
        log(QStringLiteral("Printer PageHeight:%1, PageWidth:%2.")
                .arg(page.height())
                .arg(page.width()));
    Refresh();
}

void TPrintForm::PrintClick() {
    printer_.setCopyCount(copies_->value());
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        const QString name = pdfFileName ? pdfFileName(printer_.outputFileName()) : QString();
        if (name.isEmpty()) return;
        printer_.setOutputFileName(name);
    }
    if (!PrintPicture(printer_, image_, Settings())) {
        if (printFailed) printFailed();
        return;
    }
    accept();
}
