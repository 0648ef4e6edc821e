#include "files/ui/SourceForm.h"

#include "lang/WindowTranslator.h"
#include "ui/DialogButtons.h"

#include <QListWidget>
#include <QVBoxLayout>

TSourceForm::TSourceForm(const Language& language, const std::vector<ScanDevice>& devices,
                         const QString& current, QWidget* parent)
    : QDialog(parent), devices_(devices), list_(new QListWidget(this)) {
    setObjectName(QStringLiteral("SourceForm"));
    setWindowTitle(tr("Select Source"));
    setProperty("helpContext", HelpContext);
    list_->setObjectName(QStringLiteral("Sources"));
    for (const ScanDevice& d : devices_)
        list_->addItem(d.description.isEmpty() ? d.name : d.description + " (" + d.name + ")");
    list_->setCurrentRow(0);
    for (size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i].name == current) list_->setCurrentRow(int(i));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(OkCancelButtons(this, tr("&Ok"), tr("Use this Source"), tr("&Cancel"),
                                      tr("Keep the Source")));
    TranslateWindow(language, QStringLiteral("[SourceForm]"), {this});
}

QString TSourceForm::Chosen() const {
    const int row = list_->currentRow();
    return row >= 0 && size_t(row) < devices_.size() ? devices_[size_t(row)].name : QString();
}
