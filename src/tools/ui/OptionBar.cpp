#include "tools/ui/OptionBar.h"

#include "tools/TextBlock.h"
#include "tools/ToolIcons.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxWidth = 400; // a runaway caption or item must not push the bar off screen

class ColourSwatch : public QFrame {
public:
    explicit ColourSwatch(uint32_t pixel) : pixel_(pixel & 0xFFFFFFu) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    uint32_t Pixel() const { return pixel_; }
    void SetPixel(uint32_t pixel) {
        pixel_ = pixel & 0xFFFFFFu;
        update();
    }
    std::function<void()> onPress;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(contentsRect(), QColor::fromRgb(QRgb(0xFF000000u | pixel_)));
        p.end();
        QFrame::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (onPress) onPress();
    }

private:
    uint32_t pixel_;
};

int TextWidth(const QWidget* w, const QString& text) {
    return std::min(w->fontMetrics().horizontalAdvance(text), MaxWidth);
}

int Fit(int width) {
    return std::clamp(width, 0, MaxWidth);
}

// Our art when we have it; otherwise the name's letter (FONTBOLD shows a B).
QIcon Glyph(const QString& name) {
    const QImage art = ToolIcon(name);
    if (!art.isNull()) return QIcon(QPixmap::fromImage(art));
    const QString letters = name.startsWith(QLatin1String("FONT")) ? name.mid(4) : name;
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(image.rect(), Qt::AlignCenter, letters.left(1));
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

bool Labelled(OptionKind k) {
    return k == OptionKind::Real || k == OptionKind::Integer || k == OptionKind::List ||
           k == OptionKind::Swatch;
}

} // namespace

OptionBar::OptionBar(QToolBar& bar, QLabel& caption) : bar_(&bar), caption_(&caption) {}

OptionBar::~OptionBar() = default;

void OptionBar::Clear() {
    controls_.clear();
    if (!bar_) return;
    const QList<QAction*> actions = bar_->actions();
    for (QAction* a : actions) {
        if (caption_ && bar_->widgetForAction(a) == caption_) continue;
        bar_->removeAction(a);
        a->setParent(nullptr);
        // Not at once: the handler of one of these controls may be what rebuilds the bar.
        a->deleteLater();
    }
}

void OptionBar::Build(const QString& definition, int level) {
    Build(OptionBarDef::Parse(definition), level);
}

void OptionBar::Build(const OptionBarDef& def, int level) {
    Clear();
    if (!bar_) return;
    if (caption_) caption_->setText(def.caption);
    for (const OptionEntry& e : def.entries) AddControl(e, level);
}

void OptionBar::AddControl(const OptionEntry& e, int level) {
    const bool shown = e.level <= level;
    const int tag = e.level * LevelTag;
    if (e.kind == OptionKind::Separator) {
        bar_->addSeparator()->setVisible(shown);
        return;
    }
    if (e.kind == OptionKind::Text) {
        auto* text = new QLabel(e.caption);
        text->setToolTip(e.hint);
        text->setProperty("tag", tag);
        text->setEnabled(shown);
        bar_->addWidget(text)->setVisible(shown);
        return;
    }
    const int index = int(controls_.size());
    Entry entry;
    entry.kind = e.kind;
    QWidget* w = MakeControl(e, index);
    const int kindTag = e.kind == OptionKind::List || e.kind == OptionKind::FontList  ? ListTag
                        : e.kind == OptionKind::Real || e.kind == OptionKind::Integer ? NumberTag
                                                                                      : 0;
    w->setProperty("tag", tag + kindTag);
    w->setToolTip(e.hint);
    w->setEnabled(shown);
    if (Labelled(e.kind)) {
        entry.label = new QLabel(e.caption);
        entry.label->setBuddy(w);
        entry.label->setToolTip(e.hint);
        entry.label->setProperty("tag", tag);
        entry.label->setContentsMargins(6, 0, 3, 0);
        entry.label->setEnabled(shown);
        entry.labelAction = bar_->addWidget(entry.label);
        entry.labelAction->setVisible(shown);
    }
    entry.widget = w;
    entry.action = bar_->addWidget(w);
    entry.action->setVisible(shown);
    controls_.push_back(std::move(entry));
    Connect(w, e.kind, index);
}

