#include "filters/CompSession.h"

#include "filters/CompLibrary.h"
#include "filters/PreviewScale.h"
#include "lang/Language.h"
#include "ovc.h"
#include "raster/SineTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace comp {

static_assert(sizeof(OvcEnv) == 19 * sizeof(void*), "every field of the record is pointer-sized");
static_assert(sizeof(OvcClick) == 6 * sizeof(void*));

struct Session::Env {
    OvcEnv record{};
    std::array<OvcImage, MaxParams> images{};
    OvcClick click{};
    Buffer sizedSource; // the undo copy at the picture's size, when the two differ
};

namespace {

// Runs a batch of queued work at most this often in a row: a component that keeps asking for
// previews from inside each preview cannot keep the program busy for ever.
constexpr int MaxSettleRounds = 64;

bool Contiguous(const Buffer& b) {
    return !b.Empty() && b.stride == b.Width();
}

QString ComponentText(const char* text) {
    if (!text) return {};
    return QString::fromUtf8(text, qsizetype(strnlen(text, MaxValueLength)));
}

// Copies the part of from inside area into to at the same place.
void CopyArea(const Buffer& from, Buffer& to, Rect area) {
    area = area.Intersect(from.Bounds()).Intersect(to.Bounds());
    for (int y = area.top; y <= area.bottom; ++y)
        std::memcpy(&to.At(area.left, y), from.Row(y) + (area.left - from.left),
                    size_t(area.Width()) * sizeof(uint32_t));
}

} // namespace

// Counts the session's own entry points on the stack; the outermost one, on its way out, carries
// out what was queued while the component ran.
class Session::Entry {
public:
    explicit Entry(Session& s) : s_(s) { ++s_.entries_; }
    ~Entry() {
        if (--s_.entries_ == 0) s_.Settle();
    }

private:
    Session& s_;
};

Session::Session(Component& component, SessionHost& host, ParamPanel& panel,
                 const Language* language)
    : component_(component), host_(host), panel_(panel), language_(language),
      env_(std::make_unique<Env>()), thread_(std::this_thread::get_id()) {}

Session::~Session() {
    if (depth_ == 0) End();
}

QString Session::Tr(const char* key) const {
    const QString k = QString::fromLatin1(key);
    return language_ ? language_->Translate(k) : k;
}

QString Session::TranslatedName() const {
    const QString& name = component_.descriptor.name;
    return language_ ? language_->TranslateName(name) : name;
}

// --- starting and ending --------------------------------------------------------------------

Session::Started Session::Start(Mode mode) {
    if (loaded_ || ended_) return Started::Failed; // one start per session
    Entry entry(*this);
    mode_ = mode;
    lastAppliedSet_ = false; // a new start always runs, whatever ran last time
    if (mode_ == Mode::Tool && !host_.TakeUndoCopy()) {
        host_.Message(QStringLiteral("NoMem"));
        return Started::Failed;
    }
    library_ = Library::Open(component_.path);
    if (!library_) return Started::Failed;
    loaded_ = true;

    const Descriptor& d = component_.descriptor;
    if (!component_.valuesSet) {
        component_.current = InitialValues(d);
        Values packed = component_.initialPacked;
        comp::Pack(d, component_.current, host_.Picture().Bounds(), packed);
        component_.initialPacked = component_.currentPacked = packed;
        component_.valuesSet = true;
    }
    std::array<bool, MaxParams> hidden{};
    const int level = host_.UserLevel();
    for (int i = 0; i < MaxParams; ++i) hidden[size_t(i)] = d.params[size_t(i)].HiddenAt(level);
    controls_ = panel_.Build(d, component_.current, hidden);
    if (mode_ == Mode::Tool && d.HasOption('W'))
        previewscale::Make(host_.Picture(), previewSource_, previewResult_);

    Buffer& picture = host_.Picture();
    const Buffer& source = mode_ == Mode::Tool ? SourceFor(picture) : picture;
    Fill(source, picture, picture.Bounds(), false, false);
    if (!Send(OVC_START, &env_->record) && mode_ == Mode::Tool) {
        CopyArea(host_.UndoPicture(), picture, picture.Bounds());
        host_.Repaint({});
    }
    Change(); // 4494, and the instant preview when it shows

    if (controls_ > 0) panel_.ShowPanel();
    if (controls_ > 0 || mode_ == Mode::Brush) return Started::Shown;
    Ok();
    AskEnd(); // nothing to ask: the tool ends even when the run failed
    return Started::Finished;
}

