#pragma once

#include "filters/AfsFile.h"
#include "filters/FFProgram.h"
#include "filters/ui/ImageRun.h"
#include "raster/Buffer.h"

#include <QDialog>

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
// filter's texts, source files. A full run (Preview, Ok) reads the undo copy and writes the
// image; while it runs only Stop is live, Escape stops it, Enter is ignored and the window
// stays. Only Ok after a complete run keeps the result (Committed).
class TFFactForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 5000;

    TFFactForm(const Language& language, FilterFactoryState& state, ImageRunHost host,
               QWidget* parent = nullptr);
    ~TFFactForm() override;

    bool Committed() const { return committed_; }
    bool Running() const { return running_; }
    // The picture shows a complete run of the filter as it stands now.
    bool Applied() const;
    const ff::CompiledFilter& Compiled() const { return compiled_; }
    const Buffer& PreviewResult() const { return previewResult_; }

    void ChChange();
    void PreviewBtnClick();
    void OkBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();
    void MakeBtnClick();
    void SyntaxClick(int channel);

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override; // memo focus in and out
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void FillFromState();
    void StoreToState();
    void ShowPreview();
    void SetRunning(bool on);
    void Message(const char* key);
    PreviewSession::Settings Key() const { return {double(edits_)}; }

    const Language& language_;
    FilterFactoryState& state_;
    ImageRunHost host_;
    ff::CompiledFilter compiled_;
    Buffer previewSource_, previewResult_;
    bool running_ = false, committed_ = false, loading_ = false;
    int edits_ = 0; // what the session knows of the filter: its edits

    std::array<QPlainTextEdit*, 3> memos_{};
    std::array<QToolButton*, 3> syntax_{};
    std::array<QLineEdit*, 8> names_{};
    std::array<QSlider*, 8> sliders_{};
    std::array<QLabel*, 8> values_{};
    QLineEdit *category_, *title_, *author_, *copyright_;
    QLabel* instPreviewBuf_;
    QCheckBox* instPreview_;
    QPushButton *okBtn_, *previewBtn_, *cancelBtn_, *loadBtn_, *saveBtn_, *makeBtn_;
    FileDialogTexts *loadDlg_, *saveDlg_, *ovcSaveDlg_;
};
