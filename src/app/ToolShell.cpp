#include "app/ToolShell.h"

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/KeyRouting.h"
#include "app/MainForm.h"
#include "app/ViewController.h"
#include "document/ui/TBuffer.h"
#include "lang/BuiltInLanguage.h"
#include "tools/BrushTools.h"
#include "tools/ToolIcons.h"
#include "tools/ui/IconPanel.h"
#include "tools/ui/OptionBar.h"
#include "tools/ui/ToolPaletteBar.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>

ToolShell::ToolShell(TMainForm& form, AppContext& context, ProgramState& state,
                     ViewController& view)
    : form_(form), context_(context), state_(state), view_(view),
      buffer_(static_cast<TBuffer*>(form.ShowBuf())),
      palette_([this](const QString& key) { return context_.Translate(key); }) {
    engine_ = std::make_unique<ToolEngine>(state, *this, &tools_.continuousFreehand);
    ToolEngine& e = *engine_;
    e.hooks.redrawView = [this] { buffer_->update(); };
    e.hooks.showInPalette = [this](PaintTool* tool, int variant) {
        palette_.ShowTool(tool, variant);
    };
    e.hooks.setPaletteButton = [this](PaintTool* tool, bool down) {
        if (tool == &engine_->gridTool) palette_.SetGridDown(down);
    };
    // F1 in the main window shows the current tool's page.
    e.hooks.setHelpContext = [this](int context) { form_.setProperty("helpContext", context); };
    e.hooks.showGridBar = [this](bool on) {
        ShowGridValues();
        form_.GridBar()->setVisible(on);
    };
    BuildGridBar();
    WireOptionBar();

    PaletteTools tools;
    tools.toolOf = toolregistry::ResolverFor({&tools_, &e});
    tools.cutAlternate = &tools_.restoreBrush;
    tools.brushAlternate = toolregistry::BrushAlternate({&tools_, &e});
    RegisterToolGroups(palette_, tools); // components and commands follow in FinishPalette
    e.hooks.activityTick = [this](PaintTool* tool) {
        if (auto* ticking = dynamic_cast<TickingTool*>(tool)) ticking->Tick(*engine_);
    };
    e.hooks.currentFill = [this]() -> PaintTool* {
        // The group that holds the Solid Fill; its current variant is the fill style in use.
        for (int g = 0; g < palette_.GroupCount(); ++g) {
            const PaletteGroup& group = palette_.Group(g);
            for (int v = group.first; v < group.first + group.count; ++v)
                if (palette_.Variant(v).tool == &tools_.solidFill)
                    return palette_.CurrentVariant(g).tool;
        }
        return nullptr;
    };
    e.hooks.clipboardText = [] { return QGuiApplication::clipboard()->text(); };
    e.hooks.setClipboardText = [](const QString& text) {
        QGuiApplication::clipboard()->setText(text);
    };
    palette_.SetSelectHandler([this](PaintTool* tool, int variant) {
        SyncView();
        engine_->SelectTool(tool, true, variant);
    });

    panel_ = new IconPanel(palette_, &form);
    // The palette bar comes with FinishPalette, once every group is known: it is built once.

    drag_.setSingleShot(true);
    connect(&drag_, &QTimer::timeout, this, [this] {
        SyncView();
        engine_->DragIsSure();
    });
    connect(&activity_, &QTimer::timeout, this, [this] {
        SyncView();
        engine_->ActivateIconFunc();
    });
    buffer_->installEventFilter(this);
    buffer_->setMouseTracking(true);
    // The overlays go over the image on every repaint of the view.
    buffer_->onPaint = [this](QPainter& painter) { PaintOverlays(painter); };
}

void ToolShell::FinishPalette(std::vector<PaletteComponent> components) {
    PaletteTools tools;
    tools.toolOf = toolregistry::ResolverFor({&tools_, engine_.get()});
    tools.components = std::move(components);
    RegisterComponentsAndCommands(palette_, tools);
    palette_.DisableGroupsWithoutTools();
    if (bar_) {
        bar_->Rebuild();
        return;
    }
    bar_ = new ToolPaletteBar(palette_, *panel_, form_.ToolsBar());
    bar_->setObjectName(QStringLiteral("ToolPalette"));
    form_.ToolsBar()->addWidget(bar_);
}

