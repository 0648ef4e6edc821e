#include "browser/ui/BrowseForm.h"

#include "browser/ThumbCache.h"
#include "document/ui/TBuffer.h"
#include "filters/CompScan.h"
#include "lang/Language.h"
#include "lang/WindowTranslator.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

using namespace browse;

namespace {

constexpr int PanelWidth = Columns * CellWidth;

} // namespace

TBrowseForm::TBrowseForm(const Language& language, const QString& folder, Options options,
                         QWidget* parent)
    : QDialog(parent), language_(language), options_(options) {
    BuildWindow();
    places_->addItems(Places());
    TranslateWindow(language, QStringLiteral("[BrowseForm]"), {this});
    setWindowTitle(language.Translate(QStringLiteral("ImgBr")));
    Browse(folder);
}

TBrowseForm::TBrowseForm(const Language& language, const comp::ComponentTable& table, int group,
                         const Buffer& picture, QWidget* parent)
    : QDialog(parent), language_(language), table_(&table) {
    BuildWindow();
    for (const comp::MenuCategory& category : table.menu.categories)
        places_->addItem(language.TranslateName(category.category));
    // Scaled once, here on the UI thread: every preview of every group starts from this copy.
    pictureArea_ = picture.Bounds();
    if (!picture.Empty()) {
        const Pair size = ThumbnailSize(picture.Width(), picture.Height());
        if (picture_.Alloc(size)) picture_.Scale(picture, size, {0, 0}, Pixel::CopyAll, true);
    }
    TranslateWindow(language, QStringLiteral("[BrowseForm]"), {this});
    setWindowTitle(language.Translate(QStringLiteral("EffBr")));
    places_->setToolTip(language.Translate(QStringLiteral("EffGroup")));
    folderLabel_->hide();
    BrowseGroup(group);
}

void TBrowseForm::BuildWindow() {
    setObjectName(QStringLiteral("BrowseForm"));
    setProperty("helpContext", HelpContext);

    places_ = new QComboBox(this);
    places_->setObjectName(QStringLiteral("DriveList"));
    places_->setToolTip(tr("Choose a place"));
    // Arrow keys scroll the grid; they must not walk the place list by accident.
    places_->setFocusPolicy(Qt::ClickFocus);
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("FolderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    view_ = new QWidget(this);
    view_->setObjectName(QStringLiteral("ThumbView"));
    view_->setFixedWidth(PanelWidth + Margin);
    view_->setMinimumHeight(CellHeight + 9);
    view_->setAutoFillBackground(true);
    view_->installEventFilter(this);
    view_->setFocusPolicy(Qt::StrongFocus);
    panel_ = new QWidget(view_);
    panel_->setObjectName(QStringLiteral("ThumbPanel"));
    panel_->installEventFilter(this);
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("ScrollBar"));

    auto* top = new QHBoxLayout;
    top->addWidget(places_);
    top->addWidget(folderLabel_, 1);
    auto* grid = new QHBoxLayout;
    grid->setSpacing(0);
    grid->addWidget(view_);
    grid->addWidget(scrollBar_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
    resize(PanelWidth + 40, 3 * CellHeight + 60);

    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
        panel_->move(0, -ScrollUnit * position);
        UpdateRange();
    });
    connect(places_, &QComboBox::activated, this, [this](int index) {
        // As the folder cells do: the grid is rebuilt once this signal is done.
        if (EffectMode()) {
            QTimer::singleShot(0, this, [this, index] { BrowseGroup(index); });
            return;
        }
        const QString place = places_->itemText(index);
        QTimer::singleShot(0, this, [this, place] { Browse(place); });
    });
}

TBrowseForm::~TBrowseForm() {
    Teardown();
}

QStringList TBrowseForm::Places() {
    QStringList out{QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Real devices only: not the kernel's and memory file systems.
        if (!volume.isValid() || !volume.isReady() || !volume.device().startsWith("/dev/"))
            continue;
        if (!out.contains(volume.rootPath())) out.append(volume.rootPath());
    }
    return out;
}

