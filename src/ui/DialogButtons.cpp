#include "ui/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

QHBoxLayout* OkCancelButtons(QDialog* dialog, const QString& ok, const QString& okHint,
                             const QString& cancel, const QString& cancelHint) {
    auto* okBtn = new QPushButton(ok, dialog);
    okBtn->setObjectName(QStringLiteral("OkBtn"));
    okBtn->setToolTip(okHint);
    okBtn->setDefault(true);
    auto* cancelBtn = new QPushButton(cancel, dialog);
    cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    cancelBtn->setToolTip(cancelHint);
    cancelBtn->setAutoDefault(false);
    QObject::connect(okBtn, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancelBtn, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(okBtn);
    row->addWidget(cancelBtn);
    return row;
}

QPushButton* NamedButton(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}
