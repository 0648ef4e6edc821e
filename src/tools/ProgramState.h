#pragma once

#include "brush/Brush.h"
#include "document/DocumentTable.h"
#include "document/Grid.h"
#include "document/Host.h"
#include "document/Zoom.h"

#include <QString>

#include <cstdint>
#include <functional>

// Where the view shows the picture: what the tools need to convert positions and to paint only
// what the user can see.
struct ViewPlacement {
    ZoomRatio zoom;
    Pair scroll{0, 0};     // view pixels
    Pair client{0, 0};     // scroll box client area; 0 x 0: the whole image counts as visible
    bool clipping = false; // the Clipping preference: tools paint the visible part only
};

// The program-wide state the core works on, one object created at start-up: the ten documents,
// the two colours, the brush, the grid, the view placement, the one translator and the message
// and status seams. The shell and the tools reach them here rather than through each other.
class ProgramState {
public:
    ProgramState(MessageHost& messages, PromptHost& prompts, StatusHost& status);
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    MessageHost& messages;
    StatusHost& status;
    DocumentTable docs;

    uint32_t drawCol = 0xFFFFFF;
    uint32_t backCol = 0x000000;
    Brush brush; // the one brush every tool stamps
    GridSettings grid;
    bool gridOn = false; // set by the Grid tool
    // Spray and airbrush share one radius; the spray-size tool drags it. At least 1.
    int sprayRadius = 20;
    ViewPlacement view;
    bool antiAlias = false; // the AntiAlias preference, as the shell last synced it

    // The text of a message key in the current language; the key itself while none is set. The
    // documents translate through it too.
    std::function<QString(const QString&)> translate;
    QString Translate(const QString& key) const { return translate ? translate(key) : key; }
};
