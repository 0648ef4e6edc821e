#pragma once

#include <cstdint>
#include <span>

// The one sine table of the program: entry k is trunc(512 · sin(2πk / 1024)) for k = 0 … 1279, so
// the cosine of step k is entry k + 256 without wrapping. The ellipses, the expression filters
// and the component records all read this table, so they agree to the last unit.
namespace sine {

inline constexpr int Steps = 1024;   // a full turn
inline constexpr int Entries = 1280; // a turn and a quarter
inline constexpr int Unit = 512;     // the value of sin(π/2)

std::span<const int32_t, Entries> Table();

} // namespace sine
