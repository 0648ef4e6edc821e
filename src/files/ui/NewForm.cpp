#include "files/ui/NewForm.h"

#include "ui/DialogButtons.h"

#include "lang/WindowTranslator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
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

    auto* grid = new QGridLayout;
    grid->addWidget(labelX, 0, 0);
    grid->addWidget(sizeX_, 0, 1);
    grid->addWidget(labelY, 1, 0);
    grid->addWidget(sizeY_, 1, 1);
    QHBoxLayout* buttons = OkCancelButtons(this, tr("&Ok"), tr("Accept New Size"), tr("&Cancel"),
                                           tr("Abandon New Size"));
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