void ToolShell::RegisterBrushCommands(CommandRegistry& commands) {
    const std::pair<const char*, int> techniques[] = {{"Paint1", Technique::Paint},
                                                      {"Color1", Technique::Color},
                                                      {"Replace1", Technique::Replace}};
    for (const auto& [name, technique] : techniques) {
        commands.Register(QLatin1String(name), this, [this, t = technique] {
            SyncView();
            brushtools::ChooseTechnique(*engine_, t);
        });
    }
    commands.Register(QStringLiteral("Restore1"), this, [this] {
        SyncView();
        engine_->SelectTool(&tools_.restoreBrush, true, -1);
    });
}

void ToolShell::Start() {
    ToolEngine& e = *engine_;
    e.SetOptionBar(options_.get());
    state_.brush.SelectBuiltIn(BrushShape::Circular, 1, state_.drawCol, state_.backCol);
    brushtools::ShowTechnique(e);
    SyncView();
    e.SelectTool(&tools_.continuousFreehand, false, 0);
}

ToolShell::~ToolShell() {
    // The buttons and the pop-up refer to the palette, which goes with this object.
    delete bar_;
    delete panel_;
    buffer_->removeEventFilter(this);
    buffer_->onPaint = nullptr;
}

void ToolShell::SyncView() {
    ViewPlacement& v = state_.view;
    v.zoom = view_.State().Ratio();
    const QScrollArea* box = form_.ScrollBox();
    v.scroll = {box->horizontalScrollBar()->value(), box->verticalScrollBar()->value()};
    v.client = {box->viewport()->width(), box->viewport()->height()};
    v.clipping = context_.prefs.Clipping;
    state_.antiAlias = context_.prefs.AntiAlias;
}

void ToolShell::BuildGridBar() {
    QToolBar* bar = form_.GridBar();
    bar->addWidget(new QLabel(QStringLiteral("GRID  "), bar));
    const char* names[4] = {"GridDx", "GridDy", "GridPx", "GridPy"};
    for (int i = 0; i < 4; ++i) {
        auto* field = new QSpinBox(bar);
        field->setObjectName(QLatin1String(names[i]));
        field->setProperty("tag", ControlTag::Numeric | ControlTag::UpDown);
        field->setRange(i < 2 ? GridSettings::MinSpacing : 0,
                        i < 2 ? GridSettings::MaxSpacing : GridSettings::MaxOrigin);
        bar->addWidget(field);
        gridFields_[i] = field;
        connect(field, &QSpinBox::valueChanged, this, [this] {
            GridSettings& g = state_.grid;
            g.SetSpacing(gridFields_[0]->value(), gridFields_[1]->value());
            g.SetOrigin(gridFields_[2]->value(), gridFields_[3]->value());
        });
    }
    ShowGridValues();
    auto* brushSize = new QPushButton(tr("Br&ush Size"), bar);
    brushSize->setObjectName(QStringLiteral("BrushSizeBtn"));
    brushSize->setToolTip(tr("Set Grid to Brush Size"));
    connect(brushSize, &QPushButton::clicked, this, [this] {
        engine_->SetGridDeltaFromBrush();
        ShowGridValues();
    });
    bar->addWidget(brushSize);
    auto* origin = new QPushButton(tr("&Set Origin"), bar);
    origin->setObjectName(QStringLiteral("GridOrigBtn"));
    origin->setToolTip(tr("Set Grid Origin"));
    connect(origin, &QPushButton::clicked, this, [this] {
        SyncView();
        engine_->SetGridOrigin();
    });
    bar->addWidget(origin);
}

