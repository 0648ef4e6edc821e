#include "app/FileCommands.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/MainForm.h"
#include "app/Preferences.h"
#include "app/ShellHost.h"
#include "app/ViewController.h"
#include "document/DocumentTable.h"
#include "files/BrushFiles.h"
#include "files/FormatFilter.h"
#include "files/ImageFiles.h"
#include "files/NewPicture.h"
#include "files/ui/NewForm.h"
#include "files/ui/OpenPlusDialog.h"
#include "lang/WindowTranslator.h"
#include "raster/GFXFile.h"
#include "tools/BrushTools.h"
#include "tools/ToolEngine.h"
#include "ui/BusyCursor.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSettings>

namespace {

// Default extension of a dialog: the first pattern of the first (savable) format, less "*.".
QString DefaultSuffix(bool savableOnly) {
    for (const GFXFormat& f : GFXFile::Formats()) {
        if (savableOnly && !f.canSave) continue;
        QString ext = f.extensions.section(QLatin1Char(';'), 0, 0);
        return ext.startsWith(QStringLiteral("*.")) ? ext.mid(2) : ext;
    }
    return {};
}

} // namespace

FileCommands::FileCommands(TMainForm& form, AppContext& context, ProgramState& state,
                           ViewController& view, ToolEngine& engine, ShellHost& host)
    : form_(form), context_(context), state_(state), docs_(state.docs), view_(view),
      engine_(engine), host_(host),
      recent_(context.prefs.MRUFiles), newSize_{Buffer::default_x, Buffer::default_y} {
    openDialog = [this](const QString& title) { return RunOpenDialog(title); };
    saveDialog = [this](const QString& title, const QString& offered) {
        return RunSaveDialog(title, offered);
    };
    newDialog = [this](Pair remembered) { return RunNewDialog(remembered); };
    {
        std::unique_ptr<QSettings> settings(OpenUserSettings());
        recent_.Load(*settings);
    }
    Wire();
    RebuildReopenMenu();
}

FileCommands::~FileCommands() = default;

void FileCommands::Wire() {
    docs_.hooks.hideFeedback = [this] { engine_.HideFeedback(); };
    docs_.hooks.deactivateTool = [this] { engine_.CurrentTool()->Deactivate(engine_, nullptr); };
    docs_.hooks.activateTool = [this] {
        engine_.CurrentTool()->Activate(engine_);
        engine_.RefreshToolDisplay(false, true);
    };
    docs_.hooks.save = [this] { return SavePicture(); };
    docs_.hooks.writeUpdateTarget = [this] {
        SaveImageFile(
            docs_.Slot(0), updateTarget_,
            {state_.drawCol, state_.backCol, context_.prefs.BackupFiles, &docs_.UndoDoc().image},
            host_);
    };
}

void FileCommands::Register(CommandRegistry& commands) {
    const auto hook = [this, &commands](const char* name, auto handler) {
        commands.Register(QString::fromLatin1(name), this, handler);
    };
    hook("New1", [this] { New1Click(); });
    hook("OpenImage", [this] { OpenImageClick(); });
    hook("SavePicture", [this] { SavePicture(); });
    hook("SavePictureAs", [this] { SavePictureAs(); });
    hook("UpdateExit1", [this] { UpdateExit1Click(); });
    hook("LoadBrush", [this] { LoadBrushClick(); });
    hook("SaveBrush", [this] { SaveBrushClick(); });
}

void FileCommands::SetRecentLength(int length) {
    recent_.SetMaxEntries(length);
    RebuildReopenMenu();
}

void FileCommands::AddRecent(const QString& entry) {
    if (entry.isEmpty()) return;
    recent_.Add(entry);
    std::unique_ptr<QSettings> settings(OpenUserSettings());
    recent_.Save(*settings);
    RebuildReopenMenu();
}

void FileCommands::RebuildReopenMenu() {
    QMenu* menu = form_.Menu(QStringLiteral("Reopen1"));
    if (!menu) return;
    menu->clear();
    for (const QString& entry : recent_.Entries()) {
        QString caption = entry;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, entry] { ReopenClick(entry); });
    }
    menu->menuAction()->setEnabled(!recent_.Entries().isEmpty());
}

