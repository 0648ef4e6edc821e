#include "ui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int index, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), column_(new QVBoxLayout(this)) {
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) emit currentIndexChanged(id);
    });
    SetItems(items);
    SetCurrentIndex(index);
}

void RadioGroup::SetItems(const QStringList& items) {
    const int index = CurrentIndex();
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    items_ = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        column_->addWidget(button);
    }
    const QSignalBlocker quiet(group_); // the choice itself has not changed
    if (index >= 0 && index < items.size()) group_->button(index)->setChecked(true);
}

int RadioGroup::CurrentIndex() const {
    return group_->checkedId();
}

void RadioGroup::SetCurrentIndex(int index) {
    if (QAbstractButton* b = group_->button(index)) b->setChecked(true);
}
