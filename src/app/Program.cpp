#include "app/Program.h"

#include "app/AboutPanel.h"
#include "app/BrowseCommands.h"
#include "app/BrushMenuCommands.h"
#include "app/ColourCommands.h"
#include "app/ComponentCommands.h"
#include "app/FileCommands.h"
#include "app/FilterCommands.h"
#include "app/HelpKey.h"
#include "app/HelpWindow.h"
#include "app/KeyRouting.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/ProgressDisplay.h"
#include "app/ToolShell.h"
#include "app/TransferCommands.h"
#include "app/TransformCommands.h"
#include "app/ViewController.h"
#include "app/WindowCommands.h"
#include "color/ui/ColorSel.h"
#include "color/ui/PalettePanel.h"
#include "files/ImageFiles.h"
#include "lang/WindowTranslator.h"
#include "raster/GFXFile.h"
#include "raster/RasterError.h"
#include "tools/ToolIcons.h"
#include "ui/BackingStorePages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplashScreen>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {
// AfterFirstFrame runs at the latest this long after start-up finished.
constexpr int kAfterFirstFrameLatestMs = 500;

// The preferences as start-up reads them. A first run with no language chosen yet speaks English
// when it ships beside us, so that messages read as sentences rather than keys.
void ReadStartPreferences(Preferences& prefs, const QString& programFolder) {
    const std::unique_ptr<QSettings> settings(OpenUserSettings());
    prefs.Load(*settings);
    settings->beginGroup(QStringLiteral("TPreferences"));
    const bool chosen = settings->contains(QStringLiteral("Language"));
    settings->endGroup();
    if (!chosen && Language::FileReadable(programFolder, QStringLiteral("English")))
        prefs.Language = QStringLiteral("English");
}

} // namespace

Program::Program(QStringList args, QString programFolder) : args_(std::move(args)) {
    context_.programFolder = std::move(programFolder);
}

Program::~Program() {
    UnregisterProgressDisplay();
    GFXFile::SetProgFunc({}, {}, {});
}

bool Program::DisplayDeepEnough() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->depth() > 14) return true;
    QMessageBox::warning(nullptr, QStringLiteral("Orvel Paint"),
                         QStringLiteral("First switch to HiColor or True Color display mode"));
    return false;
}

void Program::Start() {
    if (!args_.isEmpty() &&
        (args_.first() == QLatin1String("-l") || args_.first() == QLatin1String("-L")))
        context_.log.Start(context_.programFolder);
    // While the window is built and shown, the palette's icons are painted and the language file
    // is expanded; InitProgram loads it when the preferences it reads then still name it.
    languageAhead_ = std::async(
        std::launch::async, [prefs = context_.prefs, folder = context_.programFolder]() mutable {
            ReadStartPreferences(prefs, folder);
            return prefs.Language.isEmpty() ? Language::Expanded()
                                            : Language::Expanded::Make(folder, prefs.Language);
        });
    iconsAhead_ = std::async(std::launch::async, PaintToolIcons);
    QApplication::setApplicationDisplayName(QStringLiteral("Orvel Paint"));
    FormCreate();
    // The tool icon panel, the colour selector, the open dialog, the component dialog and the
    // browser window are created here, in that order, as they land. A component's dialog is
    // built anew from its descriptor each time it starts; what is made here is its keeper.
    components_ = std::make_unique<ComponentCommands>(*form_, context_);
    context_.WriteLog(QStringLiteral("CompForm created."));
    // The components are read beside the rest of start-up, until their palette group is due.
    components_->ScanAhead();

    context_.WriteLog(QStringLiteral("Toolbar initialization started."));
    {
        std::unique_ptr<QSettings> settings(OpenUserSettings());
        form_->LoadPlacement(*settings);
        form_->LoadToolbars(*settings); // also hides the option bar and the grid bar
    }
    context_.WriteLog(QStringLiteral("Toolbar initialization finished."));
    form_->installEventFilter(this);
    form_->show();
    if (form_->windowHandle()) form_->windowHandle()->installEventFilter(this);
}

