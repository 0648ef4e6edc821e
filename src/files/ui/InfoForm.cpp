#include "files/ui/InfoForm.h"

#include "files/ColourCount.h"
#include "lang/WindowTranslator.h"
#include "ui/BusyCursor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* Label(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString Dimensions(const Buffer& b) {
    return b.Empty() ? QStringLiteral("-")
                     : QStringLiteral("%1 x %2").arg(b.Width()).arg(b.Height());
}

} // namespace

QString TInfoForm::CountText(int64_t count) {
    return count > 0 ? QString::number(count) : QStringLiteral("-");
}

TInfoForm::TInfoForm(const Language& language, const QString& imageName, const Buffer& image,
                     const Buffer& brush, QWidget* parent)
    : QDialog(parent), image_(image), brush_(brush) {
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(tr("Image Information"));
    setProperty("helpContext", HelpContext);

    imageCol_ = Label("ImageCol", QStringLiteral("-"), this);
    brushCol_ = Label("BrushCol", QStringLiteral("-"), this);
    imgColCnt_ = new QPushButton(tr("Count"), this);
    imgColCnt_->setObjectName(QStringLiteral("ImgColCnt"));
    imgColCnt_->setAutoDefault(false);
    brshColCnt_ = new QPushButton(tr("Count"), this);
    brshColCnt_->setObjectName(QStringLiteral("BrshColCnt"));
    brshColCnt_->setAutoDefault(false);
    brshColCnt_->setEnabled(!brush.Empty());
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    connect(imgColCnt_, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        imageCol_->setText(CountText(CountColours(image_)));
    });
    connect(brshColCnt_, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        brushCol_->setText(CountText(CountColours(brush_, {.skipTransparent = true})));
    });

    auto* grid = new QGridLayout;
    grid->addWidget(Label("ImageName", imageName, this), 0, 0, 1, 3);
    grid->addWidget(Label("ImageLabel", tr("Image:"), this), 1, 0);
    grid->addWidget(Label("ImageDim", Dimensions(image), this), 1, 1);
    grid->addWidget(Label("BrushLabel", tr("Brush:"), this), 2, 0);
    grid->addWidget(Label("BrushDim", Dimensions(brush), this), 2, 1);
    grid->addWidget(imageCol_, 1, 2);
    grid->addWidget(imgColCnt_, 1, 3);
    grid->addWidget(brushCol_, 2, 2);
    grid->addWidget(brshColCnt_, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    TranslateWindow(language, QStringLiteral("[InfoForm]"), {this});
}
