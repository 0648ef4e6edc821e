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
    // Shows the window on top. Over a modal dialog it is modal itself, or the dialog would keep
    // the reader from scrolling it.
    void Present();
    // The page Contents shows instead of the program's own (a component's help file beside it,
    // while its dialog is active); empty gives the program's help back.
    void SetContentsPage(const QString& file) { contentsPage_ = file; }
    const QString& ContentsPage() const { return contentsPage_; }
    QString CurrentPage() const;

private:
    QString folder_;
    QString contentsPage_;
    QTextBrowser* browser_;
};
