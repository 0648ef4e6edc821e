#pragma once

#include "filters/CompSession.h"

#include <QDialog>
#include <QRect>

#include <array>
#include <functional>

class Buffer;
class Language;
class QCheckBox;
class QLabel;
class QPushButton;
class QKeyEvent;
struct ColourSwatch;

// The parameter window of a running component, built anew from its descriptor each time it
// starts: one row per parameter, the instant preview ("W"), the full preview button ("P"), Ok,
// Cancel and Preset. It only shows and reports: every user change goes to the session, which
// packs, sends and previews. As a drawing mode it has no Ok / preview layout.
class TCompForm : public QDialog, public comp::ParamPanel {
    Q_OBJECT
public:
    static constexpr int HelpContext = 5500;
    static constexpr int Width = 208;
    // The space under the rows for the buttons and the copyright line.
    static constexpr int ButtonSpace = 64;

    enum class Mode { Tool, DrawingMode };

    TCompForm(const Language& language, Mode mode, QWidget* parent = nullptr);
    ~TCompForm() override;

    // The session the user's actions go to (set before Build; may be cleared).
    void Attach(comp::Session* session) { session_ = session; }

    // Row height of a parameter's type letter; 0 for letters without a control.
    static int RowHeight(char letter);

    // What the form asks of the program; unset hooks are skipped.
    struct Hooks {
        // The colour selector, modal, on a colour parameter's swatch.
        std::function<void(const ColourSwatch& swatch, const QString& caption)> editColour;
        // The picture of slot 1..10; nullptr or empty when the slot holds none.
        std::function<const Buffer*(int slot)> imageOf;
        // A key for the main window's hot keys.
        std::function<void(QKeyEvent& event)> passKey;
        // The screen rectangle of the main window's image area, for the placement.
        std::function<QRect()> imageArea;
        // The help pages follow the active window: the component's own page (a file path), or
        // the program's help when empty.
        std::function<void(const QString& page)> setHelp;
        // F1: the help window on the component's page (or on this window's).
        std::function<void()> showHelp;
    };
    Hooks hooks;
    // The component's help page (its Help= file beside it); empty for the program's help.
    QString helpPage;

    // comp::ParamPanel.
    int Build(const comp::Descriptor& descriptor, const comp::ParamValues& values,
              const std::array<bool, comp::MaxParams>& hidden) override;
    comp::ParamValue Value(int place) const override;
    void SetValue(int place, const comp::ParamValue& value) override;
    void SetCaption(int place, const QString& text) override;
    void SetLowest(int place, double value) override;
    void SetHighest(int place, double value) override;
    void SetStep(int place, double value) override;
    void SetDecimals(int place, int decimals) override;
    void EnableControls(bool enabled) override;
    void SetPreviewCaption(const QString& text) override;
    bool InstantPreviewShown() const override;
    void RepaintPreview() override;
    void ShowPanel() override;
    void HidePanel() override;

    // The control made for a place (1..10) and its label; nullptr when none.
    QWidget* Control(int place) const;
    QLabel* Label(int place) const;
    // Where the rows end: the sum of the shown rows' heights plus 3.
    int RowsHeight() const { return rowsHeight_; }
    bool Running() const { return running_; }

    // The handlers of the fixed controls.
    void OkBtnClick();
    void PreviewBtnClick();
    void CancelBtnClick();
    void PresetBtnClick();
    void InstPreviewClick();

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Row;
    class PreviewLabel;
    class ImageStepper;

    void MakeRow(int place, const comp::ParamDef& def, const comp::ParamValue& value, int top);
    void Changed(int place);
    void ShowColour(Row& row);
    void ShowThumbnail(Row& row);
    void ShowSliderValue(Row& row);
    void PickColour(int place);
    void Layout();
    // FormKeyDown for a key aimed at focus (nullptr: the window itself); true when used here.
    bool FormKeyDown(QKeyEvent& event, QWidget* focus);
    void GiveUpFocus(QWidget* focus);
    QWidget* FocusFor(QWidget* target) const;
    Row* RowAt(int place);
    const Row* RowAt(int place) const;

    const Language& language_;
    Mode mode_;
    comp::Session* session_ = nullptr;
    std::array<std::unique_ptr<Row>, comp::MaxParams> rows_;
    int rowsHeight_ = 3;
    bool instant_ = false, fullPreview_ = false;
    bool running_ = false;
    bool quiet_ = false; // values set by the program are not the user's changes
    QLabel* copyrightMessage_;
    QPushButton *okBtn_, *previewBtn_, *cancelBtn_, *presetBtn_;
    QCheckBox* instPreview_;
    PreviewLabel* instPreviewBuf_;
};
