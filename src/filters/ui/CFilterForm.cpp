#include "filters/ui/CFilterForm.h"

#include "filters/Convolution.h"
#include "lang/Language.h"
#include "lang/WindowTranslator.h"
#include "raster/Buffer.h"
#include "ui/DialogButtons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

namespace {

QSpinBox* Spin(const char* name, int low, int high, int value, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(low, high);
    s->setValue(value);
    return s;
}

} // namespace

TCFilterForm::TCFilterForm(const Language& language, CustomFilterState& state, ImageRunHost host,
                           QWidget* parent)
    : TImageRunForm(language, std::move(host), parent), state_(state) {
    setObjectName(QStringLiteral("CFilterForm"));
    setWindowTitle(tr("Custom Filter"));
    setProperty("helpContext", HelpContext);

    auto* layout = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    // A sign first, then digits: anything else typed is refused as it is typed.
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*")), this);
    for (int i = 0; i < 25; ++i) {
        auto* cell = new QLineEdit(this);
        cell->setObjectName(QStringLiteral("Cell%1").arg(i));
        cell->setFixedWidth(36);
        cell->setValidator(validator);
        cell->setAlignment(Qt::AlignRight);
        grid->addWidget(cell, i / 5, i % 5);
        cells_[size_t(i)] = cell;
        connect(cell, &QLineEdit::textEdited, this, [this] { ++edits_; });
        connect(cell, &QLineEdit::editingFinished, this, [this, i] { NormaliseCell(i); });
    }
    layout->addLayout(grid);

    auto* right = new QVBoxLayout;
    divFactor_ = Spin("DivFactor", ConvolutionSettings::kDivisorMin,
                      ConvolutionSettings::kDivisorMax, 9, this);
    bias_ = Spin("Bias", ConvolutionSettings::kBiasMin, ConvolutionSettings::kBiasMax, 0, this);
    connect(divFactor_, &QSpinBox::valueChanged, this, [this] { ++edits_; });
    connect(bias_, &QSpinBox::valueChanged, this, [this] { ++edits_; });
    okBtn_ = NamedButton("OkBtn", tr("&Ok"), this);
    previewBtn_ = NamedButton("PreviewBtn", tr("&Preview"), this);
    cancelBtn_ = NamedButton("CancelBtn", tr("&Cancel"), this);
    loadBtn_ = NamedButton("LoadBtn", tr("&Load..."), this);
    saveBtn_ = NamedButton("SaveBtn", tr("&Save..."), this);
    right->addWidget(divFactor_);
    right->addWidget(bias_);
    for (QPushButton* b : {okBtn_, previewBtn_, cancelBtn_, loadBtn_, saveBtn_})
        right->addWidget(b);
    right->addStretch(1);
    layout->addLayout(right);
    loadDlg_ = new FileDialogTexts("FilterLoadDlg", tr("Load Custom Filter"),
                                   tr("Custom Filter (*.ACF)|*.ACF"), this);
    saveDlg_ = new FileDialogTexts("FilterSaveDlg", tr("Save Custom Filter"),
                                   tr("Custom Filter (*.ACF)|*.acf"), this);
    connect(okBtn_, &QPushButton::clicked, this, &TCFilterForm::OkBtnClick);
    connect(previewBtn_, &QPushButton::clicked, this, &TCFilterForm::PreviewBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TCFilterForm::reject);
    connect(loadBtn_, &QPushButton::clicked, this, &TCFilterForm::LoadBtnClick);
    connect(saveBtn_, &QPushButton::clicked, this, &TCFilterForm::SaveBtnClick);
    TranslateWindow(language_, QStringLiteral("[CFilterForm]"), {this});

    ConvolutionSettings s = state_.settings;
    s.divisor = 9;
    s.bias = 0;
    Show(s);
}

void TCFilterForm::Show(const ConvolutionSettings& s) {
    for (int i = 0; i < 25; ++i) {
        const int v = s.cells[size_t(i)];
        cells_[size_t(i)]->setText(v == 0 ? QString() : QString::number(v));
    }
    divFactor_->setValue(s.divisor);
    bias_->setValue(s.bias);
    ++edits_;
}

ConvolutionSettings TCFilterForm::Settings() const {
    ConvolutionSettings s;
    for (int i = 0; i < 25; ++i) {
        bool ok = false;
        const int v = cells_[size_t(i)]->text().toInt(&ok);
        s.cells[size_t(i)] = int16_t(
            ok ? std::clamp(v, ConvolutionSettings::kCellMin, ConvolutionSettings::kCellMax) : 0);
    }
    s.divisor = divFactor_->value();
    s.bias = bias_->value();
    s.Clamp();
    return s;
}

void TCFilterForm::NormaliseCell(int i) {
    QLineEdit* cell = cells_[size_t(i)];
    bool ok = false;
    const int v = cell->text().toInt(&ok);
    const QString text = !ok || v == 0
                             ? QString()
                             : QString::number(std::clamp(v, ConvolutionSettings::kCellMin,
                                                          ConvolutionSettings::kCellMax));
    if (text != cell->text()) {
        cell->setText(text);
        ++edits_;
    }
}

PreviewSession::Settings TCFilterForm::Key() const {
    return {double(edits_), host_.clipping && host_.clipping() ? 1.0 : 0.0};
}

std::optional<TImageRunForm::Plan> TCFilterForm::MakePlan() {
    if (!host_.undo || !host_.workBuffer) return std::nullopt;
    for (int i = 0; i < 25; ++i) NormaliseCell(i);
    auto kernel = std::make_shared<const conv::Kernel>(conv::MakeKernel(Settings()));
    Buffer& work = host_.workBuffer();
    const Buffer& undo = *host_.undo;
    const int top = work.top;
    return Plan{work.Height(), [kernel, &work, &undo, top](int y0, int y1) {
                    bands::Split(top + y0, top + y1, bands::Cores(),
                                 [&](int a, int b, int) { conv::Rows(*kernel, undo, work, a, b); });
                }};
}

void TCFilterForm::done(int result) {
    // Closing keeps the matrix for the next opening (empty cells as 0).
    state_.settings.cells = Settings().cells;
    TImageRunForm::done(result);
}

void TCFilterForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        for (int i = 1; i < 25; ++i) {
            if (!cells_[size_t(i)]->hasFocus()) continue;
            if (key == Qt::Key_Up && i >= 5) cells_[size_t(i - 5)]->setFocus();
            if (key == Qt::Key_Down && i <= 19) cells_[size_t(i + 5)]->setFocus();
            return;
        }
    }
    TImageRunForm::keyPressEvent(event);
}

void TCFilterForm::LoadBtnClick() {
    if (!host_.openName) return;
    const QString name =
        host_.openName(loadDlg_->title, imagerun::QtFilter(loadDlg_->filter), state_.lastPath);
    if (name.isEmpty()) return;
    state_.lastPath = name;
    ConvolutionSettings s = Settings();
    if (acf::Load(name, s) != AcfResult::Ok) {
        if (host_.message) host_.message(QStringLiteral("CantOpenFilter"));
        return;
    }
    Show(s);
}

void TCFilterForm::SaveBtnClick() {
    if (!host_.saveName) return;
    const QString name = host_.saveName(saveDlg_->title, imagerun::QtFilter(saveDlg_->filter),
                                        state_.lastPath, QStringLiteral("acf"));
    if (name.isEmpty()) return;
    state_.lastPath = name;
    if (!acf::Save(name, Settings()) && host_.message)
        host_.message(QStringLiteral("CantSaveFilter"));
}
