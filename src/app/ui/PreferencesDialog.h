#pragma once

#include "raster/GFXFile.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>
#include <vector>

struct AppContext;
class FileLinks;
class QComboBox;
class QGroupBox;
class QListWidget;
class QRadioButton;
class QSettings;
class QTabBar;
class QVBoxLayout;

// What the preferences dialog asks of the rest of the program. Any of them may be empty.
struct PreferencesHooks {
    // Previews run while the setting holds the value shown in the dialog and put it back after.
    std::function<void()> renderTextBrush; // re-render the text brush for Preferences::AntiAlias
    std::function<void()> buildPalette;    // rebuild the colour palette at Preferences::Palette
    std::function<void()> refreshClipping; // rebuild the work buffer for Preferences::Clipping
    std::function<void(int length)> setRecentListLength;
    // After OK loaded another language.
    std::function<void()> retranslateMain;
    // After OK changed the level or the language: hide and show the current option bar.
    std::function<void()> rebuildOptionBar;
    // Where the language choice is written at once; the user settings when empty.
    std::function<std::unique_ptr<QSettings>()> openSettings;
};

// The preferences dialog. Its controls are direct children of the dialog (pages included, the tab
// bar only shows and hides them), so "[Preferences]" entries such as "Clipping.Caption" reach
// them. OK (also Enter) applies; Cancel (also Escape) undoes the previews.
class TPreferences : public QDialog {
    Q_OBJECT
public:
    TPreferences(AppContext& context, FileLinks& links, PreferencesHooks hooks,
                 QWidget* parent = nullptr, std::vector<GFXFormat> formats = GFXFile::Formats());
    ~TPreferences() override;

    void done(int result) override;
    void ShowPage(int index);

private:
    struct Page {
        QWidget* frame;
        QVBoxLayout* layout;
        QList<QWidget*> controls;
    };
    const Page& AddPage(const char* name, const QString& caption);
    void BuildExtensPage();
    void BuildLanguagePage();
    void BuildGeneralPage();
    void LoadValues();
    void ExtensBoxClickCheck(int row);
    void Apply();
    void Restore();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppContext& context_;
    FileLinks& links_;
    PreferencesHooks hooks_;
    std::vector<GFXFormat> formats_;
    std::vector<Qt::CheckState> initialStates_;
    std::vector<bool> startedMixed_;
    QTabBar* tabs_ = nullptr;
    std::vector<Page> pages_;
    QListWidget* extensBox_ = nullptr;
    QListWidget* langList_ = nullptr;
    QGroupBox* level_ = nullptr;
    QRadioButton* levelButtons_[2] = {};
    QComboBox* palEntries_ = nullptr;
};
