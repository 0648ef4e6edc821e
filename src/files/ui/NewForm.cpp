#include "files/ui/NewForm.h"

#include "lang/WindowTranslator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {
QSpinBox* SideBox(const char* name, const QString& hint, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, TNewForm::MaxSide);
    box->setValue(value);
    box->setToolTip(hint);
    return box;
}
} // namespace

TNewForm::TNewForm(const Language& language, Pair size, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewForm"));
    setWindowFlag(Qt::Tool);
    setWindowTitle(tr("New Picture"));
    setProperty("helpContext", HelpContext);

    sizeX_ = SideBox("SizeX", tr("New Width"), size.x, this);
    sizeY_ = SideBox("SizeY", tr("New Height"), size.y, this);
    auto* labelX = new QLabel(tr("Size &X"), this);
    labelX->setObjectName(QStringLiteral("SizeXLabel"));
    labelX->setBuddy(sizeX_);
    auto* labelY = new QLabel(tr("Size &Y"), this);
    labelY->setObjectName(QStringLiteral("SizeYLabel"));
    labelY->setBuddy(sizeY_);

    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setToolTip(tr("Accept New Size"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setToolTip(tr("Abandon New Size"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(labelX, 0, 0);
    grid->addWidget(sizeX_, 0, 1);
    grid->addWidget(labelY, 1, 0);
    grid->addWidget(sizeY_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    TranslateWindow(language, QStringLiteral("[NewForm]"), {this});
    sizeX_->setFocus();
    sizeX_->selectAll();
}

Pair TNewForm::ChosenSize() const {
    return {sizeX_->value(), sizeY_->value()};
}
