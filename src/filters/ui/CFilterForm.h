#pragma once

#include "filters/AcfFile.h"
#include "filters/ui/ImageRunForm.h"

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
// Load and Save, with the running rules of every image-wide filter window.
class TCFilterForm : public TImageRunForm {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1310;

    TCFilterForm(const Language& language, CustomFilterState& state, ImageRunHost host,
                 QWidget* parent = nullptr);

    QLineEdit* Cell(int i) const { return cells_[size_t(i)]; }
    QSpinBox* DivFactor() const { return divFactor_; }
    QSpinBox* Bias() const { return bias_; }

    // The settings the controls show now.
    ConvolutionSettings Settings() const;
    void NormaliseCell(int i);
    void LoadBtnClick();
    void SaveBtnClick();

    void done(int result) override;

protected:
    std::optional<Plan> MakePlan() override;
    PreviewSession::Settings Key() const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Show(const ConvolutionSettings& s);

    CustomFilterState& state_;
    int edits_ = 0; // what the session knows of the settings: their edits, and Clipping
    std::array<QLineEdit*, 25> cells_{};
    QSpinBox *divFactor_, *bias_;
    QPushButton *okBtn_, *cancelBtn_, *loadBtn_, *saveBtn_;
    FileDialogTexts *loadDlg_, *saveDlg_;
};
