#pragma once

#include "filters/CompDescriptor.h"
#include "raster/Buffer.h"

#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <thread>

class Language;

// A running component: its library loaded again, its dialog (through ParamPanel), the picture
// (through SessionHost) and the commands sent to OVCPROCESS. Headless; the Qt dialog and the
// shell implement the two seams.
namespace comp {

class Library;

// What the session needs of the parameter dialog. Places are 1..10. The panel reports only the
// user's changes (Session::ControlChanged and friends), never the changes the session makes.
class ParamPanel {
public:
    virtual ~ParamPanel() = default;

    // Makes one row per defined parameter, with the values given; a row whose hidden[place - 1]
    // is set is made but not shown. Returns the number of controls made.
    virtual int Build(const Descriptor& descriptor, const ParamValues& values,
                      const std::array<bool, MaxParams>& hidden) = 0;
    // A control's value now.
    virtual ParamValue Value(int place) const = 0;

    // Message 5497 and Preset. Each only for the types the sub-command applies to.
    virtual void SetValue(int place, const ParamValue& value) = 0;
    // The label's caption, or the button's and the check box's own caption.
    virtual void SetCaption(int place, const QString& text) = 0;
    virtual void SetLowest(int place, double value) = 0;
    virtual void SetHighest(int place, double value) = 0;
    // The spin edit's step; for a slider its page step.
    virtual void SetStep(int place, double value) = 0;
    virtual void SetDecimals(int place, int decimals) = 0;

    // Every control, Ok, Cancel and Preset; Preview stays live while running (it is Stop).
    virtual void EnableControls(bool enabled) = 0;
    virtual void SetPreviewCaption(const QString& text) = 0;
    virtual bool InstantPreviewShown() const = 0;
    // The instant preview (Session::PreviewResult) changed.
    virtual void RepaintPreview() = 0;
    virtual void ShowPanel() = 0;
    virtual void HidePanel() = 0;
};

// One of the ten picture slots as a component sees it.
struct ImageSlot {
    const Buffer* picture = nullptr; // nullptr or empty when the slot holds no picture
};

// What the session needs of the program.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    // The current picture and its undo copy.
    virtual Buffer& Picture() = 0;
    virtual Buffer& UndoPicture() = 0;
    // Stores the picture in the undo copy; false when memory runs out.
    virtual bool TakeUndoCopy() = 0;
    // The picture and its undo copy exchange pixels, name and state.
    virtual void ExchangeWithUndo() = 0;
    // The rectangle a full run processes (the whole picture, or its visible part with Clipping).
    virtual Rect DrawingArea() = 0;
    virtual void CountChange() = 0;

    virtual void ProgressStart() = 0;
    virtual void ProgressStep(int percent) = 0;
    virtual void ProgressStop() = 0;
    virtual void ProcessEvents() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // The picture changed inside rect (the whole picture when rect is empty).
    virtual void Repaint(Rect rect) = 0;
    // The current picture gets new pixels of size; the view shows it again. False on failure.
    virtual bool ReallocatePicture(Pair size) = 0;

    // A warning box with caption the translation of "Err".
    virtual void ShowError(const QString& text) = 0;
    // A message box of that message key, caption "Err" ("NoMem").
    virtual void Message(const QString& key) = 0;

    virtual uint32_t Foreground() = 0; // 0x00RRGGBB
    virtual uint32_t Background() = 0;
    virtual std::array<ImageSlot, MaxParams> Images() = 0;
    virtual int CurrentSlot() = 0; // 1..10
    // Whether the component's tool is the current tool: messages act only then, and ending
    // exchanges the picture with its undo copy only then.
    virtual bool ToolCurrent() = 0;
    // The tool is to end (Ok, Cancel, or nothing to ask). The program ends it and calls End; it
    // destroys the session only later (not from inside this call), once Ended() is true.
    virtual void EndTool() = 0;
    // The user's level (0 beginner ... ); parameters above level + 1 are hidden.
    virtual int UserLevel() = 0;
};

// Why a run ended as it did.
enum class RunResult { Done, Unchanged, Stopped, Failed };

class Session {
public:
    enum class Mode { Tool, Brush };
    enum class Started { Shown, Finished, Failed };

