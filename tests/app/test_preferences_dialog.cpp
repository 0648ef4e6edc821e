#include "app/AppContext.h"
#include "app/FileLinks.h"
#include "app/MessageBox.h"
#include "app/ProgramFixture.h"
#include "app/ui/PreferencesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What a hook saw of the settings when it ran.
struct Event {
    QString what;
    Preferences prefs;
};

struct Fixture {
    QTemporaryDir program, config;
    AppContext context;
    FileLinks links{config.path()};
    std::vector<Event> events;
    std::vector<GFXFormat> formats = {
        {"PNG picture", "*.png", true, "png"},
        {"GIF picture", "*.gif", true, "gif"},
        {"BMP and TIFF", "*.bmp;*.tif", true, "bmp"},
    };
    QStringList messages;

    Fixture() {
        context.programFolder = program.path();
        WriteLanguage(
            program.path(), "deutsch.lng",
            "[Messages]\r\nErr=Fehler\r\n[Preferences]\r\nClipping.Caption=Begrenzen\r\n");
        WriteLanguage(program.path(), "english.lng", "[Messages]\r\nErr=Error\r\n");
        links.Link(".png");
        links.Link(".bmp");
        MessageByKeySeam() = [this](const QString& t, const QString& c, int style) {
            messages << QString("%1/%2/%3").arg(t, c).arg(style);
            return 1;
        };
    }
    ~Fixture() { MessageByKeySeam() = nullptr; }

    QString SettingsPath() const { return config.filePath("settings.ini"); }

    PreferencesHooks Hooks() {
        PreferencesHooks h;
        auto record = [this](const char* what) {
            return [this, what] { events.push_back({what, context.prefs}); };
        };
        h.renderTextBrush = record("text brush");
        h.buildPalette = record("palette");
        h.refreshClipping = record("clipping");
        h.retranslateMain = record("retranslate");
        h.rebuildOptionBar = record("option bar");
        h.setRecentListLength = [this](int n) {
            events.push_back({QString("list %1").arg(n), context.prefs});
        };
        h.openSettings = [this] {
            return std::make_unique<QSettings>(SettingsPath(), QSettings::IniFormat);
        };
        return h;
    }

    std::unique_ptr<TPreferences> Open() {
        return std::make_unique<TPreferences>(context, links, Hooks(), nullptr, formats);
    }

    QStringList EventNames() const {
        QStringList out;
        for (const Event& e : events) out << e.what;
        return out;
    }
};

template <typename T> T* Get(TPreferences& d, const char* name) {
    T* w = d.findChild<T*>(name, Qt::FindDirectChildrenOnly);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void PressSpace(QListWidget* list, int row) {
    list->setCurrentRow(row);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(list, &space);
}

} // namespace

