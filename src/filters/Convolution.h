#pragma once

#include "filters/AcfFile.h"

#include <array>
#include <cstdint>

class Buffer;

// The custom convolution: a 3 x 3 or 5 x 5 kernel of single-precision weights, edges clamped.
namespace conv {

inline constexpr float kZeroWeight = 0.0039062f; // |weight| up to this counts as zero

struct Kernel {
    int size = 3;              // 3 or 5
    std::array<float, 25> w{}; // size x size, row by row
    float bias = 0;
    // The settings the weights come from (cell / divisor), size x size row by row; a divisor
    // of 0 means there are none and every pixel takes the floating-point sums.
    std::array<int16_t, 25> cells{};
    int divisor = 0;
};

// The 3 x 3 kernel of the centre cells when every outer cell's weight counts as zero.
Kernel MakeKernel(const ConvolutionSettings& s);

// Rows [y0, y1) of dest (image coordinates; dest may be a view of part of the image) from
// source, the whole image before filtering. Pixels whose kernel lies inside the image sum in
// double precision, which is exact for the settings' ranges, then round to nearest even; the
// others sum in single precision, bias first and the taps row by row. Results clamp to 0..255.
void Rows(const Kernel& k, const Buffer& source, Buffer& dest, int y0, int y1);

} // namespace conv