    // component outlives the session; language may be null (texts stay as keys).
    Session(Component& component, SessionHost& host, ParamPanel& panel, const Language* language);
    ~Session(); // ends the session if End was not called
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starting: undo copy, library, dialog, 4493, 4494 (and the instant preview). Shown: the
    // panel is up. Finished: no controls, Ok was done at once. Failed: the tool is to end.
    // As a brush the picture is not touched at the start and ending exchanges nothing; Shown
    // then means ready for stamps (the panel shows only when there are controls).
    Started Start(Mode mode = Mode::Tool);
    // Ending: 4497, preview buffers and library freed; the picture and its undo copy exchange
    // when the tool is current and the start got that far. Safe to call twice. Asked while the
    // component runs (from pending events), the run is stopped and the end follows its return.
    void End();

    // A parameter control changed: pack, store as current, 4494, instant preview.
    void ControlChanged(int place);
    void ButtonPressed(int place); // 4495
    void Preset();                 // initial values, then one control change
    void InstantPreviewToggled(bool shown);
    // PreviewBtnClick: while running it only stops.
    RunResult Preview();
    void Stop();
    void Ok();
    void Cancel();
    // A click on the picture (preview false) or on the instant preview (true): 4498.
    void Click(Pair position, Pair size, bool right, bool preview);
    // One stamp as a brush: the source pixels under brush's opaque pixels (brush placed with its
    // top-left corner at at) are marked, 4496 runs over the clipped rectangle, marks cleared.
    void Stamp(const Buffer& brush, Pair at);

    bool Running() const { return running_; }
    bool Committed() const { return committed_; }
    bool Ended() const { return ended_; }
    // Ok or Cancel asked the program to end the tool (or it ended): nothing more runs.
    bool Closing() const { return ended_ || endAsked_; }
    const Component& Record() const { return component_; }
    // The instant preview's source and result (120 x 90 at most), empty without "W".
    const Buffer& PreviewSource() const { return previewSource_; }
    const Buffer& PreviewResult() const { return previewResult_; }
    QString TranslatedName() const;

    // The host callback of the environment record: host is the session.
    static intptr_t HostEntry(void* host, uint32_t message, uintptr_t w, intptr_t l);
    intptr_t Message(uint32_t message, uintptr_t w, intptr_t l);

private:
    struct Env; // the environment record and the click record, and the slots they point at
    class Entry;
    struct Queued {
        uint32_t message;
        uintptr_t w;
        intptr_t l;
    };

    QString Tr(const char* key) const;
    bool Send(uint32_t command, void* data);
    void Settle();
    void Act(const Queued& q);
    void PackValues();
    void Change();
    void RunInstantPreview();
    void Resize(Pair size);
    void SetParam(int place, int sub, intptr_t l);
    void AskEnd();
    const Buffer& SourceFor(const Buffer& picture);
    void Fill(const Buffer& source, Buffer& destination, Rect area, bool markedOnly, bool final);

    Component& component_;
    SessionHost& host_;
    ParamPanel& panel_;
    const Language* language_;
    std::unique_ptr<Library> library_;
    std::unique_ptr<Env> env_;
    std::thread::id thread_;
    Buffer previewSource_, previewResult_;
    Values lastApplied_{};
    bool lastAppliedSet_ = false;
    Mode mode_ = Mode::Tool;
    int controls_ = 0;
    bool loaded_ = false; // the library was loaded: 4497 is owed
    bool ended_ = false;
    bool endPending_ = false; // End was asked while the component ran
    bool endExchange_ = false;
    bool endAsked_ = false;      // EndTool was called
    bool running_ = false;       // a full run is going; Stop clears it
    bool stopped_ = false;       // the running full run was stopped
    bool committed_ = false;     // Ok kept a complete run
    bool notices_ = true;        // change notices (5500 / 5501)
    bool changedInCall_ = false; // a value was set while the component ran
    bool changePending_ = false; // ... and works as a change once the call returned
    int depth_ = 0;              // calls into OVCPROCESS under way
    int entries_ = 0;            // the session's entry points under way
    int progressMax_ = 100;
    std::deque<Queued> queued_; // Preview, Ok, Cancel and resizes asked for while running
};

} // namespace comp
