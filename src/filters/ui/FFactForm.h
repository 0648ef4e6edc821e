#pragma once

#include "filters/AfsFile.h"
#include "filters/FFProgram.h"
#include "filters/ui/ImageRunForm.h"
#include "raster/Buffer.h"

#include <array>

class Language;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QToolButton;

// What the Filter Factory keeps between openings: the filter source and the last file path.
struct FilterFactoryState {
    FilterSource source;
    QString lastPath;
};

// The Filter Factory window: three expressions with live preview, eight named controls, the
// filter's texts, source files, with the running rules of every image-wide filter window.
class TFFactForm : public TImageRunForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 5000;

    TFFactForm(const Language& language, FilterFactoryState& state, ImageRunHost host,
               QWidget* parent = nullptr);
    ~TFFactForm() override;

    const ff::CompiledFilter& Compiled() const { return compiled_; }
    const Buffer& PreviewResult() const { return previewResult_; }

    void ChChange();
    void LoadBtnClick();
    void SaveBtnClick();
    void MakeBtnClick();
    void SyntaxClick(int channel);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override; // memo focus in and out
    std::optional<Plan> MakePlan() override;
    PreviewSession::Settings Key() const override { return {double(edits_)}; }
    bool EnterStaysInControl() const override;

private:
    void BuildControls();
    void FillFromState();
    void StoreToState();
    void ShowPreview();
    void Message(const char* key);

    FilterFactoryState& state_;
    ff::CompiledFilter compiled_;
    Buffer previewSource_, previewResult_;
    bool loading_ = false;
    int edits_ = 0; // what the session knows of the filter: its edits

    std::array<QPlainTextEdit*, 3> memos_{};
    std::array<QToolButton*, 3> syntax_{};
    std::array<QLineEdit*, 8> names_{};
    std::array<QSlider*, 8> sliders_{};
    std::array<QLabel*, 8> values_{};
    QLineEdit *category_, *title_, *author_, *copyright_;
    QLabel* instPreviewBuf_;
    QCheckBox* instPreview_;
    QPushButton *okBtn_, *cancelBtn_, *loadBtn_, *saveBtn_, *makeBtn_;
    FileDialogTexts *loadDlg_, *saveDlg_, *ovcSaveDlg_;
};
