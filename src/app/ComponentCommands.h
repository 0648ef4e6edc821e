#pragma once

#include "filters/CompScan.h"
#include "filters/CompSession.h"
#include "tools/ComponentTool.h"
#include "tools/Palette.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <functional>
#include <future>
#include <memory>
#include <vector>

class ProgressDisplay;
class QAction;
class QKeyEvent;
class QMenu;
class TCompForm;
class TMainForm;
class ToolShell;
struct AppContext;
struct ColourSwatch;

// The components: the scan of Comps beside the program at start-up, their entries in the Image
// menu (one submenu per category), their palette group, and the running component: its tool, its
// session and its dialog. A menu entry starts a component as an image-wide tool; a palette icon
// as a drawing mode, with the component as the brush. One component runs at a time.
class ComponentCommands : public QObject {
    Q_OBJECT
public:
    ComponentCommands(TMainForm& form, AppContext& context);
    ~ComponentCommands() override;

    // Starts reading the components on a thread, so that start-up goes on beside it; Scan then
    // takes what it found. Not with the log on (Scan reads them in turn). It may start before the
    // language is loaded: a help file named for translation waits for LanguageLoaded.
    void ScanAhead();
    void LanguageLoaded();
    // Finds the components and adds their menu entries; returns the palette's components (those
    // with an icon), in the order found. tools must outlive this object.
    std::vector<PaletteComponent> Scan(ToolShell& tools, ProgressDisplay* progress);

    // The menu entry of component i.
    void StartComponent(int index);
    const comp::ComponentTable& Table() const { return table_; }
    comp::Session* ActiveSession() const { return session_.get(); }
    TCompForm* Form() const;
    QAction* MenuEntry(int index) const;
    PaintTool* ImageTool(int index) const;
    PaintTool* BrushTool(int index) const;

    // Seams set by the program: the colour selector (modal) for a colour parameter, the main
    // window's hot keys, the help window's page (empty: the program's help).
    std::function<void(const ColourSwatch& swatch, const QString& caption)> editColour;
    std::function<void(QKeyEvent& event)> mainKeys;
    std::function<void(const QString& page)> setHelp;
    // A category's Browse entry (the category counted from 0).
    std::function<void(int category)> browseCategory;
    // Test seam: where components are looked for (Comps beside the program by default).
    QString compsFolder;
    // The scan's descriptor cache (in the user's cache folder); empty: none.
    QString scanCache;

private:
    class Host;
    // The components and their icons (null without one), as read from the folder.
    struct Found {
        comp::ComponentTable table;
        std::vector<QImage> icons;
    };
    comp::ScanOptions Options() const;
    static Found Read(const QString& folder, comp::ScanOptions options, const QString& cacheFile);

    void BuildMenu();
    QAction* AddEntry(QMenu& menu, const comp::MenuEntry& entry);
    void Started(int index, bool brush);
    void Ended(int index);
    void EndTool();
    void LockMenus();
    PaintTool* ToolOf(int index, bool brush) const;

    TMainForm& form_;
    AppContext& context_;
    ToolShell* tools_ = nullptr;
    ProgressDisplay* progress_ = nullptr;
    comp::ComponentTable table_;
    ComponentToolHooks toolHooks_;
    std::vector<std::unique_ptr<ComponentImageTool>> imageTools_;
    std::vector<std::unique_ptr<ComponentBrushTool>> brushTools_; // null without an icon
    std::vector<QAction*> entries_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<comp::Session> session_;
    std::future<Found> ahead_; // ScanAhead's reading
    std::promise<void> languageLoaded_;
    bool languageSignalled_ = false;
    QPointer<TCompForm> dialog_;
    int active_ = -1;
    bool brush_ = false;
    bool endRequested_ = false; // Ok, Cancel or the component ended the tool
    bool ending_ = false;       // inside the session's End
};
