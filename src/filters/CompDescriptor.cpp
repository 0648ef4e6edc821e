#include "filters/CompDescriptor.h"

#include "lang/Language.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace comp {

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// sscanf-like reading of a definition's values: numbers skip leading blanks, literals do not.
class Reader {
public:
    explicit Reader(std::string_view s) : s_(s) {}

    bool Int(int& out) {
        SkipBlanks();
        size_t p = pos_;
        bool negative = false;
        if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) negative = s_[p++] == '-';
        const size_t digits = p;
        int64_t v = 0;
        while (p < s_.size() && s_[p] >= '0' && s_[p] <= '9') {
            v = v * 10 + (s_[p++] - '0');
            if (v > int64_t(std::numeric_limits<int>::max()) + 1) return false;
        }
        if (p == digits) return false;
        v = negative ? -v : v;
        if (v > std::numeric_limits<int>::max()) return false;
        out = int(v);
        pos_ = p;
        return true;
    }

    bool Hex(uint32_t& out) {
        SkipBlanks();
        size_t p = pos_;
        if (p + 1 < s_.size() && s_[p] == '0' && (s_[p + 1] == 'x' || s_[p + 1] == 'X')) p += 2;
        uint64_t v = 0;
        const size_t digits = p;
        for (; p < s_.size(); ++p) {
            const char c = s_[p];
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                break;
            v = std::min<uint64_t>((v << 4) | unsigned(d), 0xFFFFFFFFu);
        }
        if (p == digits) return false;
        out = uint32_t(v);
        pos_ = p;
        return true;
    }

    // Decimal numbers with "." whatever the locale; only finite values.
    bool Double(double& out) {
        SkipBlanks();
        size_t p = pos_;
        if (p < s_.size() && s_[p] == '+') ++p;
        double v = 0;
        const auto r = std::from_chars(s_.data() + p, s_.data() + s_.size(), v);
        if (r.ec != std::errc() || !std::isfinite(v)) return false;
        out = v;
        pos_ = size_t(r.ptr - s_.data());
        return true;
    }

    bool Literal(char c) {
        if (pos_ >= s_.size() || s_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    // Up to the next "," (consumed) or the end.
    std::string_view Field(bool& comma) {
        const size_t end = s_.find(',', pos_);
        comma = end != std::string_view::npos;
        const std::string_view f = s_.substr(pos_, (comma ? end : s_.size()) - pos_);
        pos_ = comma ? end + 1 : s_.size();
        return f;
    }

private:
    void SkipBlanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' ||
                                    s_[pos_] == '\v' || s_[pos_] == '\f' || s_[pos_] == '\r'))
            ++pos_;
    }

    std::string_view s_;
    size_t pos_ = 0;
};

// Values separated by "," read in order; after the first that does not scan nothing more is
// read, as with sscanf.
struct Chain {
    explicit Chain(Reader& reader) : r(reader) {}
    Chain& Int(int& v) {
        return Next([&] { return r.Int(v); });
    }
    Chain& Double(double& v) {
        return Next([&] { return r.Double(v); });
    }
    Chain& Hex(uint32_t& v) {
        return Next([&] { return r.Hex(v); });
    }

    template <typename Read> Chain& Next(Read read) {
        if (ok && count > 0) ok = r.Literal(',');
        if (ok) ok = read();
        count += ok;
        return *this;
    }

    Reader& r;
    bool ok = true;
    int count = 0;
};

// What a Qt spin edit or slider does with such a range: highest below lowest becomes lowest,
// and the value lies within; the packed initial value then agrees with the control.
template <typename T> void Normalise(T& lowest, T& highest, T& initial) {
    highest = std::max(highest, lowest);
    initial = std::clamp(initial, lowest, highest);
}

int32_t Saturate(double v) {
    if (!(v >= -2147483648.0)) return std::numeric_limits<int32_t>::min();
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    return int32_t(std::lround(v));
}

