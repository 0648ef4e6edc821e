#pragma once

#include "tools/ProgramState.h"

#include "app/AppContext.h"
#include "app/CommandLine.h"
#include "app/ShellHost.h"
#include "document/DocumentTable.h"
#include "raster/Buffer.h"
#include "raster/Geometry.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <future>
#include <memory>

class BrowseCommands;
class BrushMenuCommands;
class ComponentCommands;
class ColourCommands;
class FileCommands;
class TransferCommands;
class FilterCommands;
class TColorSel;
class ProgressDisplay;
class ViewController;
class ToolShell;
class QKeyEvent;
class QSplashScreen;
class TMainForm;

// Brings the program up and takes it down: the display check, the log, the windows in their
// order, the initialisation once the main window first shows, and the shutdown writes.
class Program : public QObject {
    Q_OBJECT
public:
    // args: the arguments after the program name; programFolder: where the program file lies.
    Program(QStringList args, QString programFolder);
    ~Program() override;

    // False when the display cannot show the program (the message was given).
    static bool DisplayDeepEnough();
    // Creates the windows and shows the main window; InitProgram follows once it is shown.
    void Start();

    AppContext& Context() { return context_; }
    TMainForm* MainForm() const { return form_.get(); }
    Pair NewImageSize() const;
    FileCommands& Files() { return *files_; }
    TransferCommands& Transfer() { return *transfer_; }
    FilterCommands& Filters() { return *filters_; }
    BrowseCommands& Browser() { return *browse_; }
    ColourCommands& Colours() { return *colours_; }
    ComponentCommands& Components() { return *components_; }
    // A key typed in a tool window that the window leaves to the main window's hot keys and
    // menu shortcuts.
    void MainWindowKey(QKeyEvent& event);
    // The colour selector, made on first use.
    TColorSel* ColourSelector();
    const Buffer& Image() const { return state_->docs.CurrentDoc().image; }
    DocumentTable& Documents() { return state_->docs; }
    ProgramState& State() { return *state_; }
    ViewController& View() { return *view_; }
    ToolShell& Tools() { return *tools_; }
    // Run with the work AfterFirstFrame does, once the first frame is up.
    std::function<void()> afterFirstFrame;
    // True once InitProgram has run to its end (or stopped because the window closed).
    bool Ready() const { return ready_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FormCreate();
    void InitProgram();
    // Work the first frame need not wait for, run once it is painted.
    void AfterFirstFrame();
    void ShowSplashWhileOpening(const QString& name);
    void LoadLanguage();
    void RunCommandLine();
    bool FormClose();
    void WireDocuments();
    void ShowCurrent(bool reapplyZoom = true);
    bool PreviewKey(QKeyEvent* event);
    void WireColours();
    void OpenColourSelector(int which);
    int Message(const QString& textKey, const QString& titleKey, int style);

    QStringList args_;
    CommandLine command_;
    AppContext context_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<ProgressDisplay> progress_;
    QSplashScreen* splash_ = nullptr; // only while a large picture opens at start-up
    bool initialised_ = false;
    bool closed_ = false;
    bool ready_ = false;
    bool afterFirstFrame_ = false; // AfterFirstFrame is queued or ran
    // OV_QUIT_AFTER_FIRST_PAINT set: quit once the view has painted after the start finished.
    bool quitAfterFirstPaint_ = qEnvironmentVariableIsSet("OV_QUIT_AFTER_FIRST_PAINT");
    std::unique_ptr<ShellHost> host_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<ViewController> view_;
    std::unique_ptr<ToolShell> tools_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<BrushMenuCommands> brushMenu_;
    std::unique_ptr<TransferCommands> transfer_;
    std::unique_ptr<FilterCommands> filters_;
    std::unique_ptr<BrowseCommands> browse_;
    std::unique_ptr<ColourCommands> colours_;
    std::unique_ptr<ComponentCommands> components_;
    std::future<Language::Expanded> languageAhead_; // made in Start, loaded in InitProgram
    std::future<void> iconsAhead_;
    bool pagesMapped_ = false;           // the main window's, before its first paint
    TColorSel* colorSel_ = nullptr;      // owned by the main window; made on first use
    int selectorSwatch_ = -1;            // the swatch the selector was opened on
    static constexpr int ToolSwatch = 2; // a colour of the current tool (the text shadow)
};
