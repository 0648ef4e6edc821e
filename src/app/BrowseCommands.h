#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class CommandRegistry;
class FileCommands;
class ProgramState;
class TMainForm;
class ToolEngine;
struct AppContext;

// File > Browse: the thumbnail browser in image mode, centred over the image area. A picture
// chosen in it is opened as File > Open does, unless the current picture has changes the user
// keeps; the folder is offered again next time.
class BrowseCommands : public QObject {
    Q_OBJECT
public:
    // Runs the browser on folder; the chosen file and the folder it ended in (a seam for tests).
    struct Outcome {
        QString chosen; // empty when closed without a choice
        QString folder;
    };
    std::function<Outcome(const QString& folder)> browseDialog;

    BrowseCommands(TMainForm& form, AppContext& context, ProgramState& state, ToolEngine& engine,
                   FileCommands& files);

    void Register(CommandRegistry& commands);
    void Browse1Click();
    // The folder the browser starts in: the last one browsed, else the current picture's, else
    // the working folder.
    QString StartFolder() const;

private:
    Outcome RunBrowser(const QString& folder);

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    ToolEngine& engine_;
    FileCommands& files_;
    QString folder_;
};
