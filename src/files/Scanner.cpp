#include "files/Scanner.h"

#include "files/SaneLibrary.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

struct HandleCloser {
    void operator()(void* h) const {
        Sane().cancel(SANE_Handle(h));
        Sane().close(SANE_Handle(h));
    }
};
using DeviceHandle = std::unique_ptr<void, HandleCloser>;

// Sets one option by name; false when the device has no such option or refuses the value.
bool SetOption(SANE_Handle h, const QByteArray& name, const QByteArray& value) {
    SANE_Int count = 0;
    if (Sane().control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return false;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = Sane().get_option_descriptor(h, i);
        if (!d || !d->name || name != d->name) continue;
        if (!SANE_OPTION_IS_SETTABLE(d->cap)) return false;
        SANE_Int info = 0;
        switch (d->type) {
        case SANE_TYPE_BOOL: {
            SANE_Bool v = value == "yes" || value == "1" || value == "true";
            return Sane().control_option(h, i, SANE_ACTION_SET_VALUE, &v, &info) ==
                   SANE_STATUS_GOOD;
        }
        case SANE_TYPE_INT:
        case SANE_TYPE_FIXED: {
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (!ok || d->size < SANE_Int(sizeof(SANE_Word))) return false;
            std::vector<SANE_Word> words(size_t(d->size) / sizeof(SANE_Word),
                                         d->type == SANE_TYPE_INT ? SANE_Word(number)
                                                                  : SANE_FIX(number));
            return Sane().control_option(h, i, SANE_ACTION_SET_VALUE, words.data(), &info) ==
                   SANE_STATUS_GOOD;
        }
        case SANE_TYPE_STRING: {
            if (d->size <= 0 || value.size() >= d->size) return false;
            std::vector<char> text(size_t(d->size), '\0');
            std::copy(value.begin(), value.end(), text.begin());
            return Sane().control_option(h, i, SANE_ACTION_SET_VALUE, text.data(), &info) ==
                   SANE_STATUS_GOOD;
        }
        default:
            return false;
        }
    }
    return false;
}

struct Frame {
    SANE_Parameters p{};
    std::vector<uint8_t> bytes;
    int lines = 0; // whole lines read
};

// Reads one started frame to its end; the length is capped for scans of unknown length.
ScanResult ReadFrame(SANE_Handle h, Frame& f) {
    if (Sane().get_parameters(h, &f.p) != SANE_STATUS_GOOD) return ScanResult::DeviceError;
    const SANE_Parameters& p = f.p;
    if (p.bytes_per_line <= 0 || p.pixels_per_line <= 0 || p.pixels_per_line > 16384 ||
        (p.depth != 1 && p.depth != 8 && p.depth != 16))
        return ScanResult::DeviceError;
    const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    if (int64_t(p.bytes_per_line) * 8 < int64_t(p.pixels_per_line) * channels * p.depth)
        return ScanResult::DeviceError;
    const int maxLines =
        p.lines > 0 ? std::min(p.lines, ScannerSession::kMaxLines) : ScannerSession::kMaxLines;
    const size_t cap = size_t(maxLines) * size_t(p.bytes_per_line);
    f.bytes.reserve(p.lines > 0 ? cap : size_t(p.bytes_per_line) * 256);
    std::array<SANE_Byte, 65536> chunk;
    for (;;) {
        SANE_Int got = 0;
        const SANE_Status s = Sane().read(h, chunk.data(), SANE_Int(chunk.size()), &got);
        if (s == SANE_STATUS_EOF) break;
        if (s == SANE_STATUS_CANCELLED) return ScanResult::Cancelled;
        if (s != SANE_STATUS_GOOD) return ScanResult::DeviceError;
        if (got < 0 || size_t(got) > chunk.size()) return ScanResult::DeviceError;
        const size_t keep = std::min(size_t(got), cap - f.bytes.size());
        f.bytes.insert(f.bytes.end(), chunk.begin(), chunk.begin() + ptrdiff_t(keep));
        if (f.bytes.size() == cap) break; // long enough: the rest is dropped by the cancel
    }
    f.lines = int(f.bytes.size() / size_t(p.bytes_per_line));
    return f.lines > 0 ? ScanResult::Ok : ScanResult::DeviceError;
}

uint8_t Sample(const uint8_t* line, int index, int depth) {
    switch (depth) {
    case 1:
        return (line[index >> 3] >> (7 - (index & 7))) & 1 ? 255 : 0;
    case 16: { // machine byte order
        uint16_t v;
        std::memcpy(&v, line + 2 * index, 2);
        return uint8_t(v >> 8);
    }
    default:
        return line[index];
    }
}

void Put32(QByteArray& out, int at, uint32_t v) {
    for (int k = 0; k < 4; ++k) out[at + k] = char(v >> (8 * k));
}

// The 40-byte header of a top-down bitmap, then the colour table of grey levels.
QByteArray Header(int width, int height, int bpp, int greys) {
    QByteArray out(40 + 4 * greys, '\0');
    Put32(out, 0, 40);
    Put32(out, 4, uint32_t(width));
    Put32(out, 8, uint32_t(-height));
    out[12] = 1;
    out[14] = char(bpp);
    Put32(out, 32, uint32_t(greys));
    for (int i = 0; i < greys; ++i) {
        const uint32_t g = greys == 2 ? (i ? 0u : 255u) : uint32_t(i); // line art: 1 is ink
        Put32(out, 40 + 4 * i, g << 16 | g << 8 | g);
    }
    return out;
}

