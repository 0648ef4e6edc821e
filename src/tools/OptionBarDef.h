#pragma once

// An option bar as described by its one-line definition text: a caption, then entries that each
// start with a type field ("L" a list, "LL" the same for Expert users only, ...).

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

enum class OptionKind {
    Button,    // B: push button
    Check,     // C: check box
    Real,      // F: label + real number field
    Integer,   // I: label + integer number field
    List,      // L: label + drop-down list
    FontList,  // N: font-name list
    Swatch,    // O: label + colour swatch
    Picture,   // P: picture toggle button
    Separator, // S
    Text,      // T: text label
};

struct OptionEntry {
    OptionKind kind = OptionKind::Separator;
    int level = 0;   // length of the type field - 1; shown while level <= the Level preference
    int index = -1;  // control table index; -1 for separators and text labels
    QString caption; // B C T: caption; F I L O: the label's caption; P: glyph resource name
    QString hint;
    QStringList items;   // L
    int decimals = 0;    // F
    double minimum = 0;  // F I
    double maximum = 0;  // F I
    double value = 0;    // F I: initial value, within minimum..maximum; C: 1 ticked, 0 not
    uint32_t colour = 0; // O: 0x00RRGGBB
};

struct OptionBarDef {
    static constexpr int MaxControls = 32;
    // Beyond these an absurd definition stops growing the bar.
    static constexpr int MaxEntries = 128;
    static constexpr int MaxLevel = 255;
    static constexpr int MaxDecimals = 15;

    QString caption;
    std::vector<OptionEntry> entries; // in definition order

    int ControlCount() const;
    // The entry holding control index, or null.
    const OptionEntry* Control(int index) const;

    // Any text parses: missing fields read as empty or 0, numbers that do not parse as 0, a
    // list count larger than the fields left takes what is left, unknown types are skipped with
    // no fields. Numbers always use "." as the decimal separator, whatever the locale.
    static OptionBarDef Parse(const QString& text);
};
