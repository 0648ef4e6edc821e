#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class CommandRegistry;
class ComponentCommands;
class FileCommands;
class ProgramState;
class TMainForm;
class ToolEngine;
struct AppContext;
namespace comp {
struct ComponentTable;
}

// File > Browse: the thumbnail browser in image mode, centred over the image area. A picture
// chosen in it is opened as File > Open does, unless the current picture has changes the user
// keeps; the folder is offered again next time. A category's Browse entry opens it in effect mode
// over the current picture; the component chosen there starts as its menu entry starts it.
class BrowseCommands : public QObject {
    Q_OBJECT
public:
    // Runs the browser on folder; the chosen file and the folder it ended in (a seam for tests).
    struct Outcome {
        QString chosen; // empty when closed without a choice
        QString folder;
    };
    std::function<Outcome(const QString& folder)> browseDialog;
    // Runs the effect browser on group of table; the component chosen, -1 for none (a seam).
    std::function<int(const comp::ComponentTable& table, int group)> effectsDialog;

    BrowseCommands(TMainForm& form, AppContext& context, ProgramState& state, ToolEngine& engine,
                   FileCommands& files);

    void Register(CommandRegistry& commands);
    void Browse1Click();
    // The folder the browser starts in: the last one browsed, else the current picture's, else
    // the working folder.
    QString StartFolder() const;
    // The Browse entry of the components' category group (counted from 0).
    void BrowseEffects(ComponentCommands& components, int group);

private:
    Outcome RunBrowser(const QString& folder);
    int RunEffectBrowser(const comp::ComponentTable& table, int group);
    void CentreOverImage(QWidget& dialog);

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    ToolEngine& engine_;
    FileCommands& files_;
    QString folder_;
};