QByteArray Pack(const std::vector<Frame>& frames) {
    const SANE_Parameters& p = frames.front().p;
    const int w = p.pixels_per_line;
    int lines = frames.front().lines;
    for (const Frame& f : frames) lines = std::min(lines, f.lines);
    if (p.format == SANE_FRAME_GRAY) {
        const int bpp = p.depth == 1 ? 1 : 8;
        const int stride = (w * bpp + 31) / 32 * 4;
        QByteArray out = Header(w, lines, bpp, bpp == 1 ? 2 : 256);
        const qsizetype at = out.size();
        out.resize(at + qsizetype(stride) * lines, '\0');
        for (int y = 0; y < lines; ++y) {
            const uint8_t* src = frames[0].bytes.data() + size_t(y) * p.bytes_per_line;
            auto* dst = reinterpret_cast<uint8_t*>(out.data() + at + qsizetype(stride) * y);
            if (bpp == 1)
                std::copy_n(src, (w + 7) / 8, dst);
            else
                for (int x = 0; x < w; ++x) dst[x] = Sample(src, x, p.depth);
        }
        return out;
    }
    // Colour: one interleaved frame, or one frame per channel in any order.
    const int stride = (w * 24 + 31) / 32 * 4;
    QByteArray out = Header(w, lines, 24, 0);
    const qsizetype at = out.size();
    out.resize(at + qsizetype(stride) * lines, '\0');
    for (const Frame& f : frames) {
        const int channel = f.p.format == SANE_FRAME_RED     ? 0
                            : f.p.format == SANE_FRAME_GREEN ? 1
                            : f.p.format == SANE_FRAME_BLUE  ? 2
                                                             : -1;
        for (int y = 0; y < lines; ++y) {
            const uint8_t* src = f.bytes.data() + size_t(y) * f.p.bytes_per_line;
            auto* dst = reinterpret_cast<uint8_t*>(out.data() + at + qsizetype(stride) * y);
            for (int x = 0; x < w; ++x) {
                if (channel < 0) {
                    for (int c = 0; c < 3; ++c)
                        dst[3 * x + 2 - c] = Sample(src, 3 * x + c, f.p.depth);
                } else {
                    dst[3 * x + 2 - channel] = Sample(src, x, f.p.depth);
                }
            }
        }
    }
    return out;
}

bool SameGeometry(const SANE_Parameters& a, const SANE_Parameters& b) {
    return a.pixels_per_line == b.pixels_per_line && a.depth == b.depth;
}

} // namespace

ScannerSession::ScannerSession() {
    SANE_Int version = 0;
    initialised_ = Sane().Loaded() && Sane().init(&version, nullptr) == SANE_STATUS_GOOD;
}

ScannerSession::~ScannerSession() {
    if (initialised_) Sane().exit();
}

std::vector<ScanDevice> ScannerSession::Devices() const {
    std::vector<ScanDevice> out;
    if (!initialised_) return out;
    const SANE_Device** list = nullptr;
    if (Sane().get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD || !list) return out;
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        if (!d->name) continue;
        const QString description = QStringLiteral("%1 %2 %3")
                                        .arg(QString::fromUtf8(d->vendor ? d->vendor : ""),
                                             QString::fromUtf8(d->model ? d->model : ""),
                                             QString::fromUtf8(d->type ? d->type : ""))
                                        .simplified();
        out.push_back({QString::fromUtf8(d->name), description});
    }
    return out;
}

ScanResult ScannerSession::Acquire(const QString& device, const std::vector<ScanOption>& options,
                                   QByteArray& packed) const {
    if (!initialised_) return ScanResult::DeviceError;
    SANE_Handle raw = nullptr;
    if (Sane().open(device.toUtf8().constData(), &raw) != SANE_STATUS_GOOD || !raw)
        return ScanResult::DeviceError;
    DeviceHandle handle(raw);
    for (const auto& [name, value] : options)
        if (!SetOption(raw, name, value)) return ScanResult::DeviceError;

    std::vector<Frame> frames;
    for (;;) {
        const SANE_Status started = Sane().start(raw);
        if (started == SANE_STATUS_CANCELLED) return ScanResult::Cancelled;
        if (started != SANE_STATUS_GOOD) return ScanResult::DeviceError;
        Frame& f = frames.emplace_back();
        if (const ScanResult r = ReadFrame(raw, f); r != ScanResult::Ok) return r;
        const SANE_Frame kind = f.p.format;
        const bool single = kind == SANE_FRAME_GRAY || kind == SANE_FRAME_RGB;
        if (kind != SANE_FRAME_GRAY && kind != SANE_FRAME_RGB && kind != SANE_FRAME_RED &&
            kind != SANE_FRAME_GREEN && kind != SANE_FRAME_BLUE)
            return ScanResult::DeviceError;
        if (!SameGeometry(f.p, frames.front().p)) return ScanResult::DeviceError;
        if (single && frames.size() > 1) return ScanResult::DeviceError;
        if (f.p.last_frame || single) break;
        if (frames.size() == 3) return ScanResult::DeviceError;
    }
    if (frames.front().p.format != SANE_FRAME_GRAY && frames.front().p.format != SANE_FRAME_RGB &&
        frames.size() != 3)
        return ScanResult::DeviceError;
    packed = Pack(frames);
    return ScanResult::Ok;
}
