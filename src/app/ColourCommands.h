#pragma once

#include "color/QuickPalette.h"
#include "color/ui/PalettePanel.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class MessageHost;

class TMainForm;
class ToolEngine;
struct AppContext;

// The quick palette and the two colour swatches on the Palette bar: picking colours from the
// cells, storing swatch colours into them, and the palette files. The swatches show the
// engine's drawCol and backCol; every change made here is followed by the colour-change notice.
class ColourCommands {
public:
    // Run the open and save dialogs; the chosen file, or nothing when cancelled. remembered is
    // the last palette file (its folder is where the dialog starts).
    std::function<std::optional<QString>(const QString& title, const QString& remembered)>
        openDialog;
    std::function<std::optional<QString>(const QString& title, const QString& remembered)>
        saveDialog;
    // A swatch was pressed: open the colour selector on it (DrawSwatch or BackSwatch).
    std::function<void(int which)> openSelector;
    // A cell's colour went into a swatch, so that an open colour selector can follow it.
    std::function<void(int which)> swatchTaken;

    // Builds the panel into the form's Palette bar at the size of the Palette preference.
    ColourCommands(TMainForm& form, AppContext& context, ToolEngine& engine, MessageHost& messages);
    ~ColourCommands();
    ColourCommands(const ColourCommands&) = delete;
    ColourCommands& operator=(const ColourCommands&) = delete;

    // Cells for n wanted (rounded up to a palette size), keeping the colours of existing cells;
    // the Palette preference becomes that size's index.
    void RebuildPalette(int n);
    // The preferences dialog's preview and Cancel: the palette at the Palette preference.
    void BuildFromPreference();
    void SelectFastColor(int cell, CellButton button, bool modifier);
    void ActivateColorSel(int which);
    void OpenPaletteBtnClick();
    void SavePaletteBtnClick();

    // A swatch takes a colour (only its colour bits) and the colour-change notice runs.
    void SetSwatchColour(int which, uint32_t colour);
    // The swatches show the engine's colours again, after someone else changed them.
    void SyncSwatches();

    const QuickPalette& Palette() const { return palette_; }
    PalettePanel* Panel() const { return panel_.data(); }
    QString LastPaletteFile() const { return lastFile_; }

private:
    std::optional<QString> RunDialog(const QString& title, const QString& remembered, bool save);

    TMainForm& form_;
    AppContext& context_;
    ToolEngine& engine_;
    MessageHost& messages_;
    QuickPalette palette_;
    QPointer<PalettePanel> panel_; // owned by the Palette bar
    QString lastFile_;
};
