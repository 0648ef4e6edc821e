#include "app/BrushMenuCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/ToolShell.h"
#include "tools/BrushMenu.h"

#include <QKeyEvent>

BrushMenuCommands::BrushMenuCommands(ToolShell& tools, AppContext& context)
    : tools_(tools), context_(context) {}

void BrushMenuCommands::Register(CommandRegistry& commands) {
    auto on = [this, &commands](const char* name, std::function<void(ToolEngine&)> run) {
        commands.Register(QLatin1String(name), this, [this, run] {
            tools_.SyncView();
            run(tools_.Engine());
        });
    };
    on("SelectAll1",
       [this](ToolEngine& e) { brushmenu::SelectAll(e, &tools_.Tools().dottedFreehand); });
    on("Crop1", [this](ToolEngine& e) {
        if (const auto size = brushmenu::Crop(e); size && rememberNewSize) rememberNewSize(*size);
    });
    // The preference promises a trimmed brush after brush operations.
    on("Outline1", [](ToolEngine& e) { brushmenu::Outline(e); });
    on("LefttoRight1",
       [this](ToolEngine& e) { brushmenu::MirrorLeftRight(e, context_.prefs.OptimBrush); });
    on("ToptoBottom1",
       [this](ToolEngine& e) { brushmenu::MirrorTopBottom(e, context_.prefs.OptimBrush); });
    const char* handles[] = {"Center1", "LTCorner1", "RTCorner1", "RBCorner1", "LBCorner1"};
    for (int h = 0; h < 5; ++h) on(handles[h], [h](ToolEngine& e) { brushmenu::SetHandle(e, h); });
}

bool BrushMenuCommands::HandleKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (mods == Qt::NoModifier && (key == Qt::Key_Clear || (keypad && key == Qt::Key_5))) {
        tools_.SyncView();
        brushmenu::StepHandle(tools_.Engine());
        return true;
    }
    if (mods != Qt::ControlModifier) return false;
    using Key = CutPredefinedTool::SizeKey;
    Key which;
    switch (key) {
    case Qt::Key_Left:
        which = Key::WidthLess;
        break;
    case Qt::Key_Right:
        which = Key::WidthMore;
        break;
    case Qt::Key_Up:
        which = Key::HeightLess;
        break;
    case Qt::Key_Down:
        which = Key::HeightMore;
        break;
    case Qt::Key_Home:
        which = Key::Shrink;
        break;
    case Qt::Key_PageDown:
        which = Key::Grow;
        break;
    default:
        return false;
    }
    ToolEngine& engine = tools_.Engine();
    CutPredefinedTool& cut = tools_.Tools().cutPredefined;
    if (engine.CurrentTool() != &cut) return false;
    tools_.SyncView();
    cut.SizeKeyPressed(engine, which);
    return true;
}
