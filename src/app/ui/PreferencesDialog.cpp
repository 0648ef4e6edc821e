#include "app/ui/PreferencesDialog.h"

#include "ui/BusyCursor.h"
#include "ui/DialogButtons.h"

#include "app/AppContext.h"
#include "app/FileLinks.h"
#include "app/MessageBox.h"
#include "lang/WindowTranslator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum { kExtens, kLanguage, kGeneral };

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Runs a preview with the setting at the value shown, then puts the setting back.
template <typename T> void WithSetting(T& setting, T shown, const std::function<void()>& preview) {
    if (!preview) return;
    const T saved = setting;
    setting = shown;
    preview();
    setting = saved;
}

} // namespace

TPreferences::TPreferences(AppContext& context, FileLinks& links, PreferencesHooks hooks,
                           QWidget* parent, std::vector<GFXFormat> formats)
    : QDialog(parent), context_(context), links_(links), hooks_(std::move(hooks)),
      formats_(std::move(formats)) {
    setObjectName(QStringLiteral("Preferences"));
    setWindowTitle(tr("Preferences"));

    auto* layout = new QVBoxLayout(this);
    tabs_ = Named(new QTabBar(this), "PageControl");
    layout->addWidget(tabs_);
    auto* area = new QGridLayout;
    area->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(area, 1);

    for (const auto& [name, caption] :
         {std::pair{"Extens", tr("File Types")}, std::pair{"Language", tr("Language")},
          std::pair{"General", tr("General")}}) {
        const Page& page = AddPage(name, caption);
        area->addWidget(page.frame, 0, 0);
        area->addLayout(page.layout, 0, 0);
    }
    BuildExtensPage();
    BuildLanguagePage();
    BuildGeneralPage();

    // Enter means OK whichever button has the focus.
    layout->addLayout(OkCancelButtons(this, tr("OK"), QString(), tr("Cancel"), QString()));

    connect(tabs_, &QTabBar::currentChanged, this, &TPreferences::ShowPage);
    ShowPage(kExtens);

    // Translate first: a translated combo box starts at its first entry, the values come after.
    TranslateWindow(context_.language, QStringLiteral("[Preferences]"), {this});
    LoadValues();

    Preferences& prefs = context_.prefs;
    connect(extensBox_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { ExtensBoxClickCheck(extensBox_->row(item)); });
    connect(findChild<QCheckBox*>("AntiAliasCB"), &QCheckBox::toggled, this,
            [this, &prefs](bool on) { WithSetting(prefs.AntiAlias, on, hooks_.renderTextBrush); });
    connect(findChild<QCheckBox*>("Clipping"), &QCheckBox::toggled, this,
            [this, &prefs](bool on) { WithSetting(prefs.Clipping, on, hooks_.refreshClipping); });
    connect(palEntries_, &QComboBox::currentIndexChanged, this, [this, &prefs](int index) {
        if (index >= 0) WithSetting(prefs.Palette, index, hooks_.buildPalette);
    });
    connect(findChild<QSpinBox*>("FileListLength"), &QSpinBox::valueChanged, this, [this](int n) {
        if (hooks_.setRecentListLength) hooks_.setRecentListLength(n);
    });
}

TPreferences::~TPreferences() = default;

// A page is a frame with its controls laid over it; all of them are the dialog's children.
const TPreferences::Page& TPreferences::AddPage(const char* name, const QString& caption) {
    auto* frame = Named(new QFrame(this), name);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame->setWindowTitle(caption);
    frame->installEventFilter(this);
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(12, 12, 12, 12);
    tabs_->addTab(caption);
    pages_.push_back({frame, layout, {}});
    return pages_.back();
}

void TPreferences::ShowPage(int index) {
    if (index < 0 || index >= int(pages_.size())) return;
    if (tabs_->currentIndex() != index) tabs_->setCurrentIndex(index);
    for (int i = 0; i < int(pages_.size()); ++i) {
        pages_[i].frame->setVisible(i == index);
        for (QWidget* w : pages_[i].controls) w->setVisible(i == index);
    }
}

namespace {

// Hidden pages keep their room, so switching pages does not resize the dialog.
void Keep(QList<QWidget*>& controls, QWidget* w) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    controls.push_back(w);
}

} // namespace

void TPreferences::BuildExtensPage() {
    Page& page = pages_[kExtens];
    QVBoxLayout* l = page.layout;
    auto* label =
        Named(new QLabel(tr("Open these file types with Orvel Paint:"), this), "ExtensLabel");
    extensBox_ = Named(new QListWidget(this), "ExtensBox");
    for (const GFXFormat& f : formats_) {
        auto* item = new QListWidgetItem(f.description, extensBox_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsUserTristate);
        item->setToolTip(f.extensions);
    }
    l->addWidget(label);
    l->addWidget(extensBox_, 1);
    Keep(page.controls, label);
    Keep(page.controls, extensBox_);
}

