#include "filters/ui/FFactForm.h"

#include "filters/FFRun.h"
#include "filters/MakeComponent.h"
#include "filters/PreviewScale.h"
#include "lang/Language.h"
#include "lang/WindowTranslator.h"
#include "ui/DialogButtons.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace {

QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

std::string Latin(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

TFFactForm::TFFactForm(const Language& language, FilterFactoryState& state, ImageRunHost host,
                       QWidget* parent)
    : TImageRunForm(language, std::move(host), parent), state_(state) {
    setObjectName(QStringLiteral("FFactForm"));
    setWindowTitle(tr("Filter Factory"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setProperty("helpContext", HelpContext);
    BuildControls();
    TranslateWindow(language_, QStringLiteral("[FFactForm]"), {this});

    // The preview: the image scaled to fit 120 x 90.
    const Buffer& image = *host_.undo;
    const Pair size = previewscale::FitSize({image.Width(), image.Height()});
    previewscale::Make(image, previewSource_, previewResult_);
    instPreviewBuf_->setGeometry((124 - size.x) / 2, (94 - size.y) / 2, size.x, size.y);
    FillFromState();
    ChChange();
    memos_[0]->setFocus(); // the red expression, selected: typing replaces it
    memos_[0]->selectAll();
}

TFFactForm::~TFFactForm() = default;

void TFFactForm::BuildControls() {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    const char* memoNames[] = {"RedCh", "GreenCh", "BlueCh"};
    const char* syntaxNames[] = {"RedSyntax", "GreenSyntax", "BlueSyntax"};
    const char* letters[] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        auto* row = new QHBoxLayout;
        auto* letter = new QLabel(QString::fromLatin1(letters[c]), this);
        memos_[c] = new QPlainTextEdit(this);
        memos_[c]->setObjectName(QString::fromLatin1(memoNames[c]));
        memos_[c]->setTabChangesFocus(true);
        memos_[c]->setFixedHeight(52);
        syntax_[c] = new QToolButton(this);
        syntax_[c]->setObjectName(QString::fromLatin1(syntaxNames[c]));
        syntax_[c]->setText(QStringLiteral("!"));
        syntax_[c]->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
        syntax_[c]->setVisible(false);
        row->addWidget(letter);
        row->addWidget(memos_[c], 1);
        row->addWidget(syntax_[c]);
        left->addLayout(row);
        memos_[c]->installEventFilter(this);
        connect(memos_[c], &QPlainTextEdit::textChanged, this, [this] { ChChange(); });
        connect(syntax_[c], &QToolButton::clicked, this, [this, c] { SyntaxClick(c); });
    }
    auto* grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        names_[i] = Edit(qPrintable(QStringLiteral("CtlName%1").arg(i)), this);
        names_[i]->setFixedWidth(78);
        sliders_[i] = new QSlider(Qt::Horizontal, this);
        sliders_[i]->setObjectName(QStringLiteral("CtlSlider%1").arg(i));
        sliders_[i]->setRange(0, 255);
        sliders_[i]->setFixedWidth(152);
        values_[i] = new QLabel(QStringLiteral("0"), this);
        values_[i]->setObjectName(QStringLiteral("CtlValue%1").arg(i));
        values_[i]->setMinimumWidth(24);
        grid->addWidget(names_[i], i, 0);
        grid->addWidget(sliders_[i], i, 1);
        grid->addWidget(values_[i], i, 2);
        connect(sliders_[i], &QSlider::valueChanged, this, [this, i](int v) {
            state_.source.ctl[i] = v;
            values_[i]->setText(QString::number(v));
            ChChange();
        });
    }
    left->addLayout(grid);
    auto* texts = new QGridLayout;
    category_ = Edit("Category", this);
    title_ = Edit("Title", this);
    author_ = Edit("Author", this);
    copyright_ = Edit("Copyright", this);
    texts->addWidget(category_, 0, 0);
    texts->addWidget(title_, 0, 1);
    texts->addWidget(author_, 1, 0);
    texts->addWidget(copyright_, 1, 1);
    left->addLayout(texts);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* frame = new QWidget(this);
    frame->setFixedSize(124, 94);
    instPreviewBuf_ = new QLabel(frame);
    instPreviewBuf_->setObjectName(QStringLiteral("InstPreviewBuf"));
    instPreview_ = new QCheckBox(tr("Preview"), this);
    instPreview_->setObjectName(QStringLiteral("InstPreview"));
    instPreview_->setChecked(true);
    connect(instPreview_, &QCheckBox::toggled, this, [this](bool on) {
        instPreviewBuf_->setVisible(on);
        if (on) ChChange();
    });
    okBtn_ = NamedButton("OkBtn", tr("&Ok"), this);
    previewBtn_ = NamedButton("PreviewBtn", tr("&Preview"), this);
    cancelBtn_ = NamedButton("CancelBtn", tr("&Cancel"), this);
    loadBtn_ = NamedButton("LoadBtn", tr("&Load..."), this);
    saveBtn_ = NamedButton("SaveBtn", tr("&Save..."), this);
    makeBtn_ = NamedButton("MakeBtn", tr("&Make..."), this);
    right->addWidget(frame);
    right->addWidget(instPreview_);
    for (QPushButton* b : {okBtn_, previewBtn_, cancelBtn_, loadBtn_, saveBtn_, makeBtn_})
        right->addWidget(b);
    right->addStretch(1);
    layout->addLayout(right);
    loadDlg_ = new FileDialogTexts("FFLoadDlg", tr("Load Filter Factory"),
                                   tr("Filter Factory Source (*.AFS)|*.afs"), this);
    saveDlg_ = new FileDialogTexts("FFSaveDlg", tr("Save Filter Factory"),
                                   tr("Filter Factory Source (*.AFS)|*.afs"), this);
    ovcSaveDlg_ =
        new FileDialogTexts("OVCSaveDlg", tr("Save OVC"), tr("OVC File (*.OVC)|*.ovc"), this);
    connect(okBtn_, &QPushButton::clicked, this, &TFFactForm::OkBtnClick);
    connect(previewBtn_, &QPushButton::clicked, this, &TFFactForm::PreviewBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TFFactForm::reject);
    connect(loadBtn_, &QPushButton::clicked, this, &TFFactForm::LoadBtnClick);
    connect(saveBtn_, &QPushButton::clicked, this, &TFFactForm::SaveBtnClick);
    connect(makeBtn_, &QPushButton::clicked, this, &TFFactForm::MakeBtnClick);
}

void TFFactForm::FillFromState() {
    loading_ = true;
    const FilterSource& s = state_.source;
    for (int c = 0; c < 3; ++c) memos_[c]->setPlainText(s.channels[c]);
    for (int i = 0; i < 8; ++i) {
        names_[i]->setText(s.names[i]);
        sliders_[i]->setValue(std::clamp(s.ctl[i], 0, 255));
        values_[i]->setText(QString::number(sliders_[i]->value()));
    }
    category_->setText(s.category);
    title_->setText(s.title);
    author_->setText(s.author);
    copyright_->setText(s.copyright);
    loading_ = false;
}

void TFFactForm::StoreToState() {
    FilterSource& s = state_.source;
    for (int c = 0; c < 3; ++c) s.channels[c] = memos_[c]->toPlainText();
    for (int i = 0; i < 8; ++i) {
        s.names[i] = names_[i]->text();
        s.ctl[i] = sliders_[i]->value();
    }
    s.category = category_->text();
    s.title = title_->text();
    s.author = author_->text();
    s.copyright = copyright_->text();
}

void TFFactForm::ChChange() {
    if (loading_) return;
    std::array<std::string, 3> texts;
    for (int c = 0; c < 3; ++c) texts[c] = Latin(memos_[c]->toPlainText());
    compiled_ = ff::CompileAll({texts[0], texts[1], texts[2]});
    for (int c = 0; c < 3; ++c) syntax_[c]->setVisible(compiled_.channels[c].failed);
    if (!previewSource_.Empty()) {
        ff::FilterRun(compiled_, previewSource_, state_.source.ctl)
            .Rows(previewResult_, 0, previewResult_.Height());
        ShowPreview();
    }
    ++edits_;
}

void TFFactForm::ShowPreview() {
    if (previewResult_.Empty()) return;
    QImage img(previewResult_.Width(), previewResult_.Height(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) line[x] = 0xFF000000u | previewResult_.At(x, y);
    }
    instPreviewBuf_->setPixmap(QPixmap::fromImage(img));
}

void TFFactForm::SyntaxClick(int channel) {
    QPlainTextEdit* memo = memos_[channel];
    QTextCursor cursor = memo->textCursor();
    const int length = int(memo->toPlainText().size());
    const int start = std::min(compiled_.channels[channel].errorOffset, length);
    cursor.setPosition(start);
    cursor.setPosition(std::min(length, start + 65535), QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
    memo->setFocus();
}

std::optional<TImageRunForm::Plan> TFFactForm::MakePlan() {
    if (!host_.image || !host_.undo) return std::nullopt;
    auto run = std::make_shared<ff::FilterRun>(compiled_, *host_.undo, state_.source.ctl);
    const int threads = run->Parallel() ? bands::Cores() : 1;
    Buffer& image = *host_.image;
    return Plan{host_.undo->Height(),
                [run, &image, threads](int y0, int y1) { run->Rows(image, y0, y1, threads); }};
}

void TFFactForm::done(int result) {
    StoreToState();
    TImageRunForm::done(result);
}

bool TFFactForm::eventFilter(QObject* watched, QEvent* event) {
    for (QPlainTextEdit* memo : memos_) {
        if (watched != memo) continue;
        if (event->type() == QEvent::FocusIn) { // ChEditEnter: the whole text selected
            QTimer::singleShot(0, memo, [memo] { memo->selectAll(); });
        } else if (event->type() == QEvent::FocusOut) { // ChExit: no selection left
            QTextCursor cursor = memo->textCursor();
            cursor.clearSelection();
            memo->setTextCursor(cursor);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFFactForm::EnterStaysInControl() const {
    for (QPlainTextEdit* memo : memos_)
        if (memo->hasFocus()) return true;
    return false;
}

void TFFactForm::Message(const char* key) {
    if (host_.message) host_.message(QString::fromLatin1(key));
}

void TFFactForm::LoadBtnClick() {
    if (!host_.openName) return;
    const QString name =
        host_.openName(loadDlg_->title, imagerun::QtFilter(loadDlg_->filter), state_.lastPath);
    if (name.isEmpty()) return;
    state_.lastPath = name;
    StoreToState();
    FilterSource loaded = state_.source;
    const AfsResult result = afs::Load(name, loaded);
    if (result == AfsResult::CantOpen) return Message("CantOpenFilter");
    state_.source = loaded; // what was read before a fault stays
    FillFromState();
    ChChange();
    if (result == AfsResult::NotValid) Message("NotValidFF");
}

void TFFactForm::SaveBtnClick() {
    if (!host_.saveName) return;
    const QString name = host_.saveName(saveDlg_->title, imagerun::QtFilter(saveDlg_->filter),
                                        state_.lastPath, QStringLiteral("afs"));
    if (name.isEmpty()) return;
    state_.lastPath = name;
    StoreToState();
    if (!afs::Save(name, state_.source)) Message("CantSaveFilter");
}

void TFFactForm::MakeBtnClick() {
    if (!host_.saveName) return;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString name = host_.saveName(ovcSaveDlg_->title, imagerun::QtFilter(ovcSaveDlg_->filter),
                                        folder + QStringLiteral("/Comps"), QStringLiteral("ovc"));
    if (name.isEmpty()) return;
    StoreToState();
    if (!makecomp::Make(makecomp::RunnerPath(folder), name, state_.source)) Message("CantSaveComp");
}
