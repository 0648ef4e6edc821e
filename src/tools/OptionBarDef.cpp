#include "tools/OptionBarDef.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

// Translators write numbers with "."; the C locale reads them so on every system.
double ParseReal(const QString& field) {
    bool ok = false;
    const double v = QLocale::c().toDouble(field.trimmed(), &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

int ParseInt(const QString& field) {
    bool ok = false;
    const int v = QLocale::c().toInt(field.trimmed(), &ok);
    if (ok) return v;
    // "2.0" still means 2; anything else is 0.
    const double d = ParseReal(field);
    return int(std::trunc(std::clamp(d, double(INT_MIN), double(INT_MAX))));
}

uint32_t ParseColour(const QString& field) {
    bool ok = false;
    const uint v = field.trimmed().toUInt(&ok, 16);
    return ok ? v & 0xFFFFFFu : 0u;
}

class Fields {
public:
    explicit Fields(const QStringList& fields) : fields_(fields) {}
    bool AtEnd() const { return pos_ >= fields_.size(); }
    qsizetype Left() const { return fields_.size() - pos_; }
    QString Next() { return AtEnd() ? QString() : fields_[pos_++]; }

private:
    const QStringList& fields_;
    qsizetype pos_ = 0;
};

void ReadRange(OptionEntry& e, Fields& f, bool integer) {
    auto number = [&](const QString& s) { return integer ? double(ParseInt(s)) : ParseReal(s); };
    e.minimum = number(f.Next());
    e.maximum = number(f.Next());
    e.value = number(f.Next());
    if (e.minimum > e.maximum) std::swap(e.minimum, e.maximum);
    e.value = std::clamp(e.value, e.minimum, e.maximum);
}

// Reads the fields of one entry; false for a type we do not know (it has no fields).
bool ReadEntry(QChar type, OptionEntry& e, Fields& f) {
    switch (type.unicode()) {
    case 'B':
        e.kind = OptionKind::Button;
        e.caption = f.Next();
        break;
    case 'C':
        e.kind = OptionKind::Check;
        e.caption = f.Next();
        e.value = ParseInt(f.Next()) != 0 ? 1 : 0;
        break;
    case 'F':
        e.kind = OptionKind::Real;
        e.caption = f.Next();
        e.decimals = std::clamp(ParseInt(f.Next()), 0, OptionBarDef::MaxDecimals);
        ReadRange(e, f, false);
        break;
    case 'I':
        e.kind = OptionKind::Integer;
        e.caption = f.Next();
        ReadRange(e, f, true);
        break;
    case 'L': {
        e.kind = OptionKind::List;
        e.caption = f.Next();
        const int count = ParseInt(f.Next()); // before Left(): it takes a field
        const qsizetype n = std::clamp<qsizetype>(count, 0, f.Left());
        for (qsizetype i = 0; i < n; ++i) e.items << f.Next();
        break;
    }
    case 'N':
        e.kind = OptionKind::FontList;
        break;
    case 'O':
        e.kind = OptionKind::Swatch;
        e.caption = f.Next();
        e.colour = ParseColour(f.Next());
        break;
    case 'P':
        e.kind = OptionKind::Picture;
        e.caption = f.Next();
        break;
    case 'S':
        e.kind = OptionKind::Separator;
        return true; // no hint either
    case 'T':
        e.kind = OptionKind::Text;
        e.caption = f.Next();
        break;
    default:
        return false;
    }
    e.hint = f.Next();
    return true;
}

bool Indexed(OptionKind k) {
    return k != OptionKind::Separator && k != OptionKind::Text;
}

} // namespace

OptionBarDef OptionBarDef::Parse(const QString& text) {
    OptionBarDef def;
    const QStringList list = text.split(QLatin1Char(','));
    Fields f(list);
    def.caption = f.Next();
    int controls = 0;
    while (!f.AtEnd()) {
        const QString type = f.Next();
        OptionEntry e;
        if (type.isEmpty() || !ReadEntry(type.front(), e, f)) continue;
        if (int(def.entries.size()) >= MaxEntries) continue; // keep reading: fields stay aligned
        e.level = int(std::min<qsizetype>(type.size() - 1, MaxLevel));
        if (Indexed(e.kind)) {
            if (controls >= MaxControls) continue;
            e.index = controls++;
        }
        def.entries.push_back(std::move(e));
    }
    return def;
}

int OptionBarDef::ControlCount() const {
    int n = 0;
    for (const OptionEntry& e : entries) n += e.index >= 0;
    return n;
}

const OptionEntry* OptionBarDef::Control(int index) const {
    if (index < 0) return nullptr;
    for (const OptionEntry& e : entries)
        if (e.index == index) return &e;
    return nullptr;
}
