#pragma once

#include <QDialog>

class QTextBrowser;

// The help viewer: the bundled HTML pages beside the program, one per help context.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(QString helpFolder, QWidget* parent = nullptr);
    // The page of the context, or the contents when it has none.
    void ShowContext(int context);
    void ShowContents();
    QString CurrentPage() const;

private:
    QString folder_;
    QTextBrowser* browser_;
};
