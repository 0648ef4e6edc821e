#pragma once

#include "filters/FFContext.h"
#include "filters/FFProgram.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The stack programs of a filter turned into register code over chunks of a row: the stack is
// resolved at lowering time, a conditional becomes a selection between both parts (sound only
// without put and rnd, whose filters never come here), constants are folded (the store budget
// was charged before), and unused values are dropped.
namespace ff {

inline constexpr int kLanes = 128;

struct VInstr {
    enum Kind : uint8_t { Load, Binary, Unary, Select, Func };
    Kind kind = Load;
    uint8_t code = 0; // symbol (Load, Func) or operation number
    uint16_t dst = 0;
    std::array<uint16_t, 5> arg{};
};

struct VectorProgram {
    std::vector<VInstr> code;
    std::vector<std::pair<uint16_t, int32_t>> constants; // slot, value
    int slots = 0;
    std::array<uint16_t, 3> out{};
};

// ctx must be prepared: controls, size and source reads are folded into constants.
std::unique_ptr<VectorProgram> Lower(const CompiledFilter& filter, PixelContext& ctx);

// Fills the constant slots of regs (slots * kLanes values).
void FillConstants(const VectorProgram& program, std::vector<int32_t>& regs);
// Pixels x0 .. x0 + n - 1 (n <= kLanes) of source row y into dst[0 .. n - 1].
void RunChunk(const VectorProgram& program, int32_t* regs, PixelContext& ctx, int y, int x0, int n,
              uint32_t* dst);

} // namespace ff