int FileCommands::OpenFile(const QString& name, int n) {
    uint32_t a = state_.drawCol, b = state_.backCol;
    QString entry;
    int code;
    {
        BusyCursor busy;
        code =
            LoadImageFile(docs_, docs_.CurrentDoc(), name, n, false, host_, a, b, entry, &preview_);
    }
    preview_.Clear();
    if (code == LoadCode::Ok) {
        state_.drawCol = a;
        state_.backCol = b;
        engine_.PrepareStamp(false); // the stamp follows the colours
        if (coloursChanged) coloursChanged();
        view_.FitZoom();
        AddRecent(entry);
    } else if (docs_.hooks.showCurrent) {
        docs_.hooks.showCurrent(false); // the restored pixels are new to the view
    }
    return code;
}

void FileCommands::New1Click() {
    engine_.HideFeedback();
    engine_.CurrentTool()->Deactivate(engine_, nullptr);
    if (!docs_.ConfirmDiscard()) {
        if (const auto size = newDialog(newSize_)) {
            newSize_ = *size;
            if (!NewPicture(docs_, newSize_, state_.backCol))
                host_.MessageByKey(QStringLiteral("ImgBig"), QStringLiteral("Err"),
                                   MessageCode::OkWarning);
        }
    }
    engine_.CurrentTool()->Activate(engine_);
    engine_.RefreshToolDisplay(false, true);
}

void FileCommands::OpenImageClick() {
    engine_.ReturnToPreviousTool(true);
    engine_.HideFeedback();
    if (docs_.ConfirmDiscard()) return;
    const auto choice = openDialog(context_.Translate(QStringLiteral("Open Image")));
    if (!choice) {
        preview_.Clear();
        return;
    }
    lastFolder_ = QFileInfo(choice->name).absoluteFilePath();
    OpenFile(choice->name, choice->imageNumber);
}

void FileCommands::ReopenClick(const QString& entry) {
    QString name;
    int n = 1;
    RecentFiles::SplitEntry(entry, name, n);
    engine_.ReturnToPreviousTool(true);
    engine_.HideFeedback();
    if (docs_.ConfirmDiscard()) return;
    OpenFile(name, n);
}

bool FileCommands::SaveCurrent(const QString& name) {
    ImageDoc& doc = docs_.CurrentDoc();
    QString status;
    {
        BusyCursor busy;
        status = SaveImageFile(
            doc, name,
            {state_.drawCol, state_.backCol, context_.prefs.BackupFiles, &docs_.UndoDoc().image},
            host_);
    }
    if (status.isEmpty()) return false;
    AddRecent(RecentFiles::EntryFor(doc.fileName, 1));
    return true;
}

bool FileCommands::SavePicture() {
    ImageDoc& doc = docs_.CurrentDoc();
    if (doc.untitled) return SavePictureAs();
    engine_.HideFeedback();
    const bool ok = SaveCurrent(doc.fileName);
    engine_.ReturnToPreviousTool(true);
    // After the tool's own status text, which would hide it at once.
    if (ok) host_.SetPanel(StatusPanel::Hint, context_.Translate(QStringLiteral("Img saved")));
    return ok;
}

bool FileCommands::SavePictureAs() {
    engine_.HideFeedback();
    engine_.CurrentTool()->Deactivate(engine_, nullptr);
    ImageDoc& doc = docs_.CurrentDoc();
    const auto name = saveDialog(context_.Translate(QStringLiteral("Save Image")), doc.fileName);
    bool ok = false;
    if (name) {
        lastFolder_ = QFileInfo(*name).absoluteFilePath();
        // Until the new file is written the old name no longer stands for the document.
        doc.untitled = true;
        ok = SaveCurrent(*name);
        docs_.UpdateFileLabel();
    }
    engine_.CurrentTool()->Activate(engine_);
    engine_.RefreshToolDisplay(false, true);
    if (ok) host_.SetPanel(StatusPanel::Hint, context_.Translate(QStringLiteral("Img saved")));
    return ok;
}

void FileCommands::LoadBrushClick() {
    engine_.ReturnToPreviousTool(true);
    engine_.HideFeedback();
    const auto choice = openDialog(context_.Translate(QStringLiteral("Open Brush")));
    preview_.Clear(); // a brush is always read from its file
    if (!choice) return;
    lastFolder_ = QFileInfo(choice->name).absoluteFilePath();
    OpenBrush(choice->name);
}

int FileCommands::OpenBrush(const QString& name) {
    int code;
    {
        BusyCursor busy;
        code = LoadBrushFile(state_.brush, name, state_.drawCol, state_.backCol, host_);
    }
    if (code != LoadCode::Ok) {
        engine_.RefreshToolDisplay(false, true);
        return code;
    }
    brushFileName_ = QFileInfo(name).absoluteFilePath();
    brushtools::ShowTechnique(engine_);
    // The new brush is stamped at once, dab by dab.
    if (customBrushTool)
        engine_.SelectTool(customBrushTool, true, -1);
    else
        engine_.RefreshToolDisplay(false, true);
    return code;
}

