#pragma once

#include <QObject>

class CommandRegistry;
class PaintTool;
class ProgramState;
class TDropShForm;
class TMainForm;
class ToolShell;
struct AppContext;

// The Brush menu's size and shape commands (Halve, Double, Stretch, Rotate, Bend, Shear, Drop
// Shadow) and Image > Stretch / Mirror and Image > Rotate. Each selects its tool of
// StandardTools::transform; the tools read AntiAlias and the spray radius through the settings
// wired here. Owned by the main window.
class TransformCommands : public QObject {
    Q_OBJECT
public:
    TransformCommands(TMainForm& form, AppContext& context, ProgramState& state, ToolShell& tools);

    void Register(CommandRegistry& commands);
    // Drop Shadow...: the dialog, made on first use, centred over the picture.
    void OpenDropShadow();
    TDropShForm* DropShadowForm() const { return dropShadow_; }

private:
    void Select(PaintTool& tool);

    TMainForm& form_;
    AppContext& context_;
    ToolShell& tools_;
    TDropShForm* dropShadow_ = nullptr;
};