void TBrowseForm::SelectPlace() {
    // The place holding the folder: the longest that starts it.
    int best = -1, bestLength = -1;
    for (int i = 0; i < places_->count(); ++i) {
        QString place = places_->itemText(i);
        if (!place.endsWith(QLatin1Char('/'))) place += QLatin1Char('/');
        const QString folder = folder_ + QLatin1Char('/');
        if (folder.startsWith(place) && place.size() > bestLength) {
            best = i;
            bestLength = int(place.size());
        }
    }
    if (best >= 0) places_->setCurrentIndex(best);
}

void TBrowseForm::Teardown() {
    worker_.reset(); // stops the worker first: the cache is ours again
    if (cache_) cache_->Close();
    cache_.reset();
    for (auto& cell : cells_) {
        cell->view->hide();
        cell->caption->hide();
        cell->view->SetBuffer(nullptr);
        cell->thumb.Free();
        cell->entry = -1;
    }
}

void TBrowseForm::Browse(const QString& folder) {
    Teardown();
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) dir = QDir::home();
    folder_ = dir.absolutePath();
    folderLabel_->setText(QDir::toNativeSeparators(folder_));
    SelectPlace();
    entries_ = ScanFolder(folder_);
    panel_->setGeometry(0, 0, PanelWidth, std::max(PanelHeight(int(entries_.size())), 1));
    if (options_.cacheThumbs) {
        cache_ = std::make_unique<ThumbCache>(folder_);
        if (!cache_->Open()) cache_.reset(); // browsing goes on without it
    }
    TBrowseImageThread::Words words{language_.Translate(QStringLiteral("Pixels")),
                                    language_.Translate(QStringLiteral("KBytes"))};
    worker_ =
        std::make_unique<TBrowseImageThread>(static_cast<BrowseCells&>(*this), entries_, folder_,
                                             cache_.get(), words, options_.background);
    scrollBar_->setValue(0);
    panel_->move(0, 0);
    UpdateScroll();
    worker_->Start();
    UpdateRange();
}

void TBrowseForm::BrowseGroup(int group) {
    Teardown();
    if (!table_) return;
    entries_.clear();
    components_.clear();
    const auto& categories = table_->menu.categories;
    group_ = group >= 0 && group < int(categories.size()) ? group : -1;
    std::vector<TBrowseEffectThread::Effect> effects;
    if (group_ >= 0) {
        places_->setCurrentIndex(group_);
        for (const comp::MenuEntry& e : categories[size_t(group_)].entries) {
            if (e.component < 0 || e.component >= int(table_->components.size())) continue;
            const comp::Component& c = table_->components[size_t(e.component)];
            entries_.push_back({QFileInfo(c.path).fileName(), true, false});
            components_.push_back(e.component);
            effects.push_back({c, language_.TranslateName(c.descriptor.name)});
        }
    }
    panel_->setGeometry(0, 0, PanelWidth, std::max(PanelHeight(int(entries_.size())), 1));
    worker_ = std::make_unique<TBrowseEffectThread>(static_cast<BrowseCells&>(*this), entries_,
                                                    std::move(effects), picture_, pictureArea_);
    scrollBar_->setValue(0);
    panel_->move(0, 0);
    UpdateScroll();
    worker_->Start();
    UpdateRange();
}

void TBrowseForm::UpdateScroll() {
    const int hidden = std::max(0, panel_->height() - view_->height());
    scrollBar_->setRange(0, (hidden + ScrollUnit - 1) / ScrollUnit);
    scrollBar_->setPageStep(std::max(1, view_->height() / ScrollUnit));
    scrollBar_->setSingleStep(CellHeight / ScrollUnit / 3);
}

void TBrowseForm::UpdateRange() {
    if (worker_) worker_->SetRange(VisibleRange(panel_->y(), view_->height()));
}

TBrowseForm::Cell& TBrowseForm::MakeCell(int index) {
    while (int(cells_.size()) <= index) {
        auto cell = std::make_unique<Cell>();
        cell->view = new TBuffer(panel_);
        cell->view->setObjectName(QStringLiteral("Thumb%1").arg(cells_.size()));
        cell->view->installEventFilter(this);
        cell->view->setCursor(Qt::PointingHandCursor);
        cell->view->hide();
        cell->caption = new QToolButton(panel_);
        cell->caption->setObjectName(QStringLiteral("Caption%1").arg(cells_.size()));
        cell->caption->setAutoRaise(true);
        cell->caption->setFocusPolicy(Qt::NoFocus);
        QFont small = cell->caption->font();
        small.setPixelSize(9);
        cell->caption->setFont(small);
        cell->caption->hide();
        Cell* raw = cell.get();
        connect(cell->caption, &QToolButton::clicked, this,
                [this, raw] { ClickEntry(raw->entry); });
        cells_.push_back(std::move(cell));
    }
    return *cells_[size_t(index)];
}

