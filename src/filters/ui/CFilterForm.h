#pragma once

#include "filters/AcfFile.h"
#include "filters/ui/ImageRun.h"

#include <QDialog>

#include <array>

class Language;
class QLineEdit;
class QPushButton;
class QSpinBox;

// What the custom filter keeps between openings: the matrix and the last file path.
struct CustomFilterState {
    ConvolutionSettings settings;
    QString lastPath;
};

// The custom convolution window: 25 cells (empty means 0), divisor and bias, Preview/Stop,
// Load and Save. Runs follow the same rules as the Filter Factory's: only Ok after a complete
// run keeps the result (Committed).
class TCFilterForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1310;

    TCFilterForm(const Language& language, CustomFilterState& state, ImageRunHost host,
                 QWidget* parent = nullptr);

    bool Committed() const { return committed_; }
    bool Running() const { return running_; }
    // The picture shows a complete run of what the controls say now.
    bool Applied() const;
    QLineEdit* Cell(int i) const { return cells_[size_t(i)]; }
    QSpinBox* DivFactor() const { return divFactor_; }
    QSpinBox* Bias() const { return bias_; }

    // The settings the controls show now.
    ConvolutionSettings Settings() const;
    void NormaliseCell(int i);
    void PreviewBtnClick();
    void OkBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();

    void reject() override;
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Show(const ConvolutionSettings& s);
    void SetRunning(bool on);
    PreviewSession::Settings Key() const;

    const Language& language_;
    CustomFilterState& state_;
    ImageRunHost host_;
    bool running_ = false, committed_ = false;
    int edits_ = 0; // what the session knows of the settings: their edits, and Clipping
    std::array<QLineEdit*, 25> cells_{};
    QSpinBox *divFactor_, *bias_;
    QPushButton *okBtn_, *previewBtn_, *cancelBtn_, *loadBtn_, *saveBtn_;
    FileDialogTexts *loadDlg_, *saveDlg_;
};
