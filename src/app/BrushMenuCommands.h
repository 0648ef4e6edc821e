#pragma once

#include "raster/Geometry.h"

#include <QObject>

#include <functional>

class CommandRegistry;
class QKeyEvent;
class ToolShell;
struct AppContext;

// The Brush menu's own commands: Crop, Select All, Outline, the two mirrors and the five handle
// positions, plus the window keys that belong to the brush: the handle step (Clear or numeric-pad
// 5) and the predefined cut's six Ctrl keys. The work is brushmenu:: and the cut tool's; this
// only connects it to the window.
class BrushMenuCommands : public QObject {
    Q_OBJECT
public:
    BrushMenuCommands(ToolShell& tools, AppContext& context);

    // Crop tells the New dialog the picture's new size.
    std::function<void(Pair)> rememberNewSize;

    void Register(CommandRegistry& commands);
    // True when the key was one of ours and used.
    bool HandleKey(const QKeyEvent& event);

private:
    ToolShell& tools_;
    AppContext& context_;
};