void Session::End() {
    if (ended_) return;
    if (depth_ > 0) {
        // Asked while the component runs (a tool picked while pending events were handled):
        // stop the run and end once it has returned; the library must stay loaded till then.
        running_ = false;
        if (!endPending_) endExchange_ = host_.ToolCurrent();
        endPending_ = true;
        return;
    }
    const bool exchange = endPending_ ? endExchange_ : host_.ToolCurrent();
    Entry entry(*this);
    ended_ = true;
    queued_.clear();
    if (!loaded_) return; // nothing was started: nothing to tell, nothing to undo
    Send(OVC_END, nullptr);
    panel_.HidePanel();
    previewSource_.Free();
    previewResult_.Free();
    env_->sizedSource.Free();
    library_.reset();
    // Cancel undoes a full preview this way, Ok's own exchange is undone by it; an undo copy
    // that was never filled is not swapped in.
    if (mode_ == Mode::Tool && exchange && !host_.UndoPicture().Empty()) {
        host_.ExchangeWithUndo();
        host_.Repaint({});
    }
}

// --- the environment record ------------------------------------------------------------------

const Buffer& Session::SourceFor(const Buffer& picture) {
    const Buffer& undo = host_.UndoPicture();
    if (undo.Width() == picture.Width() && undo.Height() == picture.Height() && Contiguous(undo))
        return undo;
    // A picture resized by the component: a source of the destination's size, so that no row
    // is read past the undo copy's end.
    Buffer& sized = env_->sizedSource;
    if (sized.Width() != picture.Width() || sized.Height() != picture.Height())
        sized.Alloc({picture.Width(), picture.Height()});
    if (!sized.Empty()) {
        std::fill_n(sized.pixels, size_t(sized.Width()) * size_t(sized.Height()), 0u);
        CopyArea(undo, sized, sized.Bounds());
    }
    return sized;
}

void Session::Fill(const Buffer& source, Buffer& destination, Rect area, bool markedOnly,
                   bool final) {
    OvcEnv& e = env_->record;
    e = OvcEnv{};
    e.src = source.pixels;
    e.dst = destination.pixels;
    e.width = destination.Width();
    e.height = destination.Height();
    e.left = area.left;
    e.top = area.top;
    e.right = area.right;
    e.bottom = area.bottom;
    e.markedOnly = markedOnly;
    e.final = final;
    e.foreground = host_.Foreground() & 0xFFFFFF;
    e.background = host_.Background() & 0xFFFFFF;
    e.sine = sine::Table().data();
    e.cosine = e.sine + sine::Steps / 4;
    e.table3 = e.sine; // its first 1024 entries: one full turn
    e.host = this;
    e.call = &Session::HostEntry;
    const std::array<ImageSlot, MaxParams> open = host_.Images();
    const int current = std::clamp(host_.CurrentSlot(), 1, MaxParams);
    for (int i = 0; i < MaxParams; ++i) {
        const Buffer* b = i + 1 == current ? &host_.UndoPicture() : open[size_t(i)].picture;
        OvcImage& slot = env_->images[size_t(i)];
        slot = OvcImage{};
        if (b && Contiguous(*b)) slot = {b->pixels, b->Width(), b->Height()};
    }
    e.images = env_->images.data();
    e.current = current;
}

// --- calls into the component ----------------------------------------------------------------

bool Session::Send(uint32_t command, void* data) {
    if (!library_) return false;
    ++depth_;
    bool ok = true;
    try {
        library_->Entry()(data, command);
    } catch (...) {
        ok = false;
    }
    --depth_;
    if (depth_ == 0) {
        // A value the component set while answering a button or a click works as a change;
        // one set while answering values or running only updates them (no endless 4494s).
        if (changedInCall_ && (command == OVC_BUTTON || command == OVC_CLICK))
            changePending_ = true;
        changedInCall_ = false;
    }
    if (!ok)
        host_.ShowError(Tr("ErrOVC") + QLatin1Char(' ') + TranslatedName() + QLatin1Char(' ') +
                        Tr("ErrOVC2"));
    return ok;
}

void Session::Settle() {
    // What runs here counts as an entry, so that it queues instead of settling on its own.
    ++entries_;
    for (int round = 0; round < MaxSettleRounds; ++round) {
        if (endPending_) {
            endPending_ = false;
            End();
            break;
        }
        if (Closing()) break;
        if (changePending_) {
            changePending_ = false;
            Change();
            continue;
        }
        if (queued_.empty()) break;
        const Queued q = queued_.front();
        queued_.pop_front();
        Act(q);
    }
    queued_.clear();
    changePending_ = false;
    --entries_;
}

