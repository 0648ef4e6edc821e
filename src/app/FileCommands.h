#pragma once

#include "files/OpenPreview.h"
#include "files/RecentFiles.h"
#include "raster/Geometry.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class CommandRegistry;
class ProgramState;
class DocumentTable;
class PaintTool;
class ShellHost;
class TMainForm;
class ToolEngine;
class ViewController;
struct AppContext;

// The File menu's image commands: New, Open, Save, Save as, Reopen, Update & Exit. The dialogs
// are seams so that tests can answer them.
class FileCommands : public QObject {
    Q_OBJECT
public:
    struct OpenChoice {
        QString name;
        int imageNumber = 1;
    };
    // Runs the open dialog; nothing when cancelled.
    std::function<std::optional<OpenChoice>(const QString& title)> openDialog;
    // Runs the save dialog offering name; the chosen name, or nothing when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& offered)> saveDialog;
    // Runs the New dialog with the remembered size; the accepted size, or nothing.
    std::function<std::optional<Pair>(Pair remembered)> newDialog;

    // The file's colours became the swatch colours.
    std::function<void()> coloursChanged;
    // The tool a newly opened brush continues with; none keeps the current tool.
    PaintTool* customBrushTool = nullptr;

    FileCommands(TMainForm& form, AppContext& context, ProgramState& state, ViewController& view,
                 ToolEngine& engine, ShellHost& host);
    ~FileCommands() override;

    void SetUpdateTarget(const QString& target) { updateTarget_ = target; }
    // New, Open, Save, Save as, Update & Exit, Brush > Open and Brush > Save. Reopen is a submenu
    // of its own, enabled while it has entries.
    void Register(CommandRegistry& commands);

    void New1Click();
    void OpenImageClick();
    // false when Save as was cancelled (or the save failed).
    bool SavePicture();
    bool SavePictureAs();
    void ReopenClick(const QString& entry);
    void UpdateExit1Click();
    // Brush > Open and Brush > Save.
    void LoadBrushClick();
    bool SaveBrushClick();
    int OpenBrush(const QString& name);
    // Loads image n of name into CurrentDoc, as Open does once the dialog has answered.
    int OpenFile(const QString& name, int n);

    Pair NewImageSize() const { return newSize_; }
    void SetNewImageSize(Pair size) { newSize_ = size; }
    const RecentFiles& Recent() const { return recent_; }
    void SetRecentLength(int length);
    QString LastFolder() const { return lastFolder_; }
    OpenPreview& Preview() { return preview_; }

private:
    void Wire(); // the document table's hooks
    void AddRecent(const QString& entry);
    void RebuildReopenMenu();
    bool SaveCurrent(const QString& name);
    std::optional<OpenChoice> RunOpenDialog(const QString& title);
    std::optional<QString> RunSaveDialog(const QString& title, const QString& offered);
    std::optional<Pair> RunNewDialog(Pair remembered);

    TMainForm& form_;
    AppContext& context_;
    ProgramState& state_;
    DocumentTable& docs_;
    ViewController& view_;
    ToolEngine& engine_;
    ShellHost& host_;
    OpenPreview preview_;
    RecentFiles recent_;
    QString lastFolder_;
    int openFilterIndex_ = 0; // 0: not chosen yet, the All entry
    QString updateTarget_;
    Pair newSize_;
    QString brushFileName_;
};