void Program::FormCreate() {
    form_ = std::make_unique<TMainForm>(context_);
    host_ = std::make_unique<ShellHost>(*form_, context_.language);
    state_ = std::make_unique<ProgramState>(*host_, *host_, *host_);
    view_ = std::make_unique<ViewController>(*form_, context_,
                                             [this] { return &state_->docs.CurrentDoc().image; });
    WireDocuments();
    qApp->installEventFilter(this); // the main window sees every key first
    // Installed later, so it sees F1 before the main window's keys do.
    qApp->installEventFilter(new HelpKey(
        form_.get(),
        [this](int context) {
            HelpWindow* help = form_->Help();
            help->ShowContext(context);
            help->Present();
        },
        form_.get()));
    context_.WriteLog(QStringLiteral("MainForm created, loading resources."));
    // The tool cursors and the browser's folder pictures are loaded here once they exist.
    context_.WriteLog(QStringLiteral("Resources loaded."));
}

bool Program::eventFilter(QObject* watched, QEvent* event) {
    if (!pagesMapped_ && form_ && watched == form_->windowHandle() &&
        event->type() == QEvent::Expose) {
        pagesMapped_ = true;
        MapBackingStorePages(*form_);
    }
    // While typing, the text's clipboard keys win over menu shortcuts such as Ctrl+X: the
    // accepted override makes the key arrive as a key press.
    if (event->type() == QEvent::ShortcutOverride && tools_ && tools_->Typing() && form_ &&
        QApplication::activeWindow() == form_.get() &&
        TextTool::IsCommand(ToolShell::KeyCode(*static_cast<QKeyEvent*>(event)))) {
        event->accept();
        return true;
    }
    // An open menu or drop-down list keeps its keys: letters choose its items there.
    // Keys aimed at another window (a tool window such as the drop shadow's) stay there, even
    // where the window system leaves the main window active.
    const auto* target = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && form_ && QApplication::activeWindow() == form_.get() &&
        (!target || target->window() == form_.get()) && !QApplication::activePopupWidget() &&
        PreviewKey(static_cast<QKeyEvent*>(event)))
        return true;
    // FormKeyUp: any key released disarms the axis lock.
    if (event->type() == QEvent::KeyRelease && tools_ &&
        QApplication::activeWindow() == form_.get() &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        tools_->Engine().KeyReleased();
    if (ready_ && !afterFirstFrame_ && event->type() == QEvent::Paint && form_ &&
        watched == form_->ShowBuf()) {
        afterFirstFrame_ = true;
        QTimer::singleShot(0, this, &Program::AfterFirstFrame);
    }
    // Start-up measurements: the first frame of the picture once interactive ends the run.
    if (quitAfterFirstPaint_ && ready_ && event->type() == QEvent::Paint && form_ &&
        watched == form_->ShowBuf()) {
        quitAfterFirstPaint_ = false;
        closed_ = true; // a measuring run leaves the settings as they were
        // When on the monotonic clock, so that the benchmark leaves the shutdown out.
        std::printf("first paint %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               std::chrono::steady_clock::now().time_since_epoch())
                                               .count()));
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    if (watched == form_.get()) {
        if (event->type() == QEvent::Show && !initialised_) {
            initialised_ = true;
            // After the window is on the screen, as the placement store's restore event is.
            QTimer::singleShot(0, this, &Program::InitProgram);
        } else if (event->type() == QEvent::Close && !closed_) {
            if (!FormClose()) {
                event->ignore(); // the user cancelled a prompt: the window stays
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

int Program::Message(const QString& textKey, const QString& titleKey, int style) {
    return MessageByKey(form_.get(), context_.language, textKey, titleKey, style);
}

void Program::InitProgram() {
    // Showing the panel costs more than the rest of a plain start, so it only covers the
    // opening of a large picture (ShowSplashWhileOpening).
    context_.WriteLog(QStringLiteral("Creating About panel."));

    context_.WriteLog(QStringLiteral("Misc initialization started."));
    form_->ProgressBar()->hide();
    progress_ = std::make_unique<ProgressDisplay>(*form_, context_.language);
    progress_->repaintView = [this] { form_->ShowBuf()->repaint(); };
    RegisterProgressDisplay(*progress_);

    // Every slot starts untitled and unchanged; the first is made black and shown.
    state_->docs.Slot(0).MakeBlank({Buffer::default_x, Buffer::default_y});
    ShowCurrent();
    context_.WriteLog(QStringLiteral("Font set and buffers initialized."));

    ReadStartPreferences(context_.prefs, context_.programFolder);
    context_.WriteLog(QStringLiteral("Registry entries loaded."));

    LoadLanguage();
    components_->LanguageLoaded();
    // The rest of start-up looks up dozens of texts.
    const Language::Held held(context_.language);
    context_.WriteLog(QStringLiteral("Language resources loaded."));

    RunCommandLine();
    if (closed_) {
        ready_ = true;
        return;
    }

    tools_ = std::make_unique<ToolShell>(*form_, context_, *state_, *view_);
    tools_->RegisterBrushCommands(form_->Commands());
    (new TransformCommands(*form_, context_, *state_, *tools_))->Register(form_->Commands());
    context_.WriteLog(QStringLiteral("Icons initialized."));
    components_->mainKeys = [this](QKeyEvent& event) { MainWindowKey(event); };
    components_->setHelp = [this](const QString& page) { form_->Help()->SetContentsPage(page); };
    components_->editColour = [this](const ColourSwatch& swatch, const QString& caption) {
        if (!colours_) return;
        selectorSwatch_ = -1;
        ColourSelector()->Open(swatch, caption, true);
    };

    files_ =
        std::make_unique<FileCommands>(*form_, context_, *state_, *view_, tools_->Engine(), *host_);
    files_->Register(form_->Commands());
    files_->SetUpdateTarget(command_.updateTarget);
    files_->customBrushTool = &tools_->Tools().dottedFreehand;
    brushMenu_ = std::make_unique<BrushMenuCommands>(*tools_, context_);
    brushMenu_->Register(form_->Commands());
    brushMenu_->rememberNewSize = [this](Pair size) { files_->SetNewImageSize(size); };
    form_->preferencesHooks.setRecentListLength = [this](int n) { files_->SetRecentLength(n); };
    filters_ = std::make_unique<FilterCommands>(*form_, context_, *state_, tools_->Engine(),
                                                progress_.get());
    filters_->Register(form_->Commands());
    browse_ =
        std::make_unique<BrowseCommands>(*form_, context_, *state_, tools_->Engine(), *files_);
    browse_->Register(form_->Commands());
    components_->browseCategory = [this](int group) {
        browse_->BrowseEffects(*components_, group);
    };
    WireColours();
    // The components' palette group (or the EMPTY placeholder), then Undo and Clear. Nothing
    // above writes to the log, so the scan's lines keep their place after "Icons initialized.".
    tools_->FinishPalette(components_->Scan(*tools_, progress_.get()));

    if (!command_.imageName.isEmpty()) {
        ShowSplashWhileOpening(command_.imageName);
        const bool ok = files_->OpenFile(command_.imageName, 1) == LoadCode::Ok;
        context_.WriteLog(ok ? QStringLiteral("Image successfully open.")
                             : QStringLiteral("Image could not be open."));
    } else {
        view_->FitZoom();
    }
    state_->docs.UpdateFileLabel();
    tools_->Start();
    context_.WriteLog(QStringLiteral("Drawing mode initialized."));

    // Select Source and Acquire are enabled once the scanner probe has found a device.
    transfer_ = std::make_unique<TransferCommands>(*form_, context_, *state_, *view_,
                                                   tools_->Engine(), *host_, *files_);
    transfer_->Register(form_->Commands());
    context_.WriteLog(QStringLiteral("Twain driver initialized."));

    // The preferences dialog lists the languages itself each time it opens.
    context_.WriteLog(QStringLiteral("Language resources searched."));

    if (splash_) {
        splash_->close();
        splash_->deleteLater();
        splash_ = nullptr;
    }
    context_.WriteLog(QStringLiteral("Initialization finished. INTERACTIVE MODE STARTED."));
    ready_ = true;
    // A window that is never painted (hidden, minimised) still gets it, a little later.
    QTimer::singleShot(kAfterFirstFrameLatestMs, this, [this] {
        if (afterFirstFrame_) return;
        afterFirstFrame_ = true;
        AfterFirstFrame();
    });
}

void Program::AfterFirstFrame() {
    if (afterFirstFrame) afterFirstFrame();
    if (closed_) return;
    if (transfer_) transfer_->UpdateImportEnabled();
}

void Program::ShowSplashWhileOpening(const QString& name) {
    constexpr qint64 kLargeFile = qint64(4) << 20;
    if (QFileInfo(name).size() < kLargeFile) return;
    splash_ = new QSplashScreen(AboutPicture());
    splash_->setObjectName(QStringLiteral("AboutPanel"));
    splash_->show();
    splash_->repaint();
}

void Program::LoadLanguage() {
    Language::Expanded ahead = languageAhead_.valid() ? languageAhead_.get() : Language::Expanded();
    if (context_.prefs.Language.isEmpty()) return;
    if (const auto failure =
            ahead.Name() == context_.prefs.Language
                ? context_.language.Load(std::move(ahead))
                : context_.language.Load(context_.programFolder, context_.prefs.Language)) {
        Message(failure->textKey, failure->titleKey, kStyleOkWarning);
        return;
    }
    const Language::Held held(context_.language);
    QList<QObject*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget()) windows.push_back(w);
    TranslateWindow(context_.language, QStringLiteral("[Translations]"), windows);
    form_->Retranslate(context_.language);
    view_->Retranslate();
}

void Program::RunCommandLine() {
    command_ =
        CommandLine::Parse(args_, [](const QString& name) { return QFileInfo(name).isFile(); });
    if (command_.invalidSwitch) {
        Message(QStringLiteral("InvSwitch"), QStringLiteral("Err"), kStyleOkWarning);
        return;
    }
    if (!command_.updateMode) return;
    form_->SetUpdateMode(true);
    state_->docs.SetUpdateMode(command_.updateTitle);
    if (!command_.imageName.isEmpty()) return; // the target exists and is loaded below
    if (!state_->docs.Slot(0).MakeBlank({command_.updateWidth, command_.updateHeight})) {
        Message(QStringLiteral("ImgBig"), QStringLiteral("Err"), kStyleOkWarning);
        closed_ = true;
        form_->close();
        return;
    }
    ShowCurrent();
}

void Program::ShowCurrent(bool reapplyZoom) {
    form_->SetImage(&state_->docs.CurrentDoc().image);
    if (reapplyZoom) view_->ApplyZoom();
}

// The keys of the main window's table that exist so far; a number or text field keeps its
// editing keys.
bool Program::PreviewKey(QKeyEvent* event) {
    // Shift over the image arms the axis lock, whatever else the key does.
    if ((event->modifiers() & Qt::ShiftModifier) && tools_ && !event->isAutoRepeat())
        tools_->Engine().ShiftPressed();
    QWidget* focus = QApplication::focusWidget();
    if (focus == form_.get()) focus = nullptr;
    if (focus &&
        KeyBelongsToControl(focus->property("tag").toInt(), event->key(), event->modifiers()))
        return false;
    const int code = ToolShell::KeyCode(*event);
    // While typing, the text takes every key first and the tool keys are letters like any other.
    if (tools_ && tools_->Typing()) {
        if (tools_->HandleTextKey(code, event->text())) return true;
    } else if (tools_ && tools_->HandleToolKey(code)) {
        return true;
    }
    if (brushMenu_ && brushMenu_->HandleKey(*event)) return true;
    switch (code) {
    case KeyMod::Ctrl + 'L': // drawing limited to the visible part, or not
        context_.prefs.Clipping = !context_.prefs.Clipping;
        return true;
    case KeyMod::Ctrl + 'T': // anti-aliased operations, or not
        context_.prefs.AntiAlias = !context_.prefs.AntiAlias;
        if (tools_) tools_->TextSettingsChanged();
        return true;
    case KeyMod::Ctrl + KeyMod::Shift + 'B':
        if (colours_) OpenColourSelector(BackSwatch);
        return true;
    case KeyMod::Ctrl + KeyMod::Shift + 'D':
        if (colours_) OpenColourSelector(DrawSwatch);
        return true;
    default:
        break;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (!focus && tools_) tools_->Engine().ReturnToPreviousTool(true);
        form_->setFocus(); // with a control focused, Esc acts as Enter
        return true;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focus) {
        form_->setFocus(); // the focus goes back to the window
        return true;
    }
    return view_->HandleViewKey(event->key(), event->modifiers());
}

void Program::MainWindowKey(QKeyEvent& event) {
    if (PreviewKey(&event)) return;
    if (!form_->menuBar()->isEnabled()) return; // a component holds the picture
    const QKeySequence typed(event.keyCombination());
    for (QAction* action : form_->findChildren<QAction*>()) {
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == typed) {
            action->trigger();
            return;
        }
    }
}

// The document table reaches the window through its hooks; the Window menu through its actions.
void Program::WireDocuments() {
    state_->docs.hooks.showCurrent = [this](bool reapplyZoom) { ShowCurrent(reapplyZoom); };
    state_->translate = [this](const QString& key) { return context_.Translate(key); };
    RegisterWindowCommands(form_->Commands(), *form_, state_->docs, this);
}

bool Program::FormClose() {
    if (!state_->docs.ConfirmClose()) return false;
    closed_ = true;
    std::unique_ptr<QSettings> settings(OpenUserSettings());
    form_->SaveToolbars(*settings);
    form_->SavePlacement(*settings);
    context_.prefs.Save(*settings);
    settings->sync();
    context_.WriteLog(QStringLiteral("Registry entries saved."));
    context_.language.Unload();
    context_.WriteLog(QStringLiteral("Application closed."));
    return true;
}

void Program::WireColours() {
    colours_ = std::make_unique<ColourCommands>(*form_, context_, tools_->Engine(), *host_);
    form_->preferencesHooks.buildPalette = [this] { colours_->BuildFromPreference(); };
    colours_->openSelector = [this](int which) { OpenColourSelector(which); };
    // A language chosen in the preferences reaches the selector too (it is not a top window).
    form_->preferencesHooks.retranslateMain = [this] {
        form_->Retranslate(context_.language);
        view_->Retranslate();
        if (colorSel_) colorSel_->Retranslate(context_.language);
    };
    // An open selector follows a colour picked from the palette into its swatch.
    colours_->swatchTaken = [this](int which) {
        if (colorSel_ && colorSel_->isVisible() && which == selectorSwatch_)
            OpenColourSelector(which);
    };
    files_->coloursChanged = [this] { colours_->SyncSwatches(); };
    // Tools: Get Color sets a swatch; Write Text edits its shadow colour in the selector.
    ToolEngine::Hooks& hooks = tools_->Engine().hooks;
    hooks.coloursChanged = [this] { colours_->SyncSwatches(); };
    hooks.editColour = [this](const QString& captionKey, std::function<uint32_t()> get,
                              std::function<void(uint32_t)> set) {
        selectorSwatch_ = ToolSwatch;
        ColourSelector()->Open(ColourSwatch{std::move(get), std::move(set)},
                               context_.Translate(captionKey), false);
    };
    hooks.closeColourEditor = [this] {
        if (selectorSwatch_ == ToolSwatch && colorSel_ && colorSel_->isVisible())
            colorSel_->close();
    };
    form_->preferencesHooks.renderTextBrush = [this] { tools_->TextSettingsChanged(); };
}

TColorSel* Program::ColourSelector() {
    // Made when first opened: the first frame does not wait for it. It translates itself with the
    // language of that moment.
    if (!colorSel_) {
        colorSel_ = new TColorSel(context_.language, form_->ScrollBox(), form_.get());
        colorSel_->setObjectName(QStringLiteral("ColorSel"));
    }
    return colorSel_;
}

void Program::OpenColourSelector(int which) {
    ColourSwatch swatch;
    swatch.get = [this, which] { return which == BackSwatch ? state_->backCol : state_->drawCol; };
    swatch.set = [this, which](uint32_t colour) { colours_->SetSwatchColour(which, colour); };
    selectorSwatch_ = which;
    ColourSelector()->Open(swatch,
                           context_.Translate(which == BackSwatch ? QStringLiteral("SelBackCol")
                                                                  : QStringLiteral("SelDrawCol")),
                           false);
}

Pair Program::NewImageSize() const {
    return files_ ? files_->NewImageSize() : Pair{Buffer::default_x, Buffer::default_y};
}