// A pixel position as a fraction of 65535 over span pixels; a span of 0 (a picture one pixel
// wide or high) gives 0 instead of dividing by zero.
uint32_t Fraction(int position, int span) {
    if (span <= 0) return 0;
    const double f = std::round(double(position) * 65535.0 / span);
    return uint32_t(std::clamp(f, 0.0, 65535.0));
}

} // namespace

int ParamDef::PackedSize() const {
    switch (type) {
    case ParamType::None:
    case ParamType::Button:
        return 0;
    case ParamType::Decimal:
        return 8;
    default:
        return 4;
    }
}

int Descriptor::ControlCount() const {
    return int(
        std::count_if(params.begin(), params.end(), [](const ParamDef& p) { return p.Defined(); }));
}

NameTranslator Translator(const Language& language) {
    return [&language](const QString& name) { return language.TranslateName(name); };
}

std::string_view FindKey(std::string_view text, std::string_view key) {
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    std::string_view value = text.substr(at + key.size());
    // A value ends at CR; a bare LF ends it too, so a text written with "\n" cannot run one
    // value into the next and put line breaks into labels.
    value = value.substr(0, std::min(value.find_first_of("\r\n"), value.size()));
    return value.substr(0, std::min<size_t>(value.size(), MaxValueLength));
}

std::optional<double> ParseVersion(std::string_view value) {
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    if (value.empty()) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(value.data(), value.data() + value.size(), v);
    if (r.ec != std::errc() || r.ptr != value.data() + value.size()) return std::nullopt;
    return v;
}

bool VersionAccepted(std::optional<double> version) {
    return version && *version >= 1.48 && *version < 2.0;
}

ParamDef ParseParam(std::string_view value) {
    value = value.substr(0, std::min<size_t>(value.size(), MaxValueLength));
    if (value.size() < 3) return {};
    ParamDef d;
    d.letter = value[0];
    size_t pos = 1;
    if (value[pos] >= '0' && value[pos] <= '9') d.level = value[pos++] - '0';
    if (value[pos] != ',') return {};
    Reader r(value.substr(pos + 1));
    bool comma = false;
    d.label = Text(r.Field(comma));
    if (d.letter == 'B') {
        d.type = ParamType::Button;
        return d;
    }
    // Read as sscanf reads: value after value until one does not scan, the rest keep their
    // defaults; a definition whose first value does not scan is skipped.
    Chain c(r);
    if (!comma) return {};
    switch (d.letter) {
    case 'C':
        if (c.Int(d.initial).count < 1) return {};
        d.initial = d.initial != 0;
        d.type = ParamType::Check;
        return d;
    case 'I':
    case 'S':
        if (c.Int(d.lowest).Int(d.highest).Int(d.initial).count < 1) return {};
        Normalise(d.lowest, d.highest, d.initial);
        d.type = d.letter == 'I' ? ParamType::Integer : ParamType::Slider;
        return d;
    case 'F':
        if (c.Int(d.decimals)
                .Double(d.step)
                .Double(d.lowestD)
                .Double(d.highestD)
                .Double(d.initialD)
                .count < 1)
            return {};
        d.decimals = std::clamp(d.decimals, 0, 10);
        if (!(d.step > 0)) d.step = std::pow(10.0, -d.decimals);
        Normalise(d.lowestD, d.highestD, d.initialD);
        d.type = ParamType::Decimal;
        return d;
    case 'L': {
        int count = 0;
        if (c.Int(count).count < 1 || count < 0 || count > MaxListItems) return {};
        if (c.ok && r.Literal(',')) {
            // Every item is followed by "," (the last one by the "," before the initial item).
            for (int i = 0; i < count; ++i) {
                const std::string_view item = r.Field(comma);
                if (!comma) break;
                d.items << Text(item);
            }
            if (d.items.size() == count) r.Int(d.initial);
        }
        d.initial = std::clamp(d.initial, 1, std::max(1, int(d.items.size())));
        d.type = ParamType::List;
        return d;
    }
    case 'O':
        if (c.Hex(d.colour).count < 1) return {};
        d.colour &= 0xFFFFFF;
        d.type = ParamType::Colour;
        return d;
    case 'P':
        if (c.Int(d.pointX).Int(d.pointY).count < 1) return {};
        d.type = ParamType::Point;
        return d;
    case 'G':
        if (c.Int(d.initial).count < 1) return {};
        d.initial = std::clamp(d.initial, 1, MaxParams);
        d.type = ParamType::Image;
        return d;
    default:
        return {};
    }
}