TEST(PreferencesDialog, ShowsTheSettingsAndLinks) {
    Fixture f;
    auto d = f.Open();
    EXPECT_EQ(d->objectName(), "Preferences");
    for (const char* page : {"Extens", "Language", "General"})
        EXPECT_NE(Get<QFrame>(*d, page), nullptr);
    QTabBar* tabs = Get<QTabBar>(*d, "PageControl");
    EXPECT_EQ(tabs->count(), 3);

    QListWidget* extens = Get<QListWidget>(*d, "ExtensBox");
    ASSERT_EQ(extens->count(), 3);
    EXPECT_EQ(extens->item(0)->text(), "PNG picture");
    EXPECT_EQ(extens->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(extens->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(extens->item(2)->checkState(), Qt::PartiallyChecked);

    QListWidget* langs = Get<QListWidget>(*d, "LangList");
    ASSERT_EQ(langs->count(), 2);
    EXPECT_EQ(langs->item(0)->text(), "Deutsch");
    EXPECT_EQ(langs->item(1)->text(), "English");
    EXPECT_EQ(langs->currentItem(), nullptr);

    for (const char* box : {"Clipping", "OptimBrush", "AntiAliasCB", "BackupFiles", "CacheThumbs"})
        EXPECT_FALSE(Get<QCheckBox>(*d, box)->isChecked()) << box;
    QGroupBox* level = Get<QGroupBox>(*d, "Level");
    EXPECT_TRUE(level->findChild<QRadioButton*>("Novice")->isChecked());
    EXPECT_FALSE(level->findChild<QRadioButton*>("Expert")->isChecked());
    QComboBox* pal = Get<QComboBox>(*d, "PalEntries");
    QStringList items;
    for (int i = 0; i < pal->count(); ++i) items << pal->itemText(i);
    EXPECT_EQ(items, (QStringList{"8", "12", "16", "24", "32"}));
    EXPECT_EQ(pal->currentIndex(), 0);
    QSpinBox* len = Get<QSpinBox>(*d, "FileListLength");
    EXPECT_EQ(len->value(), 6);
    EXPECT_EQ(len->minimum(), 0);
    EXPECT_EQ(len->maximum(), 16);
    EXPECT_TRUE(f.events.empty());
}

TEST(PreferencesDialog, ShowsNonDefaultSettings) {
    Fixture f;
    Preferences& p = f.context.prefs;
    p.Language = "english";
    p.Level = 1;
    p.Palette = 4;
    p.MRUFiles = 0;
    p.OptimBrush = p.CacheThumbs = true;
    auto d = f.Open();
    EXPECT_EQ(Get<QListWidget>(*d, "LangList")->currentItem()->text(), "English");
    EXPECT_TRUE(d->findChild<QRadioButton*>("Expert")->isChecked());
    EXPECT_EQ(Get<QComboBox>(*d, "PalEntries")->currentIndex(), 4);
    EXPECT_EQ(Get<QSpinBox>(*d, "FileListLength")->value(), 0);
    EXPECT_TRUE(Get<QCheckBox>(*d, "OptimBrush")->isChecked());
    EXPECT_TRUE(Get<QCheckBox>(*d, "CacheThumbs")->isChecked());
    EXPECT_FALSE(Get<QCheckBox>(*d, "BackupFiles")->isChecked());
}

TEST(PreferencesDialog, ClicksSkipTheGreyStateUnlessTheFormatStartedMixed) {
    Fixture f;
    auto d = f.Open();
    QListWidget* extens = Get<QListWidget>(*d, "ExtensBox");
    auto cycle = [&](int row, int clicks) {
        QList<Qt::CheckState> states;
        for (int i = 0; i < clicks; ++i) {
            PressSpace(extens, row);
            states << extens->item(row)->checkState();
        }
        return states;
    };
    EXPECT_EQ(cycle(1, 3), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    EXPECT_EQ(cycle(0, 2), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked}));
    EXPECT_EQ(cycle(2, 4), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::PartiallyChecked,
                                                  Qt::Checked}));
}

TEST(PreferencesDialog, PreviewsShowTheNewValueAndPutTheSettingBack) {
    Fixture f;
    auto d = f.Open();
    Get<QCheckBox>(*d, "AntiAliasCB")->click();
    Get<QComboBox>(*d, "PalEntries")->setCurrentIndex(3);
    Get<QCheckBox>(*d, "Clipping")->click();
    Get<QSpinBox>(*d, "FileListLength")->setValue(11);
    ASSERT_EQ(f.EventNames(), (QStringList{"text brush", "palette", "clipping", "list 11"}));
    EXPECT_TRUE(f.events[0].prefs.AntiAlias);
    EXPECT_EQ(f.events[1].prefs.Palette, 3);
    EXPECT_TRUE(f.events[2].prefs.Clipping);
    const Preferences& now = f.context.prefs;
    EXPECT_FALSE(now.AntiAlias);
    EXPECT_EQ(now.Palette, 0);
    EXPECT_FALSE(now.Clipping);
    EXPECT_EQ(now.MRUFiles, 6);
}

