// libFuzzer target: the small text formats a user or translator hands us — palette files and
// option bar definitions — on any bytes.
#include "color/QuickPalette.h"
#include "files/PaletteFile.h"
#include "tools/OptionBarDef.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuickPalette palette;
    ReadPaletteText(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), palette);
    const int n = palette.Count();
    if (n != 8 && n != 12 && n != 16 && n != 24 && n != 32) __builtin_trap();
    for (int i = 0; i < n; ++i)
        if (palette.Colour(i) > 0xFFFFFF) __builtin_trap();

    const OptionBarDef bar = OptionBarDef::Parse(
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    const int controls = bar.ControlCount();
    if (controls < 0 || controls > OptionBarDef::MaxControls) __builtin_trap();
    for (int i = 0; i < controls; ++i) {
        const OptionEntry* e = bar.Control(i);
        if (!e || e->index != i || e->level < 0 || e->level > OptionBarDef::MaxLevel)
            __builtin_trap();
        if (e->minimum > e->maximum) __builtin_trap();
        if ((e->kind == OptionKind::Integer || e->kind == OptionKind::Real) &&
            (e->value < e->minimum || e->value > e->maximum))
            __builtin_trap();
    }
    if (bar.Control(controls) != nullptr || bar.Control(-1) != nullptr) __builtin_trap();
    return 0;
}