void Session::Act(const Queued& q) {
    switch (q.message) {
    case OVC_MSG_PREVIEW:
        Preview();
        break;
    case OVC_MSG_OK:
        Ok();
        break;
    case OVC_MSG_CANCEL:
        Cancel();
        break;
    case OVC_MSG_RESIZE:
        Resize({int(q.w & 0xFFFF), int(std::clamp<intptr_t>(q.l, 0, 65535))});
        break;
    default:
        break;
    }
}

// --- values ----------------------------------------------------------------------------------

void Session::PackValues() {
    const Descriptor& d = component_.descriptor;
    for (int i = 0; i < MaxParams; ++i)
        if (d.params[size_t(i)].Defined()) component_.current[size_t(i)] = panel_.Value(i + 1);
    comp::Pack(d, component_.current, host_.Picture().Bounds(), component_.currentPacked);
}

void Session::Change() {
    if (Closing() || !loaded_) return;
    if (depth_ > 0) {
        // Inside a call: keep the values current; whether a 4494 follows is decided when the
        // call returns.
        PackValues();
        changedInCall_ = true;
        return;
    }
    Entry entry(*this);
    PackValues();
    Values copy = component_.currentPacked; // the component may write into what it gets
    Send(OVC_PARAMS, copy.data());
    if (panel_.InstantPreviewShown()) RunInstantPreview();
}

void Session::ControlChanged(int) {
    if (Closing() || !loaded_) return;
    if (!notices_) {
        PackValues();
        return;
    }
    Change();
}

void Session::ButtonPressed(int place) {
    if (Closing() || !loaded_ || place < 1 || place > MaxParams) return;
    Entry entry(*this);
    int32_t number = place;
    Send(OVC_BUTTON, &number);
}

void Session::Preset() {
    if (Closing() || !loaded_) return;
    Entry entry(*this);
    const Descriptor& d = component_.descriptor;
    for (int i = 0; i < MaxParams; ++i)
        if (d.params[size_t(i)].Defined())
            panel_.SetValue(i + 1, InitialValue(d.params[size_t(i)]));
    Change();
}

void Session::InstantPreviewToggled(bool shown) {
    if (shown) Change();
}

void Session::RunInstantPreview() {
    if (previewSource_.Empty() || previewResult_.Empty()) return;
    previewResult_.Copy(previewSource_, {0, 0}, Pixel::CopyAll);
    Fill(previewSource_, previewResult_, previewResult_.Bounds(), false, false);
    if (!Send(OVC_PROCESS, &env_->record))
        previewResult_.Copy(previewSource_, {0, 0}, Pixel::CopyAll);
    panel_.RepaintPreview();
}

// --- full runs -------------------------------------------------------------------------------

RunResult Session::Preview() {
    if (running_) {
        Stop();
        return RunResult::Stopped;
    }
    if (Closing() || !loaded_ || mode_ != Mode::Tool) return RunResult::Failed;
    if (depth_ > 0) {
        queued_.push_back({OVC_MSG_PREVIEW, 0, 0});
        return RunResult::Unchanged;
    }
    Entry entry(*this);
    PackValues();
    if (lastAppliedSet_ && component_.currentPacked == lastApplied_) return RunResult::Unchanged;

    Buffer& picture = host_.Picture();
    const Buffer& source = SourceFor(picture);
    const Rect area = host_.DrawingArea().Intersect(picture.Bounds());
    if (!Contiguous(picture) || source.Empty() || area.Empty()) return RunResult::Failed;
    CopyArea(source, picture, area);
    Fill(source, picture, area, false, true);

    progressMax_ = std::max(1, area.Height());
    host_.ProgressStart();
    panel_.EnableControls(false);
    panel_.SetPreviewCaption(Tr("&Stop"));
    host_.SetBusyCursor(true);
    running_ = true;
    stopped_ = false;
    const bool ok = Send(OVC_PROCESS, &env_->record);
    const bool stopped = stopped_;
    running_ = stopped_ = false;
    host_.SetBusyCursor(false);
    panel_.SetPreviewCaption(Tr("&Preview"));
    panel_.EnableControls(true);
    host_.ProgressStop();
    if (!ok) CopyArea(source, picture, area); // the picture as it was
    host_.Repaint(area);
    if (!ok || stopped) {
        // Neither a failed nor a stopped run counts as applied: the next Preview or Ok runs.
        lastAppliedSet_ = false;
        return ok ? RunResult::Stopped : RunResult::Failed;
    }
    lastApplied_ = component_.currentPacked;
    lastAppliedSet_ = true;
    return RunResult::Done;
}