void ToolShell::WireOptionBar() {
    options_ = std::make_unique<OptionBar>(*form_.OptionBar(), *form_.OptionBarLabel());
    options_->definitionOf = [this](const QString& key) { return BarDefinition(key); };
    // Keys typed next go to the window's hot keys, not to a bar field.
    auto clear = [this] { form_.setFocus(); };
    options_->clearActiveControl = clear;
    options_->gridBar = form_.GridBar();
    options_->gridOn = [this] { return state_.gridOn; };
    ToolEngine::Hooks& hooks = engine_->hooks;
    hooks.clearActiveControl = clear;
    hooks.showOptionBar = [this](PaintTool* tool) {
        options_->ShowBar(tool->optionBar, context_.prefs.Level);
    };
    hooks.hideOptionBar = [this](const QString& bar, PaintTool* next) {
        options_->HideBar(bar, next ? next->optionBar : QString(), context_.prefs.Level);
    };
}

QString ToolShell::BarDefinition(const QString& key) const {
    // A language file that lacks a bar must not leave its tool without controls.
    if (context_.language.Loaded())
        if (const QString text = context_.Translate(key); text != key) return text;
    return BuiltInBarDefinition(key);
}

OptionBarHost& ToolShell::OptionBars() {
    return *options_;
}

void ToolShell::ShowGridValues() {
    const GridSettings& g = state_.grid;
    const int values[4] = {g.dx, g.dy, g.px, g.py};
    for (int i = 0; i < 4; ++i) {
        if (!gridFields_[i]) return;
        const QSignalBlocker quiet(gridFields_[i]);
        gridFields_[i]->setValue(values[i]);
    }
}

int ToolShell::KeyCode(const QKeyEvent& event) {
    int key = VirtualKey(event.key());
    // Hot keys name the key, not the character: Shift+3 arrives as '#' on a US layout.
    static const QString shiftedDigits = QStringLiteral(")!@#$%^&*(");
    if (event.modifiers() & Qt::ShiftModifier)
        if (const qsizetype d = shiftedDigits.indexOf(QChar(key)); key < 0x80 && d >= 0)
            key = '0' + int(d);
    if (key == 0) return 0;
    const Qt::KeyboardModifiers m = event.modifiers();
    return key | (m & Qt::ShiftModifier ? KeyMod::Shift : 0) |
           (m & Qt::ControlModifier ? KeyMod::Ctrl : 0) | (m & Qt::AltModifier ? KeyMod::Alt : 0);
}

bool ToolShell::Typing() const {
    return engine_->CurrentTool() == &tools_.writeText && tools_.writeText.Typing();
}

bool ToolShell::HandleTextKey(int keyCode, const QString& typed) {
    if (!Typing()) return false;
    SyncView();
    return tools_.writeText.Key(*engine_, keyCode, typed);
}

void ToolShell::TextSettingsChanged() {
    SyncView();
    if (engine_->CurrentTool() == &tools_.writeText) tools_.writeText.FontChanged(*engine_);
}

bool ToolShell::HandleToolKey(int keyCode) {
    SyncView();
    return palette_.LookupKey(keyCode, engine_->CurrentTool(), engine_->Phase() != ToolPhase::Idle);
}

bool ToolShell::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buffer_) return QObject::eventFilter(watched, event);
    auto state = [](const QMouseEvent* m) {
        ShiftState s;
        s.shift = m->modifiers() & Qt::ShiftModifier;
        s.ctrl = m->modifiers() & Qt::ControlModifier;
        s.alt = m->modifiers() & Qt::AltModifier;
        s.left = m->buttons() & Qt::LeftButton;
        s.right = m->buttons() & Qt::RightButton;
        s.middle = m->buttons() & Qt::MiddleButton;
        return s;
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(event);
        SyncView();
        engine_->ShowBufMouseDown({int(m->position().x()), int(m->position().y())}, state(m));
        break;
    }
    case QEvent::MouseButtonRelease:
        SyncView();
        engine_->ShowBufMouseUp();
        ShowGridValues();
        break;
    case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(event);
        SyncView();
        engine_->StoreMouseCoords({int(m->position().x()), int(m->position().y())}, state(m));
        break;
    }
    case QEvent::Leave:
        engine_->ClearMouseCoords();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ToolShell::InvalidateView(ViewRect r) {
    buffer_->update(QRect(QPoint(r.x1, r.y1), QPoint(r.x2 - 1, r.y2 - 1)));
}

