#pragma once

#include "filters/ui/CFilterForm.h"
#include "filters/ui/FFactForm.h"

#include <QObject>

#include <functional>

class CommandRegistry;
class ProgramState;
class ProgressDisplay;
class TMainForm;
class ToolEngine;
struct AppContext;

// Image > Filter Factory and Image > Custom Filter. Each is an image-wide tool: the undo copy
// is taken when its window opens, full runs read it, and the image is restored from it unless
// the window ends with Ok after a complete run, which counts one change.
class FilterCommands : public QObject {
    Q_OBJECT
public:
    FilterCommands(TMainForm& form, AppContext& context, ProgramState& state, ToolEngine& engine,
                   ProgressDisplay* progress);

    void Register(CommandRegistry& commands);
    void FilterFactory1Click();
    void CustomFilter1Click();

    FilterFactoryState& Factory() { return factory_; }
    CustomFilterState& Custom() { return custom_; }
    // Seam for tests: runs the dialog (exec by default).
    std::function<void(QDialog&)> runDialog;
    // Seams for tests: the file dialogs.
    decltype(ImageRunHost::openName) openName;
    decltype(ImageRunHost::saveName) saveName;

private:
    // Starts the session (the undo copy) and fills the host; false when no copy could be taken.
    bool Begin(ImageRunHost& host, PreviewSession& session);
    // Leaves the session: the applied result stays, anything else is put back.
    void End(PreviewSession& session);
    void Show(QDialog& dialog); // placed over the image area, then run

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    ToolEngine& engine_;
    ProgressDisplay* progress_;
    FilterFactoryState factory_;
    CustomFilterState custom_;
};