void Session::Stop() {
    if (!running_) return;
    running_ = false;
    stopped_ = true;
}

void Session::Ok() {
    if (Closing() || !loaded_ || running_) return;
    if (depth_ > 0) {
        queued_.push_back({OVC_MSG_OK, 0, 0});
        return;
    }
    Entry entry(*this);
    if (mode_ == Mode::Tool) {
        const RunResult r = Preview();
        if (r == RunResult::Failed || r == RunResult::Stopped) return; // never a half picture
        committed_ = true;
        host_.CountChange();
        host_.ExchangeWithUndo(); // Ending exchanges them back
    }
    AskEnd();
}

void Session::Cancel() {
    if (Closing() || running_) return;
    if (depth_ > 0) {
        queued_.push_back({OVC_MSG_CANCEL, 0, 0});
        return;
    }
    Entry entry(*this);
    AskEnd();
}

void Session::AskEnd() {
    // Once asked, nothing more runs: the program may end the tool later, and the picture may
    // already hold Ok's exchange.
    if (endAsked_) return;
    endAsked_ = true;
    queued_.clear();
    host_.EndTool();
}

// --- clicks and stamps -----------------------------------------------------------------------

void Session::Click(Pair position, Pair size, bool right, bool preview) {
    if (Closing() || !loaded_) return;
    Entry entry(*this);
    OvcClick& c = env_->click;
    // One pixel wide or high: no span to scale over, the position is 0.
    c.x = size.x > 1 ? intptr_t(std::clamp(position.x, 0, size.x - 1)) * 65535 / (size.x - 1) : 0;
    c.y = size.y > 1 ? intptr_t(std::clamp(position.y, 0, size.y - 1)) * 65535 / (size.y - 1) : 0;
    c.width = size.x;
    c.height = size.y;
    c.right = right;
    c.preview = preview;
    Send(OVC_CLICK, &c);
}

void Session::Stamp(const Buffer& brush, Pair at) {
    if (Closing() || !loaded_ || brush.Empty()) return;
    Entry entry(*this);
    Buffer& picture = host_.Picture();
    if (!Contiguous(picture)) return;
    Buffer& undo = host_.UndoPicture();
    const bool undoFits =
        Contiguous(undo) && undo.Width() == picture.Width() && undo.Height() == picture.Height();
    // Without an undo copy of the picture's size the marks go on a copy of the picture.
    Buffer ownSource;
    if (!undoFits) ownSource = picture;
    Buffer& source = undoFits ? undo : ownSource;
    const Rect stamp{at.x, at.y, at.x + brush.Width() - 1, at.y + brush.Height() - 1};
    const Rect area = stamp.Intersect(host_.DrawingArea()).Intersect(picture.Bounds());
    if (area.Empty() || source.Empty()) return;

    for (int y = area.top; y <= area.bottom; ++y)
        for (int x = area.left; x <= area.right; ++x)
            if (brush.At(brush.left + x - at.x, brush.top + y - at.y) != Pixel::Transparent)
                source.At(x, y) |= OVC_MARK;
    Buffer before;
    if (before.Alloc({area.Width(), area.Height()}))
        for (int y = area.top; y <= area.bottom; ++y)
            std::memcpy(&before.At(0, y - area.top), &picture.At(area.left, y),
                        size_t(area.Width()) * sizeof(uint32_t));
    Fill(source, picture, area, true, true);
    const bool ok = Send(OVC_PROCESS, &env_->record);
    for (int y = area.top; y <= area.bottom; ++y)
        for (int x = area.left; x <= area.right; ++x) source.At(x, y) &= ~OVC_MARK;
    if (!ok && !before.Empty())
        for (int y = area.top; y <= area.bottom; ++y)
            std::memcpy(&picture.At(area.left, y), &before.At(0, y - area.top),
                        size_t(area.Width()) * sizeof(uint32_t));
    host_.Repaint(area);
}

// --- messages from the component -------------------------------------------------------------