void TBrowseForm::HideCell(int index) {
    if (index < 0 || index >= int(cells_.size())) return;
    Cell& cell = *cells_[size_t(index)];
    cell.view->hide();
    cell.caption->hide();
    cell.view->SetBuffer(nullptr);
    cell.thumb.Free();
    cell.entry = -1;
}

void TBrowseForm::ShowCell(int index, int entry, const Buffer& thumb, const QString& caption) {
    if (index < 0 || entry < 0 || entry >= int(entries_.size())) return;
    Cell& cell = MakeCell(index);
    cell.entry = entry;
    cell.thumb = thumb;
    const Pair size{cell.thumb.Width(), cell.thumb.Height()};
    const Pair at = CentredThumb(entry, size);
    cell.view->setGeometry(at.x, at.y, size.x, size.y);
    cell.view->SetBuffer(&cell.thumb);
    const Pair c = CaptionOrigin(entry);
    cell.caption->setGeometry(c.x, c.y, ThumbWidth, CaptionHeight);
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cell.caption->setText(text);
    const QString& name = entries_[size_t(entry)].name;
    cell.view->setToolTip(name);
    cell.caption->setToolTip(name);
    cell.view->show();
    cell.caption->show();
}

std::vector<int> TBrowseForm::ShownEntries() const {
    std::vector<int> out;
    for (const auto& cell : cells_)
        if (cell->entry >= 0 && cell->view->isVisibleTo(panel_)) out.push_back(cell->entry);
    return out;
}

const Buffer* TBrowseForm::ThumbOf(int k) const {
    for (const auto& cell : cells_)
        if (cell->entry == k && k >= 0) return &cell->thumb;
    return nullptr;
}

QString TBrowseForm::CaptionOf(int k) const {
    for (const auto& cell : cells_)
        if (cell->entry == k && k >= 0) return cell->caption->text();
    return {};
}

void TBrowseForm::ClickEntry(int k) {
    if (k < 0 || k >= int(entries_.size())) return;
    if (EffectMode()) {
        if (k >= int(components_.size())) return;
        chosenComponent_ = components_[size_t(k)];
        done(1);
        return;
    }
    const BrowseEntry entry = entries_[size_t(k)];
    const QString path = QDir(folder_).filePath(entry.name);
    if (entry.file) {
        chosen_ = QDir::cleanPath(path);
        done(1);
        return;
    }
    // The cell clicked belongs to the grid being rebuilt: rebuild once its event is over.
    const QString target = QDir::cleanPath(path);
    QTimer::singleShot(0, this, [this, target] { Browse(target); });
}

void TBrowseForm::done(int result) {
    Teardown();
    QDialog::done(result);
}

void TBrowseForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    UpdateScroll();
    UpdateRange();
}

void TBrowseForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    view_->setFocus();
    UpdateScroll();
    UpdateRange();
}

bool TBrowseForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel &&
        (watched == view_ || watched == panel_ || qobject_cast<TBuffer*>(watched))) {
        const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        scrollBar_->setValue(scrollBar_->value() - steps * CellHeight / ScrollUnit / 2);
        return true;
    }
    if (event->type() == QEvent::Resize && watched == view_) {
        UpdateScroll();
        UpdateRange();
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            for (const auto& cell : cells_)
                if (cell->view == watched) {
                    ClickEntry(cell->entry);
                    return true;
                }
    }
    return QDialog::eventFilter(watched, event);
}

void TBrowseForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
        scrollBar_->triggerAction(QAbstractSlider::SliderPageStepSub);
        return;
    case Qt::Key_PageDown:
        scrollBar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return;
    case Qt::Key_Up:
        scrollBar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Down:
        scrollBar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_Home:
        scrollBar_->setValue(0);
        return;
    case Qt::Key_End:
        scrollBar_->setValue(scrollBar_->maximum());
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
