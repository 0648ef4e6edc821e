#pragma once

#include <cstdint>

// The runtime's classic linear congruential generator, one per tool, never the C library's
// shared one: a tool's dabs do not depend on who else drew numbers, and tests can seed it.
class SeededRandom {
public:
    static constexpr int Max = 32767;

    explicit SeededRandom(uint32_t seed = 1) : seed_(seed) {}
    void Seed(uint32_t seed) { seed_ = seed; }
    // 0 .. 32767: bits 16 .. 30 of the next state.
    int Next() {
        seed_ = seed_ * 22695477u + 1u;
        return int((seed_ >> 16) & 0x7FFF);
    }
    // 0 .. n - 1 for n > 0, as "rand mod n".
    int Below(int n) { return Next() % n; }

private:
    uint32_t seed_;
};