void TPreferences::BuildLanguagePage() {
    Page& page = pages_[kLanguage];
    QVBoxLayout* l = page.layout;
    auto* label = Named(new QLabel(tr("Language of menus and messages:"), this), "LangLabel");
    langList_ = Named(new QListWidget(this), "LangList");
    langList_->addItems(Language::List(context_.programFolder));
    l->addWidget(label);
    l->addWidget(langList_, 1);
    Keep(page.controls, label);
    Keep(page.controls, langList_);
}

void TPreferences::BuildGeneralPage() {
    Page& page = pages_[kGeneral];
    QVBoxLayout* l = page.layout;
    const std::pair<const char*, QString> boxes[] = {
        {"Clipping", tr("&Limit drawing to the visible part of the image")},
        {"OptimBrush", tr("&Optimize the brush after brush operations")},
        {"AntiAliasCB", tr("&Anti-aliasing")},
        {"BackupFiles", tr("Keep &backup files")},
        {"CacheThumbs", tr("&Cache browser thumbnails")},
    };
    for (const auto& [name, caption] : boxes) {
        auto* box = Named(new QCheckBox(caption, this), name);
        l->addWidget(box);
        Keep(page.controls, box);
    }

    // A radio group: its "items" property holds the captions of the buttons, as a language file
    // gives them ("Level.Items=...").
    level_ = Named(new QGroupBox(tr("User level"), this), "Level");
    auto* levelLayout = new QVBoxLayout(level_);
    const char* levelNames[2] = {"Novice", "Expert"};
    const QStringList levelCaptions = {tr("&Novice"), tr("&Expert")};
    for (int i = 0; i < 2; ++i) {
        levelButtons_[i] = Named(new QRadioButton(levelCaptions[i], level_), levelNames[i]);
        levelLayout->addWidget(levelButtons_[i]);
    }
    level_->setProperty("items", levelCaptions);
    level_->installEventFilter(this);
    l->addWidget(level_);
    Keep(page.controls, level_);

    auto* grid = new QGridLayout;
    auto* palLabel = Named(new QLabel(tr("&Palette entries:"), this), "PalEntriesLabel");
    palEntries_ = Named(new QComboBox(this), "PalEntries");
    QStringList sizes;
    for (int cells : Preferences::PaletteSizes) sizes << QString::number(cells);
    palEntries_->addItems(sizes);
    palEntries_->setProperty("items", sizes);
    palEntries_->installEventFilter(this);
    palLabel->setBuddy(palEntries_);
    auto* lenLabel =
        Named(new QLabel(tr("&Recent files list length:"), this), "FileListLengthLabel");
    auto* length = Named(new QSpinBox(this), "FileListLength");
    length->setRange(0, 16);
    lenLabel->setBuddy(length);
    grid->addWidget(palLabel, 0, 0);
    grid->addWidget(palEntries_, 0, 1);
    grid->addWidget(lenLabel, 1, 0);
    grid->addWidget(length, 1, 1);
    grid->setColumnStretch(2, 1);
    l->addLayout(grid);
    l->addStretch(1);
    for (QWidget* w : {static_cast<QWidget*>(palLabel), static_cast<QWidget*>(palEntries_),
                       static_cast<QWidget*>(lenLabel), static_cast<QWidget*>(length)})
        Keep(page.controls, w);
}

void TPreferences::LoadValues() {
    const Preferences& prefs = context_.prefs;
    for (size_t i = 0; i < formats_.size(); ++i) {
        Qt::CheckState state = Qt::Unchecked;
        switch (links_.StateOf(formats_[i].extensions)) {
        case FileLinks::State::None:
            state = Qt::Unchecked;
            break;
        case FileLinks::State::All:
            state = Qt::Checked;
            break;
        case FileLinks::State::Some:
            state = Qt::PartiallyChecked;
            break;
        }
        extensBox_->item(int(i))->setCheckState(state);
        initialStates_.push_back(state);
        startedMixed_.push_back(state == Qt::PartiallyChecked);
    }

    for (int row = 0; row < langList_->count(); ++row)
        if (!prefs.Language.isEmpty() &&
            langList_->item(row)->text().compare(prefs.Language, Qt::CaseInsensitive) == 0) {
            langList_->setCurrentRow(row);
            break;
        }

    findChild<QCheckBox*>("Clipping")->setChecked(prefs.Clipping);
    findChild<QCheckBox*>("OptimBrush")->setChecked(prefs.OptimBrush);
    findChild<QCheckBox*>("AntiAliasCB")->setChecked(prefs.AntiAlias);
    findChild<QCheckBox*>("BackupFiles")->setChecked(prefs.BackupFiles);
    findChild<QCheckBox*>("CacheThumbs")->setChecked(prefs.CacheThumbs);
    levelButtons_[prefs.Level == 1 ? 1 : 0]->setChecked(true);
    palEntries_->setCurrentIndex(std::clamp(prefs.Palette, 0, palEntries_->count() - 1));
    findChild<QSpinBox*>("FileListLength")->setValue(prefs.MRUFiles);
}

