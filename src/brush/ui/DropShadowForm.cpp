#include "brush/ui/DropShadowForm.h"

#include "lang/WindowTranslator.h"
#include "ui/DialogButtons.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TDropShForm::TDropShForm(const Language& language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DropShForm"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setWindowTitle(tr("Drop Shadow"));
    setProperty("helpContext", HelpContext);

    depth_ = new QSpinBox(this);
    depth_->setObjectName(QStringLiteral("ShDepth"));
    depth_->setRange(1, MaxDepth);
    depth_->setValue(1);
    depth_->setToolTip(tr("Shadow Depth"));
    direction_ = new QComboBox(this);
    direction_->setObjectName(QStringLiteral("ShDir"));
    direction_->addItems({tr("East"), tr("South-East"), tr("South"), tr("South-West")});
    direction_->setToolTip(tr("Shadow Direction"));
    auto* depthLabel = new QLabel(tr("Depth in Points"), this);
    depthLabel->setObjectName(QStringLiteral("ShDepthLabel"));
    depthLabel->setBuddy(depth_);
    auto* dirLabel = new QLabel(tr("Direction"), this);
    dirLabel->setObjectName(QStringLiteral("ShDirLabel"));
    dirLabel->setBuddy(direction_);

    auto* grid = new QGridLayout;
    grid->addWidget(depthLabel, 0, 0);
    grid->addWidget(depth_, 0, 1);
    grid->addWidget(dirLabel, 1, 0);
    grid->addWidget(direction_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(OkCancelButtons(this, tr("&Ok"), tr("Cast Shadow"), tr("&Cancel"),
                                      tr("Abandon Operation")));
    TranslateWindow(language, QStringLiteral("[DropShForm]"), {this});
    direction_->setCurrentIndex(0);

    connect(this, &QDialog::accepted, this, [this] {
        if (cast) cast(depth_->value(), direction_->currentIndex());
    });
}

bool TDropShForm::event(QEvent* e) {
    // A tool window: clicking elsewhere closes it, as Cancel would.
    if (e->type() == QEvent::WindowDeactivate && isVisible()) reject();
    return QDialog::event(e);
}
