#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// A compiled channel: the straight-line stack program of the language (an accumulator and a
// value stack, forward jumps only for the conditional), with its error state.
namespace ff {

struct StackOp {
    enum Kind : uint8_t { Const, Oper, Sym };
    Kind kind = Const;
    uint8_t code = 0;  // operation number (Oper) or symbol (Sym)
    int32_t value = 0; // the constant, or the jump target of a conditional's test or then-end
};

struct ChannelProgram {
    std::vector<StackOp> ops;
    bool failed = false;
    int errorOffset = 0; // scanner position when the error was found
    int size = 0;        // bytes charged, frame included
    uint32_t uses = 0;   // VarBit set
    // put or rnd: results depend on pixel order, so the channel runs pixel by pixel.
    bool ordered = false;
};

struct CompiledFilter {
    std::array<ChannelProgram, 3> channels;
    uint32_t uses = 0; // the OR of the channels' sets: what the pixel preparation computes
    bool Ordered() const {
        return channels[0].ordered || channels[1].ordered || channels[2].ordered;
    }
};

inline constexpr int kMaxText = 1023; // bytes of an expression; the rest is cut off

// Never fails as a whole: a faulty channel becomes the constant 0 with its error offset.
ChannelProgram CompileChannel(std::string_view text, int channel);
CompiledFilter CompileAll(const std::array<std::string_view, 3>& texts);

} // namespace ff