TEST(PreferencesDialog, CancelRestoresWhatThePreviewsChanged) {
    Fixture f;
    auto d = f.Open();
    Get<QCheckBox>(*d, "AntiAliasCB")->click();
    Get<QComboBox>(*d, "PalEntries")->setCurrentIndex(3);
    Get<QCheckBox>(*d, "Clipping")->click();
    Get<QSpinBox>(*d, "FileListLength")->setValue(2);
    Get<QCheckBox>(*d, "BackupFiles")->click();
    d->findChild<QRadioButton*>("Expert")->click();
    Get<QListWidget>(*d, "LangList")->setCurrentRow(0);
    PressSpace(Get<QListWidget>(*d, "ExtensBox"), 1);
    f.events.clear();

    d->reject();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    ASSERT_EQ(f.EventNames(), (QStringList{"text brush", "palette", "list 6", "clipping"}));
    for (const Event& e : f.events) {
        EXPECT_FALSE(e.prefs.AntiAlias);
        EXPECT_EQ(e.prefs.Palette, 0);
        EXPECT_FALSE(e.prefs.Clipping);
    }
    const Preferences& p = f.context.prefs;
    EXPECT_FALSE(p.BackupFiles);
    EXPECT_EQ(p.Level, 0);
    EXPECT_EQ(p.Language, "");
    EXPECT_FALSE(f.context.language.Loaded());
    EXPECT_FALSE(f.links.IsLinked(".gif"));
    EXPECT_FALSE(QFile::exists(f.SettingsPath()));
}