// A click never makes a box greyed unless the format started out partly linked.
void TPreferences::ExtensBoxClickCheck(int row) {
    if (row < 0 || row >= int(startedMixed_.size())) return;
    QListWidgetItem* item = extensBox_->item(row);
    if (item->checkState() == Qt::PartiallyChecked && !startedMixed_[size_t(row)])
        item->setCheckState(Qt::Checked);
}

void TPreferences::done(int result) {
    if (result == QDialog::Accepted)
        Apply();
    else
        Restore();
    QDialog::done(result);
}

void TPreferences::Apply() {
    BusyCursor busy;
    Preferences& prefs = context_.prefs;

    for (size_t i = 0; i < formats_.size(); ++i) {
        const Qt::CheckState now = extensBox_->item(int(i))->checkState();
        if (now == initialStates_[i]) continue;
        if (now == Qt::Checked)
            links_.LinkAll(formats_[i].extensions);
        else if (now == Qt::Unchecked)
            links_.UnlinkAll(formats_[i].extensions);
    }

    bool languageChanged = false;
    QListWidgetItem* chosen = langList_->currentItem();
    if (chosen && chosen->isSelected()) {
        const QString name = chosen->text();
        if (!Language::FileReadable(context_.programFolder, name)) {
            MessageByKey(this, context_.language, QStringLiteral("CantFindLngFile"),
                         QStringLiteral("Err"), kStyleOkWarning);
        } else if (name.compare(prefs.Language, Qt::CaseInsensitive) != 0) {
            prefs.Language = name;
            if (const auto failure = context_.language.Load(context_.programFolder, name))
                MessageByKey(this, context_.language, failure->textKey, failure->titleKey,
                             kStyleOkWarning);
            if (hooks_.retranslateMain) hooks_.retranslateMain();
            const std::unique_ptr<QSettings> settings =
                hooks_.openSettings ? hooks_.openSettings()
                                    : std::unique_ptr<QSettings>(OpenUserSettings());
            if (settings) Preferences::SaveLanguage(*settings, name);
            languageChanged = true;
        }
    }

    const int level = levelButtons_[1]->isChecked() ? 1 : 0;
    if (level != prefs.Level || languageChanged) {
        prefs.Level = level;
        if (hooks_.rebuildOptionBar) hooks_.rebuildOptionBar();
    }

    prefs.Clipping = findChild<QCheckBox*>("Clipping")->isChecked();
    prefs.OptimBrush = findChild<QCheckBox*>("OptimBrush")->isChecked();
    prefs.AntiAlias = findChild<QCheckBox*>("AntiAliasCB")->isChecked();
    prefs.BackupFiles = findChild<QCheckBox*>("BackupFiles")->isChecked();
    prefs.CacheThumbs = findChild<QCheckBox*>("CacheThumbs")->isChecked();
    if (palEntries_->currentIndex() >= 0) prefs.Palette = palEntries_->currentIndex();
    prefs.MRUFiles = findChild<QSpinBox*>("FileListLength")->value();
}

// The previews changed the text brush, the palette, the recent-files list and the work buffer;
// bring them back in line with the settings, which never changed.
void TPreferences::Restore() {
    const Preferences& prefs = context_.prefs;
    if (hooks_.renderTextBrush) hooks_.renderTextBrush();
    if (hooks_.buildPalette) hooks_.buildPalette();
    if (hooks_.setRecentListLength &&
        findChild<QSpinBox*>("FileListLength")->value() != prefs.MRUFiles)
        hooks_.setRecentListLength(prefs.MRUFiles);
    if (hooks_.refreshClipping && findChild<QCheckBox*>("Clipping")->isChecked() != prefs.Clipping)
        hooks_.refreshClipping();
}

bool TPreferences::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) {
        for (int i = 0; i < int(pages_.size()); ++i)
            if (pages_[i].frame == watched) tabs_->setTabText(i, pages_[i].frame->windowTitle());
    } else if (event->type() == QEvent::DynamicPropertyChange &&
               static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == "items") {
        const QStringList items = watched->property("items").toStringList();
        if (watched == palEntries_) {
            const QSignalBlocker quiet(palEntries_);
            palEntries_->clear();
            palEntries_->addItems(items);
        } else if (watched == level_) {
            for (int i = 0; i < 2 && i < items.size(); ++i) levelButtons_[i]->setText(items[i]);
        }
    }
    return QDialog::eventFilter(watched, event);
}
