#pragma once

#include <functional>

// What tools may do with the controls of the current option bar, by control index. Indexes
// beyond the built controls read 0 and ignore writes.
class OptionBarHost {
public:
    virtual ~OptionBarHost() = default;
    // List and font list: selected index; number field: its value; check box and picture
    // button: 1 or 0; colour swatch: 0x00RRGGBB; anything else 0.
    virtual double Value(int index) const = 0;
    virtual void SetValue(int index, double value) = 0;
    // Replaces the control's handler; an empty one removes it.
    virtual void SetHandler(int index, std::function<void()> handler) = 0;
    // The colour swatch's pointer press.
    virtual void SetSwatchHandler(int, std::function<void()>) {}
    // A control whose feature is missing stays greyed out until the bar is built again.
    virtual void SetEnabled(int, bool) {}
};

// No bar at all: every control reads 0.
class NullOptionBarHost : public OptionBarHost {
public:
    double Value(int) const override { return 0; }
    void SetValue(int, double) override {}
    void SetHandler(int, std::function<void()>) override {}
};