std::optional<Descriptor> ParseDescriptor(std::string_view text, const NameTranslator& translate) {
    text = text.substr(0, std::min<size_t>(text.size(), MaxDescriptorLength));
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    const std::optional<double> version = ParseVersion(FindKey(text, "Ver="));
    if (!VersionAccepted(version)) return std::nullopt;
    Descriptor d;
    d.version = float(*version);
    d.name = Text(FindKey(text, "Name="));
    const std::string_view help = FindKey(text, "Help=");
    if (const size_t comma = help.find(','); comma != std::string_view::npos) {
        d.helpFile = Text(help.substr(0, comma));
        int context = 100;
        Reader r(help.substr(comma + 1));
        if (r.Int(context)) d.helpContext = context;
    } else if (!help.empty()) {
        const QString upper = Text(help).toUpper();
        d.helpFile = translate ? translate(upper) : upper;
    }
    d.copyright = Text(FindKey(text, "Copyright="));
    d.contact = Text(FindKey(text, "Contact="));
    d.options = Text(FindKey(text, "Opt="));
    d.icon = Text(FindKey(text, "Icon="));
    for (int i = 0; i < MaxParams; ++i) {
        const std::string key = "Par" + std::to_string(i + 1) + "=";
        d.params[size_t(i)] = ParseParam(FindKey(text, key));
    }
    return d;
}

ParamValue InitialValue(const ParamDef& def) {
    ParamValue v;
    switch (def.type) {
    case ParamType::Decimal:
        v.number = def.initialD;
        break;
    case ParamType::Colour:
        v.colour = def.colour;
        break;
    case ParamType::Point:
        v.x = def.pointX;
        v.y = def.pointY;
        break;
    default:
        v.number = def.initial;
        break;
    }
    return v;
}

ParamValues InitialValues(const Descriptor& descriptor) {
    ParamValues values{};
    for (int i = 0; i < MaxParams; ++i)
        values[size_t(i)] = InitialValue(descriptor.params[size_t(i)]);
    return values;
}

void Pack(const Descriptor& descriptor, const ParamValues& values, Rect area, Values& out) {
    size_t offset = 0;
    for (int i = 0; i < MaxParams; ++i) {
        const ParamDef& def = descriptor.params[size_t(i)];
        const ParamValue& v = values[size_t(i)];
        int32_t word = 0;
        switch (def.type) {
        case ParamType::None:
        case ParamType::Button:
            continue;
        case ParamType::Decimal: {
            const double d = v.number;
            std::memcpy(out.data() + offset, &d, sizeof d);
            offset += sizeof d;
            continue;
        }
        case ParamType::Check:
            word = v.number != 0;
            break;
        case ParamType::Colour:
            word = int32_t(v.colour & 0xFFFFFF);
            break;
        case ParamType::Point:
            word = int32_t((Fraction(v.x - area.left, area.right - area.left) << 16) |
                           Fraction(v.y - area.top, area.bottom - area.top));
            break;
        default:
            word = Saturate(v.number);
            break;
        }
        std::memcpy(out.data() + offset, &word, sizeof word);
        offset += sizeof word;
    }
}

ParamValue PointFromFraction(uint32_t packed, Rect area) {
    ParamValue v;
    v.x = area.left + int(int64_t(packed >> 16) * std::max(0, area.right - area.left) / 65535);
    v.y = area.top + int(int64_t(packed & 0xFFFF) * std::max(0, area.bottom - area.top) / 65535);
    return v;
}

} // namespace comp
