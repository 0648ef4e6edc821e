#include "app/MainForm.h"

#include "raster/Buffer.h"

#include "app/AboutPanel.h"
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/HelpWindow.h"
#include "app/MainMenu.h"
#include "app/MessageBox.h"
#include "document/ui/TBuffer.h"
#include "lang/WindowTranslator.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

TMainForm::TMainForm(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Orvel Paint"));
    setMinimumSize(486, 320);
    resize(800, 600);

    BuildMainMenu(this, menuBar());
    commands_ = std::make_unique<CommandRegistry>(*this);
    SetActionEnabled(QStringLiteral("Reopen1"), false);
    SetUpdateMode(false);

    BuildBars();
    BuildStatusBar();

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox"));
    scrollBox_->setWidgetResizable(true);
    showBuf_ = new TBuffer;
    showBuf_->setObjectName(QStringLiteral("ShowBuf"));
    scrollBox_->setWidget(showBuf_);
    setCentralWidget(scrollBox_);

    RegisterCommands(*commands_);
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildBars() {
    auto makeBar = [this](const QString& title, const char* name, Qt::ToolBarArea area) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(QString::fromLatin1(name));
        addToolBar(area, bar);
        return bar;
    };
    toolsBar_ = makeBar(tr("Tools"), "ToolBar", Qt::LeftToolBarArea);
    // Below the tools: the palette panel is tall and narrow.
    paletteBar_ = makeBar(tr("Palette"), "PaletteBar", Qt::LeftToolBarArea);
    optionBar_ = makeBar(tr("Tool Options"), "Toolbar97", Qt::BottomToolBarArea);
    optionBarLabel_ = new QLabel(optionBar_);
    optionBarLabel_->setObjectName(QStringLiteral("Toolbar97Label"));
    optionBar_->addWidget(optionBarLabel_);
    gridBar_ = makeBar(tr("Grid"), "GridBar", Qt::BottomToolBarArea);
    optionBar_->hide();
    gridBar_->hide();
}

void TMainForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        // The last panel grows with its text (the timing of long work is wider than a hint).
        if (i == kPanelCount - 1)
            panel->setMinimumWidth(kPanelWidths[i]);
        else
            panel->setFixedWidth(kPanelWidths[i]);
        if (i >= 1 && i <= 3) panel->setAlignment(Qt::AlignCenter);
        bar->addWidget(panel);
        panels_[i] = panel;
    }
    panels_[0]->setObjectName(QStringLiteral("FileLabel"));
    // The progress bar lies over the file label and follows its size.
    progressBar_ = new QProgressBar(panels_[0]);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setFormat(QStringLiteral("Processing..."));
    progressBar_->hide();
    panels_[0]->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panels_[0] && event->type() == QEvent::Resize)
        progressBar_->setGeometry(panels_[0]->rect());
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::RegisterCommands(CommandRegistry& commands) {
    commands.Register(QStringLiteral("Exit1"), this, [this] { close(); });

    QAction* toolbarVisib = commands.Register(QStringLiteral("ToolbarVisib"), this,
                                              [this](bool on) { ToolbarVisibClick(on); });
    QAction* paletteVisib = commands.Register(QStringLiteral("PaletteVisib"), this,
                                              [this](bool on) { PaletteVisibClick(on); });
    for (QAction* a : {toolbarVisib, paletteVisib}) {
        a->setCheckable(true);
        a->setChecked(true);
    }
    // A bar hidden by other means (its context menu, a floating bar's close) clears the tick.
    connect(toolsBar_, &QToolBar::visibilityChanged, toolbarVisib, &QAction::setChecked);
    connect(paletteBar_, &QToolBar::visibilityChanged, paletteVisib, &QAction::setChecked);

    commands.Register(QStringLiteral("PrefsMenu"), this, [this] { PrefsMenuClick(); });
    commands.Register(QStringLiteral("Homepage"), this, [this] { HomepageClick(); });
    commands.Register(QStringLiteral("About1"), this, [this] { About1Click(); });
    commands.Register(QStringLiteral("Contents1"), this, [this] { Contents1Click(); });
}

void TMainForm::SetImage(Buffer* image) {
    auto* view = static_cast<TBuffer*>(showBuf_);
    view->SetBuffer(image);
    view->update(); // the same buffer may have been reallocated
    const bool shown = image && !image->Empty();
    scrollBox_->setWidgetResizable(!shown);
    if (shown) view->resize(view->sizeHint());
}

