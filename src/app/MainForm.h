#pragma once

#include "app/FileLinks.h"
#include "app/ui/PreferencesDialog.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

struct AppContext;
class CommandRegistry;
class HelpWindow;
class Buffer;
class Language;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QSettings;
class QToolBar;

// The main window: the menu bar of MainMenu.h, the dockable bars, the scrolling image area and the
// five-panel status bar. A command is enabled once its module registers it in Commands(); the
// window registers its own (Exit, the bar ticks, Preferences, Help).
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The action of a control name (see ControlName); for a menu, its menu action. nullptr if none.
    QAction* Action(const QString& objectName) const;
    QMenu* Menu(const QString& objectName) const;
    CommandRegistry& Commands() { return *commands_; }
    void SetActionEnabled(const QString& objectName, bool enabled);
    void SetActionsEnabled(const QStringList& objectNames, bool enabled);

    // Update mode hides Save and Save as and shows Update & Exit.
    void SetUpdateMode(bool on);
    bool UpdateMode() const { return updateMode_; }

    static constexpr int kPanelCount = 5;
    static constexpr int kPanelWidths[kPanelCount] = {192, 16, 72, 80, 50};
    // Out-of-range panels are ignored (empty text).
    void SetPanel(int index, const QString& text);
    QString Panel(int index) const;
    QLabel* PanelLabel(int index) const;
    QLabel* FileLabel() const { return panels_[0]; }
    QProgressBar* ProgressBar() const { return progressBar_; }

    QToolBar* ToolsBar() const { return toolsBar_; }
    QToolBar* PaletteBar() const { return paletteBar_; }
    QToolBar* OptionBar() const { return optionBar_; }
    QLabel* OptionBarLabel() const { return optionBarLabel_; }
    QToolBar* GridBar() const { return gridBar_; }
    QScrollArea* ScrollBox() const { return scrollBox_; }
    QWidget* ShowBuf() const { return showBuf_; }
    // The image shown in the view (ShowBuf); not owned.
    void SetImage(Buffer* image);

    // Bar positions in the group "Toolbars". Loading hides the option and grid bars again (they
    // show only with their tool) and sets the two Visible ticks from the bars.
    void SaveToolbars(QSettings& settings) const;
    void LoadToolbars(QSettings& settings);
    // Window placement in the group "MainForm".
    void SavePlacement(QSettings& settings) const;
    void LoadPlacement(QSettings& settings);

    // Applies the section "[MainForm]" of the language (menu captions and hints by control name).
    void Retranslate(const Language& language);

    static QUrl HomePage();
    // The help viewer over the pages beside the program, made on first use.
    HelpWindow* Help();

    // Set by later parts: the preview and rebuild callbacks of the preferences dialog (the main
    // window re-translation is filled in when left empty), the step back to the previous tool
    // that runs before the dialog opens, and the browser launcher (a seam for tests).
    PreferencesHooks preferencesHooks;
    std::function<void()> onPreferencesOpening;
    std::function<bool(const QUrl&)> openUrl;

    // None: the right button on the bars belongs to their cells and buttons, and the bars'
    // visibility to the Options menu.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void BuildBars();
    void BuildStatusBar();
    void RegisterCommands(CommandRegistry& commands);
    void ToolbarVisibClick(bool on);
    void PaletteVisibClick(bool on);
    void PrefsMenuClick();
    void HomepageClick();
    void About1Click();
    void Contents1Click();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& context_;
    FileLinks links_;
    std::unique_ptr<CommandRegistry> commands_;
    bool updateMode_ = false;
    HelpWindow* help_ = nullptr;
    QToolBar* toolsBar_ = nullptr;
    QToolBar* paletteBar_ = nullptr;
    QToolBar* optionBar_ = nullptr;
    QLabel* optionBarLabel_ = nullptr;
    QToolBar* gridBar_ = nullptr;
    QScrollArea* scrollBox_ = nullptr;
    QWidget* showBuf_ = nullptr;
    QLabel* panels_[kPanelCount] = {};
    QProgressBar* progressBar_ = nullptr;
};