TEST(PreferencesDialog, OkAppliesInOrder) {
    Fixture f;
    auto d = f.Open();
    for (const char* box : {"Clipping", "OptimBrush", "AntiAliasCB", "BackupFiles", "CacheThumbs"})
        Get<QCheckBox>(*d, box)->click();
    d->findChild<QRadioButton*>("Expert")->click();
    Get<QComboBox>(*d, "PalEntries")->setCurrentIndex(3); // 24 cells
    Get<QSpinBox>(*d, "FileListLength")->setValue(9);
    Get<QListWidget>(*d, "LangList")->setCurrentRow(0);
    QListWidget* extens = Get<QListWidget>(*d, "ExtensBox");
    PressSpace(extens, 0); // PNG: clear
    PressSpace(extens, 1); // GIF: ticked
    PressSpace(extens, 2);
    PressSpace(extens, 2);
    PressSpace(extens, 2); // back to grey: nothing changes
    f.events.clear();

    d->accept();
    EXPECT_EQ(d->result(), QDialog::Accepted);

    // At the re-translation the language is in and nothing else yet.
    ASSERT_EQ(f.EventNames(), (QStringList{"retranslate", "option bar"}));
    const Preferences& atTranslate = f.events[0].prefs;
    EXPECT_EQ(atTranslate.Language, "Deutsch");
    EXPECT_EQ(atTranslate.Level, 0);
    EXPECT_FALSE(atTranslate.Clipping);
    const Preferences& atBar = f.events[1].prefs;
    EXPECT_EQ(atBar.Level, 1);
    EXPECT_FALSE(atBar.Clipping);
    EXPECT_EQ(atBar.Palette, 0);
    EXPECT_EQ(atBar.MRUFiles, 6);

    const Preferences& p = f.context.prefs;
    EXPECT_TRUE(p.Clipping && p.OptimBrush && p.AntiAlias && p.BackupFiles && p.CacheThumbs);
    EXPECT_EQ(p.Level, 1);
    EXPECT_EQ(p.Palette, 3);
    EXPECT_EQ(p.MRUFiles, 9);
    EXPECT_EQ(p.Language, "Deutsch");
    EXPECT_EQ(f.context.language.Translate("Err"), "Fehler");
    QSettings s(f.SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(s.value("TPreferences/Language").toString(), "Deutsch");
    // Only the language is written now; the rest waits for the exit.
    EXPECT_FALSE(s.contains("TPreferences/Palette"));

    EXPECT_FALSE(f.links.IsLinked(".png"));
    EXPECT_TRUE(f.links.IsLinked(".gif"));
    EXPECT_TRUE(f.links.IsLinked(".bmp"));
    EXPECT_FALSE(f.links.IsLinked(".tif"));
    EXPECT_TRUE(f.messages.isEmpty());
}

TEST(PreferencesDialog, LinksAreMadeBeforeTheLanguageIsLoaded) {
    Fixture f;
    auto d = std::make_unique<TPreferences>(
        f.context, f.links,
        [&] {
            PreferencesHooks h = f.Hooks();
            h.retranslateMain = [&] {
                f.events.push_back(
                    {f.links.IsLinked(".gif") ? "linked" : "not linked", f.context.prefs});
                f.events.push_back({f.context.language.Translate("Err"), f.context.prefs});
            };
            return h;
        }(),
        nullptr, f.formats);
    PressSpace(Get<QListWidget>(*d, "ExtensBox"), 1);
    Get<QListWidget>(*d, "LangList")->setCurrentRow(1);
    f.events.clear();
    d->accept();
    EXPECT_EQ(f.EventNames(), (QStringList{"linked", "Error", "option bar"}));
}

TEST(PreferencesDialog, UnchangedLanguageOrLevelRebuildsNothing) {
    Fixture f;
    f.context.prefs.Language = "Deutsch";
    auto d = f.Open();
    d->accept();
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(f.context.language.Loaded()); // the same language is not loaded again

    Fixture g;
    auto e = g.Open();
    e->findChild<QRadioButton*>("Expert")->click();
    e->accept();
    EXPECT_EQ(g.EventNames(), QStringList{"option bar"});
    EXPECT_EQ(g.events[0].prefs.Level, 1);
    EXPECT_FALSE(QFile::exists(g.SettingsPath()));
}

TEST(PreferencesDialog, UnreadableLanguageIsReportedAndKept) {
    Fixture f;
    f.context.prefs.Language = "English";
    auto d = f.Open();
    Get<QListWidget>(*d, "LangList")->setCurrentRow(0);
    ASSERT_TRUE(QFile::remove(QDir(f.program.path()).filePath("deutsch.lng")));
    d->accept();
    EXPECT_EQ(f.messages, QStringList{"CantFindLngFile/Err/48"});
    EXPECT_EQ(f.context.prefs.Language, "English");
    EXPECT_TRUE(f.events.empty());
    EXPECT_FALSE(QFile::exists(f.SettingsPath()));
}

TEST(PreferencesDialog, EnterIsOkAndEscapeIsCancel) {
    for (const bool enter : {true, false}) {
        Fixture f;
        auto d = f.Open();
        d->show();
        Get<QCheckBox>(*d, "BackupFiles")->click();
        Get<QPushButton>(*d, "CancelBtn")->setFocus();
        QKeyEvent key(QEvent::KeyPress, enter ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d.get(), &key);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->result(), enter ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(f.context.prefs.BackupFiles, enter);
    }
}

TEST(PreferencesDialog, TranslatedThroughItsSection) {
    Fixture f;
    WriteLanguage(f.program.path(), "test.lng",
                  "[Messages]\r\nErr=x\r\n[Preferences]\r\nCaption=Einstellungen\r\n"
                  "Clipping.Caption=&Begrenzen\r\nGeneral.Caption=Allgemein\r\n"
                  "PalEntries.Items=acht|zwoelf|sechzehn|vierundzwanzig|zweiunddreissig|\r\n"
                  "Level.Items=Anfaenger|Profi\r\nOkBtn.Caption=&Gut\r\n[Other]\r\n"
                  "BackupFiles.Caption=not this section\r\n");
    ASSERT_EQ(f.context.language.Load(f.program.path(), "test"), std::nullopt);
    f.context.prefs.Palette = 2;
    auto d = f.Open();
    EXPECT_EQ(d->windowTitle(), "Einstellungen");
    EXPECT_EQ(Get<QCheckBox>(*d, "Clipping")->text(), "&Begrenzen");
    EXPECT_EQ(Get<QCheckBox>(*d, "BackupFiles")->text(), "Keep &backup files");
    EXPECT_EQ(Get<QTabBar>(*d, "PageControl")->tabText(2), "Allgemein");
    QComboBox* pal = Get<QComboBox>(*d, "PalEntries");
    ASSERT_EQ(pal->count(), 5);
    EXPECT_EQ(pal->itemText(3), "vierundzwanzig");
    EXPECT_EQ(pal->currentIndex(), 2); // the setting, not the translator's first entry
    EXPECT_EQ(d->findChild<QRadioButton*>("Novice")->text(), "Anfaenger");
    EXPECT_EQ(d->findChild<QRadioButton*>("Expert")->text(), "Profi");
    EXPECT_EQ(Get<QPushButton>(*d, "OkBtn")->text(), "&Gut");
    EXPECT_TRUE(f.events.empty());
}