QWidget* OptionBar::MakeControl(const OptionEntry& e, int index) {
    switch (e.kind) {
    case OptionKind::Button: {
        auto* b = new QPushButton(e.caption);
        b->setFixedSize(Fit(TextWidth(b, e.caption) + 14), 21);
        return b;
    }
    case OptionKind::Check: {
        auto* c = new QCheckBox(e.caption);
        c->setChecked(e.value != 0);
        c->setFixedWidth(Fit(TextWidth(c, e.caption) + 20));
        return c;
    }
    case OptionKind::Real: {
        auto* f = new QDoubleSpinBox;
        f->setDecimals(e.decimals);
        f->setRange(e.minimum, e.maximum);
        f->setValue(e.value);
        f->setAlignment(Qt::AlignRight);
        const QLocale shown = f->locale();
        f->setFixedWidth(Fit(std::max(TextWidth(f, shown.toString(e.minimum, 'f', e.decimals)),
                                      TextWidth(f, shown.toString(e.maximum, 'f', e.decimals))) +
                             30));
        return f;
    }
    case OptionKind::Integer: {
        auto* f = new QSpinBox;
        f->setRange(int(e.minimum), int(e.maximum));
        f->setValue(int(e.value));
        f->setFixedWidth(Fit(std::max(TextWidth(f, QString::number(int(e.minimum))),
                                      TextWidth(f, QString::number(int(e.maximum)))) +
                             30));
        return f;
    }
    case OptionKind::List: {
        auto* l = new QComboBox;
        l->addItems(e.items);
        l->setCurrentIndex(e.items.isEmpty() ? -1 : 0);
        int widest = 0;
        for (const QString& item : e.items) widest = std::max(widest, TextWidth(l, item));
        l->setFixedWidth(Fit(widest + 30));
        return l;
    }
    case OptionKind::FontList: {
        auto* l = new QComboBox;
        l->addItems(textblock::FontNames());
        l->setCurrentIndex(0);
        l->setFixedWidth(190);
        return l;
    }
    case OptionKind::Swatch: {
        auto* s = new ColourSwatch(e.colour);
        s->setFixedSize(28, 20);
        QPointer<OptionBar> self(this);
        s->onPress = [self, s, index] {
            if (self) self->Fire(index, s, true);
        };
        return s;
    }
    case OptionKind::Picture: {
        auto* p = new QToolButton;
        p->setCheckable(true); // a group of its own: pressing again releases it
        p->setIcon(Glyph(e.caption));
        p->setAccessibleName(e.caption);
        p->setFixedSize(21, 21);
        return p;
    }
    case OptionKind::Separator:
    case OptionKind::Text:
        break;
    }
    return new QWidget; // not reached: separators and texts have no control
}

void OptionBar::Connect(QWidget* w, OptionKind kind, int index) {
    auto fire = [this, w, index] { Fire(index, w, false); };
    switch (kind) {
    case OptionKind::Button:
    case OptionKind::Picture:
        connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this, fire);
        break;
    case OptionKind::Check:
        connect(static_cast<QCheckBox*>(w), &QCheckBox::toggled, this, fire);
        break;
    case OptionKind::Real:
        connect(static_cast<QDoubleSpinBox*>(w), &QDoubleSpinBox::valueChanged, this, fire);
        connect(static_cast<QDoubleSpinBox*>(w), &QDoubleSpinBox::editingFinished, this, fire);
        break;
    case OptionKind::Integer:
        connect(static_cast<QSpinBox*>(w), &QSpinBox::valueChanged, this, fire);
        connect(static_cast<QSpinBox*>(w), &QSpinBox::editingFinished, this, fire);
        break;
    case OptionKind::List:
    case OptionKind::FontList:
        connect(static_cast<QComboBox*>(w), &QComboBox::currentIndexChanged, this, fire);
        break;
    case OptionKind::Swatch:
    case OptionKind::Separator:
    case OptionKind::Text:
        break;
    }
}

void OptionBar::Fire(int index, const QWidget* from, bool swatch) {
    // A control waiting for deletion after a rebuild no longer owns its index.
    const Entry* e = At(index);
    if (!e || e->widget.data() != from) return;
    // A copy: the handler may replace itself or rebuild the bar.
    const std::function<void()> handler = swatch ? e->swatchHandler : e->handler;
    if (handler) handler();
}

