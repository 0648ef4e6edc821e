#include "app/BrowseCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/ComponentCommands.h"
#include "app/FileCommands.h"
#include "app/MainForm.h"
#include "browser/ui/BrowseForm.h"
#include "tools/ProgramState.h"
#include "tools/ToolEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QScrollArea>

BrowseCommands::BrowseCommands(TMainForm& form, AppContext& context, ProgramState& state,
                               ToolEngine& engine, FileCommands& files)
    : form_(form), context_(context), state_(state), engine_(engine), files_(files) {
    browseDialog = [this](const QString& folder) { return RunBrowser(folder); };
    effectsDialog = [this](const comp::ComponentTable& table, int group) {
        return RunEffectBrowser(table, group);
    };
}

void BrowseCommands::Register(CommandRegistry& commands) {
    commands.Register(QStringLiteral("Browse1"), this, [this] { Browse1Click(); });
}

QString BrowseCommands::StartFolder() const {
    if (!folder_.isEmpty() && QFileInfo(folder_).isDir()) return folder_;
    const QString current = state_.docs.CurrentDoc().fileName;
    if (!current.isEmpty() && QFileInfo(current).absoluteDir().exists())
        return QFileInfo(current).absolutePath();
    return QDir::currentPath();
}

BrowseCommands::Outcome BrowseCommands::RunBrowser(const QString& folder) {
    // The worker decodes with the same size limit as the open path, set here on this thread
    // before it starts rather than by the worker.
    QImageReader::setAllocationLimit(2048);
    TBrowseForm::Options options;
    options.cacheThumbs = context_.prefs.CacheThumbs;
    options.background = state_.backCol;
    TBrowseForm dialog(context_.language, folder, options, &form_);
    CentreOverImage(dialog);
    const int result = dialog.exec();
    return {result == 1 ? dialog.ChosenFile() : QString(), dialog.Folder()};
}

void BrowseCommands::CentreOverImage(QWidget& dialog) {
    QWidget* view = form_.ScrollBox();
    dialog.move(view->mapToGlobal(view->rect().center()) -
                QPoint(dialog.width() / 2, dialog.height() / 2));
}

int BrowseCommands::RunEffectBrowser(const comp::ComponentTable& table, int group) {
    TBrowseForm dialog(context_.language, table, group, state_.docs.CurrentDoc().image, &form_);
    CentreOverImage(dialog);
    return dialog.exec() == 1 ? dialog.ChosenComponent() : -1;
}

void BrowseCommands::BrowseEffects(ComponentCommands& components, int group) {
    // A component in use (a drawing mode) ends first: the previews load the same library, and
    // its calls must not meet theirs.
    engine_.ReturnToPreviousTool(true);
    engine_.HideFeedback();
    const int chosen = effectsDialog(components.Table(), group);
    if (chosen >= 0) components.StartComponent(chosen);
}

void BrowseCommands::Browse1Click() {
    engine_.ReturnToPreviousTool(true);
    engine_.HideFeedback();
    const Outcome outcome = browseDialog(StartFolder());
    if (!outcome.folder.isEmpty()) folder_ = outcome.folder;
    if (outcome.chosen.isEmpty()) return;
    if (state_.docs.ConfirmDiscard()) return;
    files_.OpenFile(outcome.chosen, 1);
}
