#include "filters/AcfFile.h"

#include "raster/SafeFile.h"

#include <QFile>

#include <algorithm>

void ConvolutionSettings::Clamp() {
    for (int16_t& c : cells) c = int16_t(std::clamp<int>(c, kCellMin, kCellMax));
    divisor = std::clamp(divisor, kDivisorMin, kDivisorMax);
    bias = std::clamp(bias, kBiasMin, kBiasMax);
}

namespace acf {

QByteArray Write(const ConvolutionSettings& s) {
    QByteArray out;
    auto put = [&out](int v) {
        const uint16_t u = uint16_t(int16_t(v));
        out += char(u >> 8);
        out += char(u & 255);
    };
    for (int16_t c : s.cells) put(c);
    put(s.divisor);
    put(s.bias);
    return out;
}

void Read(const QByteArray& bytes, ConvolutionSettings& s) {
    const int values = int(std::min<qsizetype>(bytes.size(), kFileSize) / 2);
    for (int i = 0; i < values; ++i) {
        const int v = int16_t(uint16_t(uint8_t(bytes[2 * i]) << 8 | uint8_t(bytes[2 * i + 1])));
        if (i < 25)
            s.cells[i] = int16_t(v);
        else if (i == 25)
            s.divisor = v;
        else
            s.bias = v;
    }
    s.Clamp();
}

AcfResult Load(const QString& name, ConvolutionSettings& s) {
    QFile file;
    if (!OpenRegularFile(file, name)) return AcfResult::CantOpen;
    Read(file.read(kFileSize), s);
    return AcfResult::Ok;
}

bool Save(const QString& name, const ConvolutionSettings& s) {
    return SafeWriteFile(name, Write(s));
}

} // namespace acf
