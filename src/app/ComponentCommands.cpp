#include "app/ComponentCommands.h"
#include "filters/CompScanCache.h"

#include "app/AppContext.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/ProgressDisplay.h"
#include "app/ToolShell.h"
#include "color/ui/ColorSel.h"
#include "filters/ui/CompForm.h"
#include "tools/ProgramState.h"

#include <QAction>
#include <QApplication>
#include <QColorSpace>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>

namespace {

// Menus longer than the screen scroll: Qt menus cannot break into columns.
class ScrollingMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_Menu_Scrollable) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// A PNG icon read by the built-in reader alone: letting Qt guess the format first loads every
// image format plugin, at start-up. Other formats are still read as before.
QImage ReadIcon(const QString& path) {
    QImage icon;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        QImageReader reader(path, "png");
        reader.setAutoDetectImageFormat(false);
        icon = reader.read();
    }
    return icon.isNull() ? QImage(path) : icon;
}

// An icon kept in the scan cache: width, height, its pixels in ARGB32 (a lossless form of what
// any icon file gives), then its colour space's profile, so a later start decodes no picture
// file.
QByteArray PackIcon(const QImage& icon) {
    const QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    const qint32 size[2] = {argb.width(), argb.height()};
    out.append(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < argb.height(); ++y)
        out.append(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4);
    return out + icon.colorSpace().iccProfile();
}

QImage UnpackIcon(const QByteArray& bytes) {
    qint32 size[2] = {};
    if (bytes.size() < qsizetype(sizeof size)) return {};
    std::memcpy(size, bytes.constData(), sizeof size);
    if (size[0] <= 0 || size[1] <= 0 || size[0] > 4096 || size[1] > 4096) return {};
    const qsizetype pixels = qsizetype(size[0]) * size[1] * 4;
    if (bytes.size() < qsizetype(sizeof size) + pixels) return {};
    QImage icon(size[0], size[1], QImage::Format_ARGB32);
    if (icon.isNull()) return {};
    for (int y = 0; y < size[1]; ++y)
        std::memcpy(icon.scanLine(y), bytes.constData() + sizeof size + qsizetype(y) * size[0] * 4,
                    size_t(size[0]) * 4);
    if (const QByteArray icc = bytes.mid(qsizetype(sizeof size) + pixels); !icc.isEmpty()) {
        const QColorSpace space = QColorSpace::fromIccProfile(icc);
        if (!space.isValid()) return {};
        icon.setColorSpace(space);
    }
    return icon;
}

QImage CachedIcon(comp::ScanCache& cache, const QString& path) {
    if (const std::optional<QByteArray> kept = cache.Find(path))
        if (QImage icon = UnpackIcon(*kept); !icon.isNull()) return icon;
    QImage icon = ReadIcon(path);
    if (!icon.isNull()) cache.Put(path, PackIcon(icon));
    return icon;
}

void MakeScrollable(QMenu& menu) {
    auto* style = new ScrollingMenuStyle;
    style->setParent(&menu);
    menu.setStyle(style);
}

} // namespace

// What a running component needs of the program: the current picture and its undo copy, the
// progress display, the view, the messages.
class ComponentCommands::Host : public comp::SessionHost {
public:
    Host(ComponentCommands& owner) : owner_(owner) {}

    ProgramState& State() { return owner_.tools_->Engine().state; }
    ImageDoc& Doc() { return State().docs.CurrentDoc(); }