QAction* TMainForm::Action(const QString& objectName) const {
    if (auto* a = findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly)) return a;
    if (QMenu* m = Menu(objectName)) return m->menuAction();
    return nullptr;
}

QMenu* TMainForm::Menu(const QString& objectName) const {
    return findChild<QMenu*>(objectName, Qt::FindDirectChildrenOnly);
}

void TMainForm::SetActionEnabled(const QString& objectName, bool enabled) {
    if (QAction* a = Action(objectName)) a->setEnabled(enabled);
}

void TMainForm::SetActionsEnabled(const QStringList& objectNames, bool enabled) {
    for (const QString& name : objectNames) SetActionEnabled(name, enabled);
}

void TMainForm::SetUpdateMode(bool on) {
    updateMode_ = on;
    Action(QStringLiteral("SavePicture"))->setVisible(!on);
    Action(QStringLiteral("SavePictureAs"))->setVisible(!on);
    Action(QStringLiteral("UpdateExit1"))->setVisible(on);
}

void TMainForm::SetPanel(int index, const QString& text) {
    if (QLabel* panel = PanelLabel(index)) panel->setText(text);
}

QString TMainForm::Panel(int index) const {
    const QLabel* panel = PanelLabel(index);
    return panel ? panel->text() : QString();
}

QLabel* TMainForm::PanelLabel(int index) const {
    return index >= 0 && index < kPanelCount ? panels_[index] : nullptr;
}

void TMainForm::SaveToolbars(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("Toolbars"));
    settings.setValue(QStringLiteral("State"), saveState());
    settings.endGroup();
}

void TMainForm::LoadToolbars(QSettings& settings) {
    settings.beginGroup(QStringLiteral("Toolbars"));
    restoreState(settings.value(QStringLiteral("State")).toByteArray());
    settings.endGroup();
    optionBar_->hide();
    gridBar_->hide();
    // A bar hidden before the window is first shown reports no visibility change.
    Action(QStringLiteral("ToolbarVisib"))->setChecked(!toolsBar_->isHidden());
    Action(QStringLiteral("PaletteVisib"))->setChecked(!paletteBar_->isHidden());
}

void TMainForm::SavePlacement(QSettings& settings) const {
    settings.beginGroup(QStringLiteral("MainForm"));
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.endGroup();
}

void TMainForm::LoadPlacement(QSettings& settings) {
    settings.beginGroup(QStringLiteral("MainForm"));
    restoreGeometry(settings.value(QStringLiteral("Geometry")).toByteArray());
    settings.endGroup();
}

void TMainForm::Retranslate(const Language& language) {
    // Only real top-level windows: the menus are windows too, and a menu in the list would have
    // its Caption taken for a window title.
    QList<QObject*> windows{this};
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && !w->parentWidget()) windows.push_back(w);
    TranslateWindow(language, QStringLiteral("[MainForm]"), windows);
}

QUrl TMainForm::HomePage() {
    return QUrl(QStringLiteral("https://orvelpaint.example/"));
}

void TMainForm::ToolbarVisibClick(bool on) {
    toolsBar_->setVisible(on);
    Action(QStringLiteral("ToolbarVisib"))->setChecked(!toolsBar_->isHidden());
}

void TMainForm::PaletteVisibClick(bool on) {
    paletteBar_->setVisible(on);
    Action(QStringLiteral("PaletteVisib"))->setChecked(!paletteBar_->isHidden());
}

void TMainForm::PrefsMenuClick() {
    if (onPreferencesOpening) onPreferencesOpening();
    PreferencesHooks hooks = preferencesHooks;
    if (!hooks.retranslateMain) hooks.retranslateMain = [this] { Retranslate(context_.language); };
    TPreferences dialog(context_, links_, std::move(hooks), this);
    dialog.adjustSize();
    const QPoint centre = scrollBox_->mapToGlobal(scrollBox_->rect().center());
    dialog.move(centre - QPoint(dialog.width() / 2, dialog.height() / 2));
    dialog.exec();
}

void TMainForm::HomepageClick() {
    if (!openUrl || !openUrl(HomePage()))
        MessageByKey(this, context_.language, QStringLiteral("CantOpenBrowser"),
                     QStringLiteral("Err"), kStyleOkWarning);
}

HelpWindow* TMainForm::Help() {
    if (!help_) {
        help_ = new HelpWindow(context_.programFolder + QStringLiteral("/help"), this);
        help_->setModal(false);
    }
    return help_;
}

void TMainForm::Contents1Click() {
    Help()->ShowContents();
    help_->Present();
}

void TMainForm::About1Click() {
    ShowAboutPanel(this);
}