bool FileCommands::SaveBrushClick() {
    engine_.HideFeedback();
    engine_.CurrentTool()->Deactivate(engine_, nullptr);
    const auto name = saveDialog(context_.Translate(QStringLiteral("Save Brush")), brushFileName_);
    bool ok = false;
    if (name) {
        lastFolder_ = QFileInfo(*name).absoluteFilePath();
        BusyCursor busy;
        ok = SaveBrushFile(state_.brush, *name, state_.drawCol, context_.prefs.BackupFiles, host_);
        if (ok) brushFileName_ = QFileInfo(*name).absoluteFilePath();
        engine_.PrepareStamp(false);
    }
    engine_.CurrentTool()->Activate(engine_);
    engine_.RefreshToolDisplay(false, true);
    if (ok) host_.SetPanel(StatusPanel::Hint, context_.Translate(QStringLiteral("Img saved")));
    return ok;
}

void FileCommands::UpdateExit1Click() {
    engine_.HideFeedback();
    docs_.TakeUndoSnapshot(docs_.Slot(0));
    {
        BusyCursor busy;
        SaveImageFile(
            docs_.Slot(0), updateTarget_,
            {state_.drawCol, state_.backCol, context_.prefs.BackupFiles, &docs_.UndoDoc().image},
            host_);
    }
    form_.close();
}

std::optional<FileCommands::OpenChoice> FileCommands::RunOpenDialog(const QString& title) {
    const FormatFilter filter = BuildFormatFilter(
        GFXFile::Formats(), false, [this](const QString& k) { return context_.Translate(k); });
    if (openFilterIndex_ == 0) openFilterIndex_ = filter.lastIndex;
    TOpenPlus dialog(
        preview_, [this](const QString& k) { return context_.Translate(k); }, state_.drawCol,
        state_.backCol, &form_);
    TranslateWindow(context_.language, QStringLiteral("[OpenPlus]"), {&dialog});
    dialog.setWindowTitle(title);
    dialog.setDefaultSuffix(DefaultSuffix(false));
    const QStringList filters = DialogNameFilters(filter.text);
    dialog.setNameFilters(filters);
    if (openFilterIndex_ >= 1 && openFilterIndex_ <= filters.size())
        dialog.selectNameFilter(filters[openFilterIndex_ - 1]);
    if (!lastFolder_.isEmpty()) dialog.setDirectory(QFileInfo(lastFolder_).absolutePath());
    dialog.FitWidth();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    openFilterIndex_ = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (openFilterIndex_ == 0) openFilterIndex_ = filter.lastIndex;
    return OpenChoice{dialog.selectedFiles().first(), dialog.ImageNumber()};
}

std::optional<QString> FileCommands::RunSaveDialog(const QString& title, const QString& offered) {
    const std::vector<GFXFormat>& formats = GFXFile::Formats();
    const FormatFilter filter = BuildFormatFilter(
        formats, true, [this](const QString& k) { return context_.Translate(k); });
    QFileDialog dialog(&form_, title);
    dialog.setObjectName(QStringLiteral("SavePicDlg"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(DefaultSuffix(true));
    const QStringList filters = DialogNameFilters(filter.text);
    dialog.setNameFilters(filters);
    int index = filter.lastIndex;
    if (!offered.isEmpty() && FilterIndexForName(filter.text, offered) != 0)
        index = FilterIndexForName(filter.text, offered);
    if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
    if (!lastFolder_.isEmpty()) dialog.setDirectory(QFileInfo(lastFolder_).absolutePath());
    if (!offered.isEmpty()) dialog.selectFile(offered);
    // SavePicDlgTypeChange: the typed name follows the chosen type.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) return;
        const int i = int(filters.indexOf(chosen)) + 1;
        const QString renamed = NameForSaveType(edit->text(), formats, i);
        if (renamed != edit->text()) edit->setText(renamed);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

std::optional<Pair> FileCommands::RunNewDialog(Pair remembered) {
    TNewForm dialog(context_.language, remembered, &form_);
    const QRect view = form_.ScrollBox()->geometry();
    dialog.adjustSize();
    dialog.move(form_.ScrollBox()->mapToGlobal(view.center() - view.topLeft()) -
                QPoint(dialog.width() / 2, dialog.height() / 2));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.ChosenSize();
}