    Buffer& Picture() override { return Doc().image; }
    Buffer& UndoPicture() override {
        State().docs.DetachUndo();
        return State().docs.UndoDoc().image;
    }
    bool TakeUndoCopy() override { return State().docs.TakeUndoSnapshot(Doc()); }
    void ExchangeWithUndo() override {
        State().docs.ExchangeWithUndo(Doc());
        State().docs.UpdateFileLabel();
        owner_.form_.ShowBuf()->update();
    }
    Rect DrawingArea() override { return owner_.tools_->Engine().WorkBuffer().Bounds(); }
    void CountChange() override {
        Doc().AddChange();
        State().docs.UpdateFileLabel();
    }
    void ProgressStart() override {
        // Nothing but the dialog's Stop may act while the component runs.
        owner_.form_.ScrollBox()->setEnabled(false);
        owner_.form_.menuBar()->setEnabled(false);
        if (owner_.progress_) owner_.progress_->Start();
    }
    void ProgressStep(int percent) override {
        if (owner_.progress_) owner_.progress_->Step(percent);
    }
    void ProgressStop() override {
        if (owner_.progress_) owner_.progress_->Stop();
        owner_.form_.ScrollBox()->setEnabled(true);
        owner_.LockMenus();
    }
    void ProcessEvents() override { QCoreApplication::processEvents(); }
    void SetBusyCursor(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    void Repaint(Rect rect) override {
        if (rect.Empty())
            owner_.form_.ShowBuf()->update();
        else
            owner_.tools_->Engine().Invalidate(rect);
    }
    bool ReallocatePicture(Pair size) override {
        if (size.x < 1 || size.y < 1 || !Doc().image.Alloc(size)) return false;
        if (State().docs.hooks.showCurrent) State().docs.hooks.showCurrent(true);
        return true;
    }
    void ShowError(const QString& text) override {
        MessageByText(QApplication::activeWindow(), text,
                      owner_.context_.Translate(QStringLiteral("Err")), kStyleOkWarning);
    }
    void Message(const QString& key) override {
        MessageByKey(QApplication::activeWindow(), owner_.context_.language, key,
                     QStringLiteral("Err"), kStyleOkWarning);
    }
    uint32_t Foreground() override { return State().drawCol; }
    uint32_t Background() override { return State().backCol; }
    std::array<comp::ImageSlot, comp::MaxParams> Images() override {
        std::array<comp::ImageSlot, comp::MaxParams> list;
        for (int i = 0; i < comp::MaxParams; ++i) {
            const Buffer& b = State().docs.Slot(i).image;
            list[size_t(i)].picture = b.Empty() ? nullptr : &b;
        }
        return list;
    }
    int CurrentSlot() override { return State().docs.CurrentIndex() + 1; }
    bool ToolCurrent() override {
        // A drawing mode left for another tool keeps its strokes; an image-wide component left
        // by any route gives the picture back unless Ok kept it.
        if (owner_.active_ < 0) return false;
        if (!owner_.brush_) return true;
        return !owner_.ending_ &&
               owner_.tools_->Engine().CurrentTool() == owner_.ToolOf(owner_.active_, true);
    }
    void EndTool() override { owner_.EndTool(); }
    int UserLevel() override { return owner_.context_.prefs.Level; }

private:
    ComponentCommands& owner_;
};

ComponentCommands::ComponentCommands(TMainForm& form, AppContext& context)
    : form_(form), context_(context) {
    compsFolder = QDir(context_.programFolder).filePath(QStringLiteral("Comps"));
    scanCache = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                    .filePath(QStringLiteral("components.cache"));
    toolHooks_.started = [this](int index, bool brush) { Started(index, brush); };
    toolHooks_.ended = [this](int index) { Ended(index); };
    toolHooks_.click = [this](Pair at, Pair size, bool right) {
        if (session_ && !session_->Running()) session_->Click(at, size, right, false);
    };
    toolHooks_.stamp = [this](const Buffer& brush, Pair at) {
        if (session_ && brush_) session_->Stamp(brush, at);
    };
    toolHooks_.coloursChanged = [this] {
        if (session_ && dialog_ && !session_->Running() && dialog_->InstantPreviewShown())
            session_->InstantPreviewToggled(true);
    };
    host_ = std::make_unique<Host>(*this);
}

ComponentCommands::~ComponentCommands() {
    LanguageLoaded(); // a scan still waiting for the language ends before ahead_ is dropped
    if (session_) session_->End();
    session_.reset();
    delete dialog_;
}

comp::ScanOptions ComponentCommands::Options() const {
    comp::ScanOptions options;
    if (context_.log.On()) options.log = [this](const QString& line) { context_.WriteLog(line); };
    options.translate = comp::Translator(context_.language);
    if (QMenu* image = form_.Menu(QStringLiteral("Image1"))) {
        int entries = 0;
        for (QAction* a : image->actions()) entries += a->isSeparator() ? 0 : 1;
        options.topMenuEntries = entries;
    }
    return options;
}

ComponentCommands::Found ComponentCommands::Read(const QString& folder, comp::ScanOptions options,
                                                 const QString& cacheFile) {
    comp::ScanCache cache(cacheFile);
    options.cache = &cache;
    Found found;
    found.table = comp::Scan(folder, options);
    for (const comp::Component& c : found.table.components)
        found.icons.push_back(c.iconPath.isEmpty() ? QImage() : CachedIcon(cache, c.iconPath));
    cache.Save(); // a cache that cannot be written only costs the next start its speed
    return found;
}

void ComponentCommands::ScanAhead() {
    // With the log on, the scan writes its lines in their place, so it runs in Scan.
    if (context_.log.On() || ahead_.valid()) return;
    comp::ScanOptions options = Options();
    options.translate = [loaded = languageLoaded_.get_future().share(),
                         translate = std::move(options.translate)](const QString& name) {
        loaded.wait();
        return translate(name);
    };
    ahead_ =
        std::async(std::launch::async, &ComponentCommands::Read, compsFolder, options, scanCache);
}

void ComponentCommands::LanguageLoaded() {
    if (languageSignalled_) return;
    languageSignalled_ = true;
    languageLoaded_.set_value();
}

std::vector<PaletteComponent> ComponentCommands::Scan(ToolShell& tools, ProgressDisplay* progress) {
    tools_ = &tools;
    progress_ = progress;
    LanguageLoaded(); // what is loaded by now is the language the names get
    Found found = ahead_.valid() ? ahead_.get() : Read(compsFolder, Options(), scanCache);
    table_ = std::move(found.table);

    std::vector<PaletteComponent> palette;
    const int count = int(table_.components.size());
    imageTools_.clear();
    brushTools_.clear();
    for (int i = 0; i < count; ++i) {
        const comp::Component& c = table_.components[size_t(i)];
        imageTools_.push_back(std::make_unique<ComponentImageTool>(i, toolHooks_));
        brushTools_.emplace_back();
        const QImage& icon = found.icons[size_t(i)];
        if (icon.isNull()) continue;
        brushTools_.back() = std::make_unique<ComponentBrushTool>(i, toolHooks_);
        palette.push_back({brushTools_.back().get(), c.descriptor.name, icon});
    }
    BuildMenu();
    return palette;
}

void ComponentCommands::BuildMenu() {
    QMenu* image = form_.Menu(QStringLiteral("Image1"));
    if (!image) return;
    MakeScrollable(*image);
    entries_.assign(table_.components.size(), nullptr);
    for (const comp::MenuEntry& e : table_.menu.top) AddEntry(*image, e);
    int number = 1;
    for (const comp::MenuCategory& category : table_.menu.categories) {
        auto* sub =
            new QMenu(QLatin1Char('&') + context_.language.TranslateName(category.category), image);
        const int group = number - 1;
        sub->setObjectName(QStringLiteral("CompCategory%1").arg(number++));
        MakeScrollable(*sub);
        QAction* browse = sub->addAction(context_.Translate(QStringLiteral("Browse")));
        browse->setObjectName(sub->objectName() + QStringLiteral("Browse"));
        connect(browse, &QAction::triggered, this, [this, group] {
            if (browseCategory) browseCategory(group);
        });
        sub->addSeparator();
        for (const comp::MenuEntry& e : category.entries) AddEntry(*sub, e);
        image->addMenu(sub);
    }
}

QAction* ComponentCommands::AddEntry(QMenu& menu, const comp::MenuEntry& entry) {
    if (entry.component < 0 || entry.component >= int(table_.components.size())) return nullptr;
    if (entry.separatorBefore) menu.addSeparator();
    const comp::Component& c = table_.components[size_t(entry.component)];
    QAction* action =
        menu.addAction(QLatin1Char('&') + context_.language.TranslateName(c.descriptor.name));
    action->setObjectName(QStringLiteral("Comp%1").arg(entry.component + 1));
    const int index = entry.component;
    connect(action, &QAction::triggered, this, [this, index] { StartComponent(index); });
    entries_[size_t(index)] = action;
    return action;
}

TCompForm* ComponentCommands::Form() const {
    return dialog_.data();
}

QAction* ComponentCommands::MenuEntry(int index) const {
    return index >= 0 && index < int(entries_.size()) ? entries_[size_t(index)] : nullptr;
}

PaintTool* ComponentCommands::ToolOf(int index, bool brush) const {
    if (index < 0 || index >= int(imageTools_.size())) return nullptr;
    if (brush) return brushTools_[size_t(index)].get();
    return imageTools_[size_t(index)].get();
}

PaintTool* ComponentCommands::ImageTool(int index) const {
    return ToolOf(index, false);
}

PaintTool* ComponentCommands::BrushTool(int index) const {
    return ToolOf(index, true);
}

void ComponentCommands::StartComponent(int index) {
    PaintTool* tool = ToolOf(index, false);
    if (!tool || !tools_) return;
    if (session_ && session_->Running()) return;
    tools_->SyncView();
    tools_->Engine().SelectTool(tool, true, -1);
}

void ComponentCommands::Started(int index, bool brush) {
    if (session_) Ended(active_);
    comp::Component& component = table_.components[size_t(index)];
    active_ = index;
    brush_ = brush;
    endRequested_ = false;
    auto* dialog = new TCompForm(
        context_.language, brush ? TCompForm::Mode::DrawingMode : TCompForm::Mode::Tool, &form_);
    dialog_ = dialog;
    dialog->helpPage = component.helpPath;
    dialog->hooks.editColour = [this](const ColourSwatch& swatch, const QString& caption) {
        if (editColour) editColour(swatch, caption);
    };
    dialog->hooks.imageOf = [this](int slot) -> const Buffer* {
        if (slot < 1 || slot > DocumentTable::kSlotCount) return nullptr;
        DocumentTable& docs = tools_->Engine().state.docs;
        // The current picture's untouched copy, as the component's own image list has it.
        if (slot == docs.CurrentIndex() + 1 && !docs.UndoDoc().image.Empty())
            return &docs.UndoDoc().image;
        return &docs.Slot(slot - 1).image;
    };
    dialog->hooks.passKey = [this](QKeyEvent& event) {
        if (event.key() == Qt::Key_Escape) {
            if (tools_) tools_->Engine().ReturnToPreviousTool(true);
            return;
        }
        if (mainKeys) mainKeys(event);
    };
    dialog->hooks.imageArea = [this] {
        return QRect(form_.ScrollBox()->mapToGlobal(QPoint(0, 0)), form_.ScrollBox()->size());
    };
    dialog->hooks.setHelp = [this](const QString& page) {
        if (setHelp) setHelp(page);
    };
    dialog->hooks.showHelp = [this, page = component.helpPath] {
        HelpWindow* help = form_.Help();
        help->SetContentsPage(page);
        if (page.isEmpty())
            help->ShowContext(TCompForm::HelpContext);
        else
            help->ShowContents();
        help->Present();
    };
    LockMenus();
    session_ = std::make_unique<comp::Session>(component, *host_, *dialog, &context_.language);
    dialog->Attach(session_.get());
    const comp::Session::Started result =
        session_->Start(brush ? comp::Session::Mode::Brush : comp::Session::Mode::Tool);
    if (result == comp::Session::Started::Failed ||
        (result == comp::Session::Started::Finished && !brush))
        EndTool();
}

void ComponentCommands::LockMenus() {
    // An image-wide component owns the picture and its undo copy until it ends: the menus'
    // commands (another filter, a file opened into the picture) would pull them from under it.
    // The palette stays, as picking a tool ends the component first.
    form_.menuBar()->setEnabled(active_ < 0 || brush_);
}

void ComponentCommands::EndTool() {
    endRequested_ = true;
    // Later, never from inside the session's own call.
    QTimer::singleShot(0, this, [this] {
        if (active_ < 0 || !tools_) return;
        PaintTool* tool = ToolOf(active_, brush_);
        if (tools_->Engine().CurrentTool() == tool)
            tools_->Engine().ReturnToPreviousTool(true);
        else
            Ended(active_);
    });
}

void ComponentCommands::Ended(int index) {
    if (!session_ || index != active_) return;
    if (session_->Running()) {
        // The component's code is on the stack below this: stop it, end once it returned.
        session_->Stop();
        QTimer::singleShot(0, this, [this, index] { Ended(index); });
        return;
    }
    ending_ = true;
    session_->End();
    ending_ = false;
    if (dialog_) {
        dialog_->Attach(nullptr);
        dialog_->hide();
        dialog_->deleteLater();
    }
    // The session may be the caller (a message from the component): it goes once that returned.
    auto* old = session_.release();
    QTimer::singleShot(0, this, [old] { delete old; });
    dialog_ = nullptr;
    active_ = -1;
    endRequested_ = false;
    LockMenus();
    if (setHelp) setHelp({});
}
