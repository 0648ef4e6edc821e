#include "files/PaletteFile.h"

#include "color/QuickPalette.h"
#include "raster/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace {

// Reads numbers the way "%d" and "%X" do: leading white space, an optional sign, digits (and an
// optional 0x before hexadecimal ones). Over-long numbers never overflow: decimals saturate,
// hexadecimal values keep their low 32 bits.
class NumberScanner {
public:
    explicit NumberScanner(QByteArrayView text) : text_(text) {}

    std::optional<int> Decimal() {
        SkipSpace();
        qsizetype p = pos_;
        const bool negative = Sign(p);
        int64_t magnitude = 0;
        const qsizetype first = p;
        for (; p < text_.size() && IsDigit(text_[p]); ++p)
            magnitude = std::min<int64_t>(magnitude * 10 + (text_[p] - '0'), int64_t(INT_MAX) + 1);
        if (p == first) return std::nullopt;
        pos_ = p;
        const int64_t value = negative ? -magnitude : magnitude;
        return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
    }

    std::optional<uint32_t> Hex() {
        SkipSpace();
        qsizetype p = pos_;
        const bool negative = Sign(p);
        // "0x" counts as digits read even with none after it.
        bool digits = false;
        if (p + 1 < text_.size() && text_[p] == '0' && (text_[p + 1] | 0x20) == 'x') {
            p += 2;
            digits = true;
        }
        uint32_t value = 0;
        for (int d; p < text_.size() && (d = HexDigit(text_[p])) >= 0; ++p) {
            value = (value << 4) | uint32_t(d);
            digits = true;
        }
        if (!digits) return std::nullopt;
        pos_ = p;
        return negative ? 0u - value : value;
    }

    // Past whatever could not be read, up to the next white space.
    void SkipToken() {
        SkipSpace();
        while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    }

    bool AtEnd() {
        SkipSpace();
        return pos_ >= text_.size();
    }

private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexDigit(char c) {
        if (IsDigit(c)) return c - '0';
        const char lower = char(c | 0x20);
        return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
    }
    bool Sign(qsizetype& p) const {
        if (p >= text_.size() || (text_[p] != '-' && text_[p] != '+')) return false;
        return text_[p++] == '-';
    }
    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    }

    QByteArrayView text_;
    qsizetype pos_ = 0;
};

} // namespace

void ReadPaletteText(QByteArrayView text, QuickPalette& palette) {
    NumberScanner scanner(text.first(std::min(text.size(), kPaletteReadLimit)));
    const std::optional<int> count = scanner.Decimal();
    if (!count) return;
    palette.Rebuild(*count);
    for (int cell = 0; cell < palette.Count() && !scanner.AtEnd(); ++cell) {
        if (const std::optional<uint32_t> value = scanner.Hex())
            palette.SetColour(cell, *value);
        else
            scanner.SkipToken();
    }
}

QByteArray PaletteText(const QuickPalette& palette) {
    QByteArray text = QByteArray::number(palette.Count()) + '\n';
    for (uint32_t colour : palette.Colours())
        text += QByteArray::number(colour & 0xFFFFFF, 16).toUpper().rightJustified(6, '0') + '\n';
    return text;
}

PaletteFileResult ReadPaletteFile(const QString& name, QuickPalette& palette) {
    QFile file;
    if (!OpenRegularFile(file, name)) return PaletteFileResult::Failed;
    const QByteArray text = file.read(kPaletteReadLimit);
    ReadPaletteText(text, palette);
    return PaletteFileResult::Ok;
}

PaletteFileResult WritePaletteFile(const QString& name, const QuickPalette& palette) {
    return SafeWriteFile(name, PaletteText(palette)) ? PaletteFileResult::Ok
                                                     : PaletteFileResult::Failed;
}
