#include "files/ui/OpenPlusDialog.h"

#include "raster/GFXFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

QLabel* TextLine(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QImage ToQImage(const Buffer& b) {
    QImage image(b.Width(), b.Height(), QImage::Format_RGB32);
    for (int y = 0; y < b.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < b.Width(); ++x)
            row[x] = 0xFF000000u | (b.Get(b.left + x, b.top + y) & 0xFFFFFF);
    }
    return image;
}

} // namespace

TOpenPlus::TOpenPlus(OpenPreview& preview, TranslateFn translate, uint32_t drawColour,
                     uint32_t backColour, QWidget* parent)
    : QFileDialog(parent), preview_(preview), translate_(std::move(translate)),
      drawColour_(drawColour), backColour_(backColour) {
    setObjectName(QStringLiteral("OpenPlus"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PreviewPanel"));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 0, 0, 0);

    showPreview_ = new QCheckBox(tr("Show Preview"), panel);
    showPreview_->setObjectName(QStringLiteral("ShowPreview"));
    showPreview_->setChecked(true);
    column->addWidget(showPreview_);

    box_ = new QWidget(panel);
    box_->setObjectName(QStringLiteral("PreviewBox"));
    box_->setFixedSize(OpenPreview::BoxWidth, OpenPreview::BoxHeight);
    image_ = new QLabel(box_);
    image_->setObjectName(QStringLiteral("PreviewImg"));
    image_->resize(0, 0);
    column->addWidget(box_);

    auto* stepper = new QHBoxLayout;
    numberLine_ = TextLine("ImgNumLab", panel);
    dec_ = new QToolButton(panel);
    dec_->setObjectName(QStringLiteral("DecBtn"));
    dec_->setArrowType(Qt::LeftArrow);
    inc_ = new QToolButton(panel);
    inc_->setObjectName(QStringLiteral("IncBtn"));
    inc_->setArrowType(Qt::RightArrow);
    stepper->addWidget(dec_);
    stepper->addWidget(numberLine_);
    stepper->addWidget(inc_);
    stepper->addStretch();
    column->addLayout(stepper);

    picColor_ = TextLine("PicColor", panel);
    picSize_ = TextLine("PicSize", panel);
    picBpp_ = TextLine("PicBPP", panel);
    picBpc_ = TextLine("PicBPC", panel);
    picBytes_ = TextLine("PicBytes", panel);
    picMod_ = TextLine("PicMod", panel);
    for (QLabel* l : {picColor_, picSize_, picBpp_, picBpc_, picBytes_, picMod_})
        column->addWidget(l);
    column->addStretch();

    // Qt's own dialog lays itself out in a grid; the panel takes a column of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
    panel->setMinimumWidth(OpenPreview::BoxWidth + 8);
    ShowNumberControls(false);
    connect(this, &QFileDialog::currentChanged, this, &TOpenPlus::LoadPreview);
    connect(dec_, &QToolButton::clicked, this, &TOpenPlus::DecImgIndex);
    connect(inc_, &QToolButton::clicked, this, &TOpenPlus::IncImgIndex);
    connect(showPreview_, &QCheckBox::toggled, this, &TOpenPlus::ShowPreviewClick);
}

void TOpenPlus::FitWidth() {
    // The type list names every pattern of the All entry; it would widen the dialog past the
    // screen.
    if (auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        types->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        types->setMinimumContentsLength(24);
    }
    resize(std::max(sizeHint().width(), 760), std::max(sizeHint().height(), 440));
}

QLabel* TOpenPlus::Line(const char* objectName) const {
    return findChild<QLabel*>(QString::fromLatin1(objectName));
}

void TOpenPlus::ShowNumberControls(bool on) {
    numberLine_->setVisible(on);
    dec_->setVisible(on);
    inc_->setVisible(on);
}

void TOpenPlus::ClearLines() {
    for (QLabel* l : {picColor_, picSize_, picBpp_, picBpc_}) l->clear();
}

void TOpenPlus::LoadPreview(const QString& name) {
    if (name == lastName_) return;
    lastName_ = name;
    ShowNumberControls(false);
    const QFileInfo info(name);
    imageCount_ = info.isFile() ? GFXFile::GetImgCount(name) : 0;
    if (imageCount_ > 0) {
        ShowNumberControls(imageCount_ > 1);
        picBytes_->setText(FileSizeLine(info.size(), translate_));
        picMod_->setText(FileDateLine(info.lastModified(), translate_));
        imageNumber_ = 1;
        numberLine_->setText(ImageNumberLine(imageNumber_, translate_));
        ShowInformation();
    } else {
        preview_.Clear();
        ClearLines();
        picBytes_->clear();
        picMod_->clear();
        image_->clear();
        image_->resize(0, 0);
        imageNumber_ = 1;
    }
}

void TOpenPlus::DecImgIndex() {
    if (imageNumber_ <= 1) return;
    --imageNumber_;
    numberLine_->setText(ImageNumberLine(imageNumber_, translate_));
    ShowInformation();
}

void TOpenPlus::IncImgIndex() {
    if (imageNumber_ >= imageCount_) return;
    ++imageNumber_;
    numberLine_->setText(ImageNumberLine(imageNumber_, translate_));
    ShowInformation();
}

void TOpenPlus::ShowPreviewClick(bool on) {
    image_->setVisible(on);
    if (!on) return;
    // The information is built again, the preview image with it.
    ShowInformation();
}

void TOpenPlus::ShowInformation() {
    preview_.Clear();
    const PreviewLines lines = DescribeImageFile(lastName_, translate_);
    if (!lines.isImage) {
        ClearLines();
        image_->clear();
        image_->resize(0, 0);
        return;
    }
    picColor_->setText(lines.color);
    picSize_->setText(lines.size);
    picBpp_->setText(lines.bpp);
    picBpc_->setText(lines.bpc);
    if (!showPreview_->isChecked()) return;
    LoadPreviewImage(preview_, lastName_, imageNumber_, drawColour_, backColour_);
    if (!preview_.valid) {
        image_->clear();
        image_->resize(0, 0);
        return;
    }
    const Buffer& shown = preview_.shown;
    image_->setPixmap(QPixmap::fromImage(ToQImage(shown)));
    image_->setGeometry((OpenPreview::BoxWidth - shown.Width()) / 2,
                        (OpenPreview::BoxHeight - shown.Height()) / 2, shown.Width(),
                        shown.Height());
}