const OptionBar::Entry* OptionBar::At(int index) const {
    if (index < 0 || index >= int(controls_.size()) || !controls_[size_t(index)].widget)
        return nullptr;
    return &controls_[size_t(index)];
}

QWidget* OptionBar::Control(int index) const {
    const Entry* e = At(index);
    return e ? e->widget.data() : nullptr;
}

bool OptionBar::ControlShown(int index) const {
    const Entry* e = At(index);
    return e && e->action->isVisible();
}

double OptionBar::GetValue(int index) const {
    const Entry* e = At(index);
    if (!e) return 0;
    QWidget* w = e->widget.data();
    switch (e->kind) {
    case OptionKind::List:
    case OptionKind::FontList:
        return std::max(0, static_cast<QComboBox*>(w)->currentIndex());
    case OptionKind::Integer:
        return static_cast<QSpinBox*>(w)->value();
    case OptionKind::Real:
        return static_cast<QDoubleSpinBox*>(w)->value();
    case OptionKind::Check:
    case OptionKind::Picture:
        return static_cast<QAbstractButton*>(w)->isChecked() ? 1 : 0;
    case OptionKind::Swatch:
        return static_cast<ColourSwatch*>(w)->Pixel();
    default:
        return 0;
    }
}

void OptionBar::SetValue(int index, double value) {
    const Entry* e = At(index);
    if (!e || std::isnan(value)) return;
    QWidget* w = e->widget.data();
    const QSignalBlocker quiet(w);
    switch (e->kind) {
    case OptionKind::List:
    case OptionKind::FontList: {
        auto* l = static_cast<QComboBox*>(w);
        if (value >= 0 && value < l->count()) l->setCurrentIndex(int(value));
        break;
    }
    case OptionKind::Integer: {
        auto* f = static_cast<QSpinBox*>(w);
        f->setValue(int(std::trunc(std::clamp(value, double(f->minimum()), double(f->maximum())))));
        break;
    }
    case OptionKind::Real:
        static_cast<QDoubleSpinBox*>(w)->setValue(value);
        break;
    case OptionKind::Check:
    case OptionKind::Picture:
        static_cast<QAbstractButton*>(w)->setChecked(value != 0);
        break;
    case OptionKind::Swatch:
        if (value >= 0 && value <= double(0xFFFFFFFFu))
            static_cast<ColourSwatch*>(w)->SetPixel(uint32_t(value));
        break;
    default:
        break;
    }
}

void OptionBar::SetHandler(int index, std::function<void()> handler) {
    if (At(index)) controls_[size_t(index)].handler = std::move(handler);
}

void OptionBar::SetSwatchHandler(int index, std::function<void()> handler) {
    if (At(index)) controls_[size_t(index)].swatchHandler = std::move(handler);
}

void OptionBar::SetEnabled(int index, bool enabled) {
    if (const Entry* e = At(index)) {
        e->widget->setEnabled(enabled);
        if (e->label) e->label->setEnabled(enabled);
    }
}

void OptionBar::ShowBar(const QString& key, int level) {
    if (!bar_) return;
    const OptionBarState::Step step = state_.Show(key, !bar_->isHidden(), level);
    if (step == OptionBarState::Step::None) return;
    if (step == OptionBarState::Step::Rebuild) {
        if (gridBar && !gridBar->isHidden()) gridBar->hide();
        Build(definitionOf ? definitionOf(key) : QString(), level);
        bar_->show();
        if (gridBar && gridOn && gridOn()) gridBar->show();
    }
    if (clearActiveControl) clearActiveControl();
}

void OptionBar::HideBar(const QString& oldKey, const QString& nextKey, int level) {
    if (!bar_) return;
    switch (state_.Hide(oldKey, nextKey, level)) {
    case OptionBarState::Step::Clear:
        if (clearActiveControl) clearActiveControl();
        break;
    case OptionBarState::Step::Hide:
        bar_->hide();
        for (Entry& e : controls_) {
            if (e.widget) e.widget->setEnabled(false);
            if (e.label) e.label->setEnabled(false);
        }
        break;
    default:
        break;
    }
}
