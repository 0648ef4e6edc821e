#include "raster/SineTable.h"

#include <array>
#include <cmath>

namespace sine {

namespace {

std::array<int32_t, Entries> Build() {
    std::array<int32_t, Entries> t{};
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < Entries; ++k)
        t[size_t(k)] = int32_t(std::trunc(Unit * std::sin(2 * pi * k / Steps)));
    return t;
}

} // namespace

std::span<const int32_t, Entries> Table() {
    static const std::array<int32_t, Entries> table = Build();
    return table;
}

} // namespace sine
