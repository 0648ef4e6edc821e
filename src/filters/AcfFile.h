#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// The custom convolution filter's settings and their 54-byte file: 27 signed 16-bit values,
// high byte first: the 25 cells row by row, the divisor, the bias.
struct ConvolutionSettings {
    static constexpr int kCellMin = -999, kCellMax = 999;
    static constexpr int kDivisorMin = 1, kDivisorMax = 9999;
    static constexpr int kBiasMin = -9999, kBiasMax = 9999;

    std::array<int16_t, 25> cells{0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1,
                                  1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0};
    int divisor = 9;
    int bias = 0;

    // Every value into the dialog's ranges: a divisor of 0 would make every weight infinite.
    void Clamp();
};

enum class AcfResult { Ok, CantOpen };

namespace acf {

inline constexpr int kFileSize = 54;

QByteArray Write(const ConvolutionSettings& s);
// Takes the values the bytes hold (a short file sets only those present), clamped.
void Read(const QByteArray& bytes, ConvolutionSettings& s);

AcfResult Load(const QString& name, ConvolutionSettings& s);
bool Save(const QString& name, const ConvolutionSettings& s);

} // namespace acf