intptr_t Session::HostEntry(void* host, uint32_t message, uintptr_t w, intptr_t l) {
    if (!host) return 0;
    try {
        return static_cast<Session*>(host)->Message(message, w, l);
    } catch (...) {
        return 0; // nothing may unwind through the component's frames
    }
}

intptr_t Session::Message(uint32_t message, uintptr_t w, intptr_t l) {
    // Only from the thread that drives the component, only while its tool is current.
    if (std::this_thread::get_id() != thread_ || Closing() || !loaded_ || !host_.ToolCurrent())
        return 0;
    switch (message) {
    case OVC_MSG_PREVIEW:
    case OVC_MSG_OK:
    case OVC_MSG_CANCEL:
    case OVC_MSG_RESIZE:
        if (depth_ > 0 || entries_ > 0) {
            queued_.push_back({message, w, l});
            return 0;
        }
        {
            Entry entry(*this);
            Act({message, w, l});
        }
        return 0;
    case OVC_MSG_SET:
        SetParam(int(w & 0xFFFF), int(w >> 16), l);
        return 0;
    case OVC_MSG_STEP: {
        if (!running_ && !stopped_) return 0; // only a full run shows progress and can stop
        const int position = int(w & 0xFFFF);
        host_.ProgressStep(std::clamp(int(int64_t(position) * 100 / progressMax_), 0, 100));
        host_.ProcessEvents();
        return running_ ? 0 : 1;
    }
    case OVC_MSG_STEPS:
        progressMax_ = std::max(1, int(w & 0xFFFF));
        return 0;
    case OVC_MSG_NOTIFY_ON:
        notices_ = true;
        return 0;
    case OVC_MSG_NOTIFY_OFF:
        notices_ = false;
        return 0;
    default:
        return 0;
    }
}

void Session::Resize(Pair size) {
    if (Closing() || size.x < 1 || size.y < 1) return;
    if (!host_.ReallocatePicture(size)) return;
    // The instant preview keeps its source: it shows the picture as the dialog opened.
    host_.Repaint({});
}

void Session::SetParam(int place, int sub, intptr_t l) {
    if (place < 1 || place > MaxParams) return;
    const ParamDef& def = component_.descriptor.params[size_t(place - 1)];
    const auto* number = reinterpret_cast<const double*>(l);
    const auto text = [l] { return ComponentText(reinterpret_cast<const char*>(l)); };
    if (!def.Defined()) return;
    if (sub == OVC_SET_CAPTION) {
        if (l) panel_.SetCaption(place, text());
        return;
    }
    ParamValue v = panel_.Value(place);
    bool set = sub == OVC_SET_VALUE;
    switch (def.type) {
    case ParamType::Integer:
    case ParamType::Slider:
        if (sub == OVC_SET_VALUE)
            v.number = double(int32_t(l));
        else if (sub == OVC_SET_LOW)
            panel_.SetLowest(place, double(int32_t(l)));
        else if (sub == OVC_SET_HIGH)
            panel_.SetHighest(place, double(int32_t(l)));
        else if (sub == OVC_SET_STEP)
            panel_.SetStep(place, double(int32_t(l)));
        break;
    case ParamType::Decimal:
        if (sub == OVC_SET_DECIMALS) {
            panel_.SetDecimals(place, int(std::clamp<intptr_t>(l, 0, 10)));
            break;
        }
        if (!number || sub > OVC_SET_STEP || !std::isfinite(*number)) return;
        if (sub == OVC_SET_VALUE)
            v.number = *number;
        else if (sub == OVC_SET_LOW)
            panel_.SetLowest(place, *number);
        else if (sub == OVC_SET_HIGH)
            panel_.SetHighest(place, *number);
        else if (sub == OVC_SET_STEP)
            panel_.SetStep(place, *number);
        break;
    case ParamType::Check:
        v.number = l != 0;
        break;
    case ParamType::List:
        v.number = double(int32_t(l));
        break;
    case ParamType::Image:
        v.number = double(std::clamp<intptr_t>(l, 1, MaxParams));
        break;
    case ParamType::Colour:
        v.colour = uint32_t(l) & 0xFFFFFF;
        break;
    case ParamType::Point: {
        const ParamValue p = PointFromFraction(uint32_t(l), host_.Picture().Bounds());
        v.x = p.x;
        v.y = p.y;
        break;
    }
    default:
        set = false;
        break;
    }
    if (!set) return;
    panel_.SetValue(place, v);
    if (notices_)
        Change();
    else
        PackValues();
}

} // namespace comp
