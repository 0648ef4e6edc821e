#pragma once

#include "raster/Geometry.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

class Language;

// The descriptor text of a component and the packed values of its parameters. Headless and
// free of any library handle, so the parsers can be fed anything (they are fuzzed).
namespace comp {

inline constexpr int MaxParams = 10;
inline constexpr int ValuesSize = 80;
// A component's texts are its author's: only this much of the descriptor is read, and each
// value is cut to MaxValueLength bytes.
inline constexpr int MaxDescriptorLength = 64 * 1024;
inline constexpr int MaxValueLength = 1024;
// Items of a list parameter beyond this are ignored.
inline constexpr int MaxListItems = 256;

// Type codes of the component record.
enum class ParamType : int {
    None = 0,
    Integer = 1,
    Decimal = 2,
    Button = 3,
    Check = 4,
    Slider = 5,
    List = 6,
    Colour = 7,
    Point = 8,
    Image = 9,
};

// One "ParN=" definition. Labels and list items are kept untranslated (see TranslateName).
struct ParamDef {
    ParamType type = ParamType::None;
    char letter = 0; // 'B', 'C', 'F', 'G', 'I', 'L', 'O', 'P', 'S'
    int level = 0;   // the digit after the letter, 0 when none
    QString label;

    // Integer and slider: lowest, highest, initial. Check: initial (0 or 1). Image: the initial
    // image number in initial. List: the initial item (from 1) in initial.
    int lowest = 0, highest = 0, initial = 0;
    // Decimal.
    int decimals = 0;
    double step = 0, lowestD = 0, highestD = 0, initialD = 0;
    QStringList items;          // list
    uint32_t colour = 0;        // colour, 0x00RRGGBB
    int pointX = 0, pointY = 0; // point, in image pixels

    bool Defined() const { return type != ParamType::None; }
    // Bytes this parameter takes in the packed values: 0, 4 or 8.
    int PackedSize() const;
    // Built but hidden when its level is above the user's level + 1.
    bool HiddenAt(int userLevel) const { return level > userLevel + 1; }
};

// The current value of one parameter control.
struct ParamValue {
    // Integer, decimal and slider values; check box 0 or 1; list item from 1; image number.
    double number = 0;
    uint32_t colour = 0; // colour swatch, 0x00RRGGBB
    int x = 0, y = 0;    // point, in image pixels
    bool operator==(const ParamValue&) const = default;
};
using ParamValues = std::array<ParamValue, MaxParams>;

// The 80-byte block of command 4494.
using Values = std::array<uint8_t, ValuesSize>;

struct Descriptor {
    float version = 0;
    QString name;
    QString helpFile;
    int helpContext = 100;
    QString copyright;
    QString contact;
    QString options; // "W": instant preview, "P": full preview button
    QString icon;    // a PNG file beside the component; empty for none
    std::array<ParamDef, MaxParams> params;

    bool HasOption(char letter) const { return options.contains(QLatin1Char(letter)); }
    // Parameters that get a control (every defined one).
    int ControlCount() const;
};

// Translates a name (the "~name" lookup); empty means names stay as they are.
using NameTranslator = std::function<QString(const QString&)>;
NameTranslator Translator(const Language& language);

// The value of key (with its "="): first occurrence, case-sensitive, up to the next CR or the
// end; empty when the key is missing. Cut to MaxValueLength bytes.
std::string_view FindKey(std::string_view text, std::string_view key);

// The version of a "Ver=" value, read with "." whatever the locale; nothing when empty or not a
// number.
std::optional<double> ParseVersion(std::string_view value);
bool VersionAccepted(std::optional<double> version);

// One parameter definition; an undefined ParamDef when it is skipped (too short, unknown letter,
// values that do not scan).
ParamDef ParseParam(std::string_view value);

// The whole descriptor; nothing when its version is outside 1.48 <= v < 2. translate turns the
// upper-cased help file of a "Help=" without "," into its translation.
std::optional<Descriptor> ParseDescriptor(std::string_view text,
                                          const NameTranslator& translate = {});

// The definition's initial value.
ParamValue InitialValue(const ParamDef& def);
ParamValues InitialValues(const Descriptor& descriptor);

// Packs the values of the defined parameters in place order into out (4 bytes, 8 for decimals,
// none for buttons and skipped places); the rest of out is left as it was. Points are scaled
// over area (the current image's rectangle); an area one pixel wide or high gives 0 there.
void Pack(const Descriptor& descriptor, const ParamValues& values, Rect area, Values& out);

// A point's packed 32 bits (x in the high, y in the low half, fractions of 65535) in pixels of
// area; the inverse of what Pack does, as message 5497 uses it.
ParamValue PointFromFraction(uint32_t packed, Rect area);

} // namespace comp

namespace comp {

// One found component: what the scan read, and the values that live as long as the program.
struct Component {
    QString path;     // the library's full path
    QString category; // upper-case folder category, empty at the top of Comps
    Descriptor descriptor;
    QString iconPath; // the PNG beside the library named by "Icon=", empty when none
    int icon = -1;    // the program's command icon number, -1 for none (set by the shell)
    QString helpPath; // the HTML beside the library named by "Help=", empty when none

    // Kept between runs: the controls' values, their packed form and the initial packed values.
    ParamValues current{};
    Values currentPacked{};
    Values initialPacked{};
    bool valuesSet = false;
};

} // namespace comp