void ToolShell::UpdateView() {
    buffer_->repaint();
}

void ToolShell::SetCursor(int cursor) {
    static const std::pair<int, const char*> names[] = {
        {ToolCursor::CrossOk, "CROSSOK"}, {ToolCursor::Fill, "FILL"},
        {ToolCursor::Wand, "WAND"},       {ToolCursor::Pipette, "PIPETTE"},
        {ToolCursor::Spray, "SPRAY"},     {ToolCursor::Airbrush, "AIRBRUSH"},
        {ToolCursor::Rotate, "ROTATE"}};
    QString name = QStringLiteral("CROSS");
    for (const auto& [id, n] : names)
        if (id == cursor) name = QLatin1String(n);
    const ToolCursorImage c = DrawToolCursor(name);
    if (c.image.isNull())
        buffer_->setCursor(Qt::CrossCursor);
    else
        buffer_->setCursor(QCursor(QPixmap::fromImage(c.image), c.hotspot.x(), c.hotspot.y()));
}

void ToolShell::MovePointer(Pair view) {
    QCursor::setPos(buffer_->mapToGlobal(QPoint(view.x, view.y)));
}

QTimer& ToolShell::TimerOf(ToolTimer timer) {
    return timer == ToolTimer::Drag ? drag_ : activity_;
}

void ToolShell::StartTimer(ToolTimer timer, int milliseconds) {
    TimerOf(timer).start(milliseconds);
}

void ToolShell::StopTimer(ToolTimer timer) {
    TimerOf(timer).stop();
}

bool ToolShell::TimerRunning(ToolTimer timer) const {
    return (timer == ToolTimer::Drag ? drag_ : activity_).isActive();
}

namespace {

// The view pixels a figure paints on: the four edges of a frame, the whole box of a marker.
QRegion FigureRegion(const ScreenOverlays::Figure& figure, ZoomRatio zoom) {
    const ViewRect v = ScreenOverlays::ViewBounds(figure, zoom);
    const QRect box(QPoint(v.x1, v.y1), QPoint(v.x2 - 1, v.y2 - 1));
    if (figure.kind == OverlayKind::Marker) return QRegion(box);
    QRegion edges;
    edges += QRect(box.left(), box.top(), box.width(), 1);
    edges += QRect(box.left(), box.bottom(), box.width(), 1);
    edges += QRect(box.left(), box.top(), 1, box.height());
    edges += QRect(box.right(), box.top(), 1, box.height());
    return edges;
}

} // namespace

void ToolShell::ToggleOverlay(OverlayKind kind, Rect r) {
    overlays_.Toggle(kind, r);
    // Shown or taken away, the same pixels need painting again.
    buffer_->update(FigureRegion({kind, r}, UnpackZoom(buffer_->Zoom())));
}

void ToolShell::PaintOverlays(QPainter& painter) {
    const ZoomRatio zoom = UnpackZoom(buffer_->Zoom());
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const ScreenOverlays::Figure& f : overlays_.Figures()) {
        const ViewRect v = ScreenOverlays::ViewBounds(f, zoom);
        if (f.kind == OverlayKind::Frame) {
            // White under black dashes shows on any picture.
            const QRect box(v.x1, v.y1, v.x2 - v.x1 - 1, v.y2 - v.y1 - 1);
            painter.setPen(QPen(Qt::white, 0));
            painter.drawRect(box);
            painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
            painter.drawRect(box);
            continue;
        }
        const QPoint a(v.x1, v.y1), b(v.x2 - 1, v.y2 - 1);
        const QPoint c(v.x1, v.y2 - 1), d(v.x2 - 1, v.y1);
        painter.setPen(QPen(Qt::black, 3));
        painter.drawLine(a, b);
        painter.drawLine(c, d);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(a, b);
        painter.drawLine(c, d);
    }
    painter.restore();
}
