#include "filters/MakeComponent.h"

#include "raster/SafeFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace makecomp {
namespace {

// A descriptor value: one line; commas would end a label early.
std::string Value(const QString& text, bool label) {
    std::string out;
    for (char c : text.toUtf8().toStdString()) {
        if (c == '\r' || c == '\n') c = ' ';
        if (label && c == ',') c = ' ';
        out += c;
    }
    return out;
}

} // namespace

QString RunnerPath(const QString& programFolder) {
    return programFolder + u'/' + QString::fromLatin1(kRunnerName);
}

QByteArray Attach(const QByteArray& runner, const FilterSource& source) {
    const QByteArray text = afs::Write(source);
    QByteArray out = runner + text;
    uint64_t n = uint64_t(text.size());
    for (int i = 0; i < 8; ++i, n >>= 8) out += char(n & 0xFF);
    out.append(kMagic, 8);
    return out;
}

std::optional<FilterSource> ReadAttached(const QString& path) {
    QFile file;
    if (!OpenRegularFile(file, path) || file.size() < kTrailer) return std::nullopt;
    if (!file.seek(file.size() - kTrailer)) return std::nullopt;
    const QByteArray trailer = file.read(kTrailer);
    if (trailer.size() != kTrailer || std::memcmp(trailer.constData() + 8, kMagic, 8) != 0)
        return std::nullopt;
    uint64_t n = 0;
    for (int i = 7; i >= 0; --i) n = n << 8 | uint8_t(trailer[i]);
    if (n > uint64_t(afs::kMaxFileSize) || n > uint64_t(file.size() - kTrailer))
        return std::nullopt;
    if (!file.seek(file.size() - kTrailer - qint64(n))) return std::nullopt;
    const QByteArray text = file.read(qint64(n));
    FilterSource source;
    if (text.size() != qsizetype(n) || afs::Read(text, source) != AfsResult::Ok)
        return std::nullopt;
    return source;
}

std::array<int, 8> SliderControls(const FilterSource& source) {
    std::array<int, 8> controls;
    controls.fill(-1);
    int n = 0;
    for (int i = 0; i < 8; ++i)
        if (!source.names[i].trimmed().isEmpty()) controls[n++] = i;
    return controls;
}

std::string Descriptor(const FilterSource& source) {
    std::string d = "Ver=1.5\rOpt=WP\rIcon=\r";
    const std::array<int, 8> controls = SliderControls(source);
    for (int place = 1; place <= 10; ++place) {
        d += "Par" + std::to_string(place) + '=';
        const int i = place <= 8 ? controls[place - 1] : -1;
        if (i >= 0)
            d += "S," + Value(source.names[i].trimmed(), true) + ",0,255," +
                 std::to_string(std::clamp(source.ctl[i], 0, 255));
        d += '\r';
    }
    const QString title = source.title.trimmed();
    d += "Name=" + Value(title.isEmpty() ? QStringLiteral("Filter") : title, false) + '\r';
    d += "Copyright=" + Value(source.copyright, false) + '\r';
    d += "Contact=" + Value(source.author, false) + '\r';
    return d;
}

bool Make(const QString& runnerPath, const QString& target, const FilterSource& source) {
    QFile runner;
    if (!OpenRegularFile(runner, runnerPath)) return false;
    const QByteArray bytes = runner.readAll();
    if (bytes.isEmpty()) return false;
    if (!SafeWriteFile(target, Attach(bytes, source))) return false;
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                      QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                      QFileDevice::ExeOther);
    return true;
}

} // namespace makecomp
