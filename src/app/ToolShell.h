#pragma once

#include "tools/Palette.h"
#include "tools/ScreenOverlays.h"
#include "tools/StandardTools.h"
#include "tools/ToolEngine.h"
#include "tools/ToolHost.h"

#include <QObject>
#include <QTimer>

#include <memory>

class CommandRegistry;
class DocumentTable;
class IconPanel;
class OptionBar;
class OptionBarHost;
class QKeyEvent;
class QPainter;
class QSpinBox;
class StatusHost;
class TBuffer;
class TMainForm;
class ToolPaletteBar;
class ViewController;
struct AppContext;

// Connects the tool engine and the palette to the window: the view's pointer events, the timers,
// the cursor, the palette buttons on the Tools bar and the tool hot keys.
class ToolShell : public QObject, public ToolHost {
    Q_OBJECT
public:
    ToolShell(TMainForm& form, AppContext& context, ProgramState& state, ViewController& view);
    ~ToolShell() override;

    // After the component scan: the components' palette group (or its placeholder) and the
    // Undo and Clear commands; the palette is complete and its buttons go on the Tools bar.
    void FinishPalette(std::vector<PaletteComponent> components);
    // The starting tool with the starting brush, once the window is up.
    void Start();
    ToolEngine& Engine() { return *engine_; }
    StandardTools& Tools() { return tools_; }
    Palette& ToolPalette() { return palette_; }
    // The option bar (Toolbar97) of the current tool; tools read and set its controls by index.
    OptionBar& ToolOptions() { return *options_; }
    OptionBarHost& OptionBars();
    // A tool hot key (key code with 0x100 Shift, 0x200 Ctrl, 0x400 Alt); true when used.
    bool HandleToolKey(int keyCode);
    // The Write Text tool is current with a block placed: every key goes to it first.
    bool Typing() const;
    // A key while typing (its code and the characters it typed); true when the tool used it.
    bool HandleTextKey(int keyCode, const QString& typed);
    // Ctrl+T or the AntiAlias preview: the text is drawn again with the preference as it is now.
    void TextSettingsChanged();
    static int KeyCode(const QKeyEvent& event);
    // The Techniques menu and Brush > Restore.
    void RegisterBrushCommands(CommandRegistry& commands);

    void InvalidateView(ViewRect r) override;
    void UpdateView() override;
    void SetCursor(int cursor) override;
    void MovePointer(Pair view) override;
    void StartTimer(ToolTimer timer, int milliseconds) override;
    void StopTimer(ToolTimer timer) override;
    bool TimerRunning(ToolTimer timer) const override;
    void ToggleOverlay(OverlayKind kind, Rect r) override;

    // The engine reads zoom, scroll and clipping from the window before each command.
    void SyncView();
    const ScreenOverlays& Overlays() const { return overlays_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PaintOverlays(QPainter& painter);
    QTimer& TimerOf(ToolTimer timer);
    void BuildGridBar();
    void ShowGridValues(); // the bar follows the grid (Set Origin changes it by a click)
    void WireOptionBar();
    QString BarDefinition(const QString& key) const;

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    ViewController& view_;
    TBuffer* buffer_;
    StandardTools tools_; // before the engine, which refers to them
    std::unique_ptr<ToolEngine> engine_;
    Palette palette_;
    IconPanel* panel_ = nullptr;
    ToolPaletteBar* bar_ = nullptr;
    std::unique_ptr<OptionBar> options_;
    QTimer drag_, activity_;
    QSpinBox* gridFields_[4] = {}; // GridDx, GridDy, GridPx, GridPy
    ScreenOverlays overlays_;
};
