#include "app/TransformCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/MainForm.h"
#include "app/ToolShell.h"
#include "brush/ui/DropShadowForm.h"
#include "tools/ProgramState.h"

#include <QScrollArea>

#include <utility>

TransformCommands::TransformCommands(TMainForm& form, AppContext& context, ProgramState& state,
                                     ToolShell& tools)
    : QObject(&form), form_(form), context_(context), tools_(tools) {
    ReshapeSettings& settings = tools.Tools().transform.settings;
    settings.antiAlias = [this] { return context_.prefs.AntiAlias; };
    settings.sprayRadius = &state.sprayRadius;
}

void TransformCommands::Select(PaintTool& tool) {
    tools_.Engine().SelectTool(&tool, true, -1);
}

void TransformCommands::Register(CommandRegistry& commands) {
    TransformToolSet& t = tools_.Tools().transform;
    const std::pair<const char*, PaintTool*> table[] = {
        {"Both1", &t.halveBoth},
        {"Width1", &t.halveWidth},
        {"Height1", &t.halveHeight},
        {"Both2", &t.doubleBoth},
        {"Width2", &t.doubleWidth},
        {"Height2", &t.doubleHeight},
        {"Both3", &t.stretchBoth},
        {"Width3", &t.stretchWidth},
        {"Height3", &t.stretchHeight},
        {"N90Degrees1", &t.rotate90},
        {"N180Degrees1", &t.rotate180},
        {"AnyAngle1", &t.rotate},
        {"UpandDown1", &t.bendUpDown},
        {"LeftandRight1", &t.bendLeftRight},
        {"UpandDown2", &t.shearUpDown},
        {"LeftandRight2", &t.shearLeftRight},
        {"StretchMirror1", &t.stretchImage},
        {"Rotate1", &t.rotateImage},
    };
    for (const auto& [name, tool] : table)
        commands.Register(QLatin1String(name), this, [this, tool = tool] { Select(*tool); });
    commands.Register(QStringLiteral("DropShadow1"), this, [this] { OpenDropShadow(); });
}

void TransformCommands::OpenDropShadow() {
    if (!dropShadow_) {
        dropShadow_ = new TDropShForm(context_.language, &form_);
        dropShadow_->cast = [this](int depth, int direction) {
            DropShadowCommand& shadow = tools_.Tools().transform.dropShadow;
            shadow.depth = depth;
            shadow.direction = direction;
            Select(shadow);
        };
    }
    dropShadow_->adjustSize();
    const QWidget* view = form_.ScrollBox();
    const QPoint centre = view->mapToGlobal(view->rect().center());
    dropShadow_->move(centre - QPoint(dropShadow_->width() / 2, dropShadow_->height() / 2));
    dropShadow_->show();
    dropShadow_->raise();
    dropShadow_->activateWindow();
}
