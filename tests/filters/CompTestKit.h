#pragma once

#include "filters/CompLibrary.h"
#include "filters/CompScan.h"
#include "filters/CompSession.h"
#include "ovc.h"
#include "raster/Buffer.h"

#include <QString>
#include <QStringList>

#include <dlfcn.h>
#include <functional>
#include <vector>

// Shared builders of the component host tests: the test components' folder, a recording
// parameter panel, a program of one picture, and the probe component's own test functions.
namespace comptest {

inline QString Comps() {
    return QStringLiteral(OV_TEST_COMPS);
}
inline QString CompPath(const char* relative) {
    return Comps() + QLatin1Char('/') + QString::fromUtf8(relative);
}

// A component record as the scan makes it, for the library at relative.
inline comp::Component Record(const char* relative) {
    comp::Component c;
    c.path = CompPath(relative);
    if (auto lib = comp::Library::Open(c.path); lib && lib->DescriptorText())
        if (auto d = comp::ParseDescriptor(lib->DescriptorText())) c.descriptor = *d;
    return c;
}

// Pixels from a formula: every test compares against values it computes itself.
inline Buffer Pattern(int w, int h) {
    Buffer b;
    b.Alloc({w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.At(x, y) = uint32_t(x * 0x010203 + y * 0x0F0E0D) & 0xFFFFFF;
    return b;
}

inline bool Same(const Buffer& a, const Buffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

class FakePanel : public comp::ParamPanel {
public:
    int Build(const comp::Descriptor& d, const comp::ParamValues& v,
              const std::array<bool, comp::MaxParams>& h) override {
        values = v;
        hidden = h;
        int n = 0;
        for (const comp::ParamDef& p : d.params) n += p.Defined();
        return n;
    }
    comp::ParamValue Value(int place) const override { return values[size_t(place - 1)]; }
    void SetValue(int place, const comp::ParamValue& v) override { values[size_t(place - 1)] = v; }
    void SetCaption(int place, const QString& text) override {
        captions << QString::number(place) + QLatin1Char(':') + text;
    }
    void SetLowest(int place, double v) override { lowest[size_t(place - 1)] = v; }
    void SetHighest(int, double) override {}
    void SetStep(int, double) override {}
    void SetDecimals(int place, int d) override { decimals[size_t(place - 1)] = d; }
    void EnableControls(bool e) override { enabled = e; }
    void SetPreviewCaption(const QString& text) override { previewCaption = text; }
    bool InstantPreviewShown() const override { return instantShown; }
    void RepaintPreview() override { ++previewRepaints; }
    void ShowPanel() override { shown = true; }
    void HidePanel() override { shown = false; }

    comp::ParamValues values{};
    std::array<bool, comp::MaxParams> hidden{};
    std::array<double, comp::MaxParams> lowest{};
    std::array<int, comp::MaxParams> decimals{};
    QStringList captions;
    QString previewCaption;
    bool enabled = true, instantShown = false, shown = false;
    int previewRepaints = 0;
};

// One picture and its undo copy; ending the tool ends the session, as the program does.
class FakeHost : public comp::SessionHost {
public:
    explicit FakeHost(int w = 100, int h = 50) : picture(Pattern(w, h)) {}

    Buffer& Picture() override { return picture; }
    Buffer& UndoPicture() override { return undo; }
    bool TakeUndoCopy() override {
        if (!undoWorks) return false;
        undo = picture;
        return true;
    }
    void ExchangeWithUndo() override {
        std::swap(picture, undo);
        ++exchanges;
    }
    Rect DrawingArea() override { return area.Empty() ? picture.Bounds() : area; }
    void CountChange() override { ++changes; }
    void ProgressStart() override {}
    void ProgressStep(int percent) override { steps.push_back(percent); }
    void ProgressStop() override {}
    void ProcessEvents() override {
        if (onEvents) onEvents();
    }
    void SetBusyCursor(bool) override {}
    void Repaint(Rect) override { ++repaints; }
    bool ReallocatePicture(Pair size) override {
        resizedWhileRunning |= session && session->Running();
        Buffer b;
        if (!b.Alloc(size)) return false;
        std::fill_n(b.pixels, size.x * size.y, 0u);
        picture = std::move(b);
        return true;
    }
    void ShowError(const QString& text) override { errors << text; }
    void Message(const QString& key) override { messages << key; }
    uint32_t Foreground() override { return 0xFFFFFF; }
    uint32_t Background() override { return 0x000000; }
    std::array<comp::ImageSlot, comp::MaxParams> Images() override { return {}; }
    int CurrentSlot() override { return 1; }
    bool ToolCurrent() override { return toolCurrent; }
    void EndTool() override {
        ++endTools;
        if (session && !deferEnd) session->End();
    }
    int UserLevel() override { return level; }

    Buffer picture, undo;
    Rect area{0, 0, -1, -1};
    comp::Session* session = nullptr;
    std::function<void()> onEvents;
    std::vector<int> steps;
    QStringList errors, messages;
    int exchanges = 0, changes = 0, repaints = 0, endTools = 0, level = 2;
    bool undoWorks = true, toolCurrent = true, resizedWhileRunning = false;
    bool deferEnd = false; // the program ends the tool later, as the shell does
};

// The probe component's test functions, through a handle of the test's own: it keeps the
// library (and what it recorded) loaded while sessions load and free it.
class Probe {
public:
    explicit Probe(const char* relative = "My.Effects/probe.ovc")
        : handle_(dlopen(CompPath(relative).toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL)) {
        if (handle_) Fn<void (*)()>("ProbeReset")();
    }
    ~Probe() {
        if (handle_) dlclose(handle_);
    }
    bool Loaded() const { return handle_ != nullptr; }

    std::vector<uint32_t> Commands() const {
        std::vector<uint32_t> out;
        for (int i = 0; i < Count(); ++i) out.push_back(Command(i));
        return out;
    }
    int Count() const { return Fn<int (*)()>("ProbeCount")(); }
    int CountOf(uint32_t command) const {
        int n = 0;
        for (uint32_t c : Commands()) n += c == command;
        return n;
    }
    uint32_t Command(int i) const { return Fn<uint32_t (*)(int)>("ProbeCommand")(i); }
    const uint8_t* Values(int i) const { return Fn<const uint8_t* (*)(int)>("ProbeValues")(i); }
    const OvcEnv& Env(int i) const { return *Fn<const OvcEnv* (*)(int)>("ProbeEnv")(i); }
    const OvcClick& Click(int i) const { return *Fn<const OvcClick* (*)(int)>("ProbeClick")(i); }
    int Depth(int i) const { return Fn<int (*)(int)>("ProbeDepth")(i); }
    // The record of the last command of that number.
    int Last(uint32_t command) const {
        for (int i = Count() - 1; i >= 0; --i)
            if (Command(i) == command) return i;
        return -1;
    }
    void ThrowOn(uint32_t command) const { Fn<void (*)(uint32_t)>("ProbeThrowOn")(command); }
    void SendOn(uint32_t on, uint32_t message, uintptr_t w, intptr_t l, int times = 1) const {
        Fn<void (*)(uint32_t, uint32_t, uintptr_t, intptr_t, int)>("ProbeSendOn")(on, message, w, l,
                                                                                  times);
    }
    std::vector<intptr_t> Answers() const {
        std::vector<intptr_t> out;
        for (int i = 0; i < Fn<int (*)()>("ProbeAnswerCount")(); ++i)
            out.push_back(Fn<intptr_t (*)(int)>("ProbeAnswer")(i));
        return out;
    }
    void Stepping(bool on) const { Fn<void (*)(int)>("ProbeStepping")(on); }

private:
    template <typename F> F Fn(const char* name) const {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }
    void* handle_;
};

// A session over the probe (or another test component) with a fake panel and program.
struct Rig {
    explicit Rig(const char* relative = "My.Effects/probe.ovc", int w = 100, int h = 50)
        : component(Record(relative)), host(w, h), session(component, host, panel, nullptr) {
        host.session = &session;
        original = host.picture;
    }
    comp::Component component;
    FakePanel panel;
    FakeHost host;
    comp::Session session;
    Buffer original;
};

} // namespace comptest
