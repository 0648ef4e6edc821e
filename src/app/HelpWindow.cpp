#include "app/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QString helpFolder, QWidget* parent)
    : QDialog(parent), folder_(std::move(helpFolder)), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpForm"));
    setProperty("ownsHelpKey", true); // F1 here keeps the page being read
    setWindowTitle(tr("Orvel Paint Help"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 480);
}

void HelpWindow::ShowContext(int context) {
    const QString page = QDir(folder_).filePath(QString::number(context) + QStringLiteral(".html"));
    if (QFileInfo(page).isFile())
        browser_->setSource(QUrl::fromLocalFile(page));
    else
        ShowContents();
}

void HelpWindow::ShowContents() {
    if (!contentsPage_.isEmpty() && QFileInfo(contentsPage_).isFile()) {
        browser_->setSource(QUrl::fromLocalFile(contentsPage_));
        return;
    }
    const QString index = QDir(folder_).filePath(QStringLiteral("index.html"));
    if (QFileInfo(index).isFile())
        browser_->setSource(QUrl::fromLocalFile(index));
    else
        browser_->setHtml(
            tr("<p>The help pages are missing from %1.</p>").arg(folder_.toHtmlEscaped()));
}

void HelpWindow::Present() {
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide(); // the modality of a shown window does not change
        setWindowModality(wanted);
    }
    show();
    raise();
    activateWindow();
}

QString HelpWindow::CurrentPage() const {
    return browser_->source().toLocalFile();
}
