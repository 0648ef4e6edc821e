#include "app/ColourCommands.h"

#include "app/AppContext.h"
#include "app/MainForm.h"
#include "color/ui/PalettePanel.h"
#include "document/Host.h"
#include "files/PaletteFile.h"
#include "tools/BrushTools.h"
#include "tools/ToolEngine.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QToolBar>

ColourCommands::ColourCommands(TMainForm& form, AppContext& context, ToolEngine& engine,
                               MessageHost& messages)
    : form_(form), context_(context), engine_(engine), messages_(messages) {
    openDialog = [this](const QString& title, const QString& remembered) {
        return RunDialog(title, remembered, false);
    };
    saveDialog = [this](const QString& title, const QString& remembered) {
        return RunDialog(title, remembered, true);
    };

    QToolBar* bar = form.PaletteBar();
    panel_ = new PalettePanel(bar);
    // The palette leads the bar, before the zoom control.
    bar->insertWidget(bar->actions().value(0), panel_);
    panel_->cellPressed = [this](int cell, CellButton button, bool modifier) {
        SelectFastColor(cell, button, modifier);
    };
    panel_->swatchPressed = [this](int which) { ActivateColorSel(which); };
    panel_->openClicked = [this] { OpenPaletteBtnClick(); };
    panel_->saveClicked = [this] { SavePaletteBtnClick(); };

    BuildFromPreference();
    SyncSwatches();
    // The language may have been applied before the panel existed.
    form.Retranslate(context.language);
}

ColourCommands::~ColourCommands() {
    if (!panel_) return;
    panel_->cellPressed = nullptr;
    panel_->swatchPressed = nullptr;
    panel_->openClicked = nullptr;
    panel_->saveClicked = nullptr;
}

void ColourCommands::RebuildPalette(int n) {
    context_.prefs.Palette = palette_.Rebuild(n);
    if (panel_) panel_->SetCells(palette_);
}

void ColourCommands::BuildFromPreference() {
    RebuildPalette(Preferences::PaletteCells(context_.prefs.Palette));
}

void ColourCommands::SelectFastColor(int cell, CellButton button, bool modifier) {
    std::array<uint32_t, 2> swatches{engine_.state.drawCol, engine_.state.backCol};
    const FastColorOutcome outcome = palette_.SelectFastColor(cell, button, modifier, swatches);
    switch (outcome.kind) {
    case FastColorOutcome::SwatchTook:
        SetSwatchColour(outcome.swatch, swatches[size_t(outcome.swatch)]);
        if (swatchTaken) swatchTaken(outcome.swatch);
        break;
    case FastColorOutcome::CellTook:
        if (panel_) panel_->SetCellColour(cell, palette_.Colour(cell));
        break;
    case FastColorOutcome::Nothing:
        break;
    }
}

void ColourCommands::ActivateColorSel(int which) {
    if (openSelector && (which == DrawSwatch || which == BackSwatch)) openSelector(which);
}

void ColourCommands::SetSwatchColour(int which, uint32_t colour) {
    colour &= 0xFFFFFF;
    if (which == DrawSwatch)
        engine_.state.drawCol = colour;
    else if (which == BackSwatch)
        engine_.state.backCol = colour;
    else
        return;
    if (panel_) panel_->SetSwatchColour(which, colour);
    brushtools::ColourChanged(engine_);
}

void ColourCommands::SyncSwatches() {
    if (!panel_) return;
    panel_->SetSwatchColour(DrawSwatch, engine_.state.drawCol);
    panel_->SetSwatchColour(BackSwatch, engine_.state.backCol);
}

void ColourCommands::OpenPaletteBtnClick() {
    engine_.ReturnToPreviousTool(true);
    const auto name =
        openDialog(context_.Translate(QStringLiteral("Open Fast Palette")), lastFile_);
    if (!name) return;
    lastFile_ = QFileInfo(*name).absoluteFilePath();
    if (ReadPaletteFile(*name, palette_) != PaletteFileResult::Ok) {
        messages_.MessageByKey(QStringLiteral("ErrOpenPal"), QStringLiteral("Err"),
                               MessageCode::OkWarning);
        return;
    }
    context_.prefs.Palette = QuickPalette::SizeIndex(palette_.Count());
    if (panel_) panel_->SetCells(palette_);
}

void ColourCommands::SavePaletteBtnClick() {
    engine_.ReturnToPreviousTool(true);
    const auto name =
        saveDialog(context_.Translate(QStringLiteral("Save Fast Palette")), lastFile_);
    if (!name) return;
    lastFile_ = QFileInfo(*name).absoluteFilePath();
    if (WritePaletteFile(*name, palette_) != PaletteFileResult::Ok)
        messages_.MessageByKey(QStringLiteral("ErrSavePal"), QStringLiteral("Err"),
                               MessageCode::OkWarning);
}

std::optional<QString> ColourCommands::RunDialog(const QString& title, const QString& remembered,
                                                 bool save) {
    QFileDialog dialog(&form_, title);
    dialog.setObjectName(save ? QStringLiteral("SavePalDlg") : QStringLiteral("OpenPalDlg"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Fast Palettes (*.pal)"));
    dialog.setDefaultSuffix(QStringLiteral("pal"));
    if (!remembered.isEmpty()) {
        dialog.setDirectory(QFileInfo(remembered).absolutePath());
        if (save) dialog.selectFile(QFileInfo(remembered).fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}
