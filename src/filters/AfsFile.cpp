#include "filters/AfsFile.h"

#include "raster/SafeFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace afs {
namespace {

QByteArray TextLines(const QString& text) {
    QByteArray out;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& line : lines) {
        if (line.isEmpty()) continue;
        if (!out.isEmpty()) out += "\r\n";
        out += line.toUtf8();
    }
    return out;
}

// Lines ended by CR LF, a lone CR or a lone LF, at most kMaxLine characters each.
class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) : bytes_(&bytes) {}
    bool AtEnd() const { return pos_ >= bytes_->size(); }
    // The next line; ended says whether a line end followed it.
    QString Next(bool* ended = nullptr) {
        const qsizetype start = pos_;
        qsizetype n = 0;
        while (pos_ < bytes_->size() && n < kMaxLine && (*bytes_)[pos_] != '\r' &&
               (*bytes_)[pos_] != '\n')
            ++pos_, ++n;
        const QString line = QString::fromUtf8(bytes_->constData() + start, n);
        bool end = false;
        if (pos_ < bytes_->size() && ((*bytes_)[pos_] == '\r' || (*bytes_)[pos_] == '\n')) {
            end = true;
            if ((*bytes_)[pos_] == '\r' && pos_ + 1 < bytes_->size() && (*bytes_)[pos_ + 1] == '\n')
                ++pos_;
            ++pos_;
        }
        if (ended) *ended = end;
        return line;
    }

private:
    const QByteArray* bytes_;
    qsizetype pos_ = 0;
};

// "%d%c" yielding exactly the number: white space before it, nothing after. Saturates instead
// of overflowing; the value is then clamped to the sliders' range.
bool ParseValue(const QString& line, int32_t& value) {
    int i = 0;
    const int n = int(line.size());
    while (i < n && (line[i] == u' ' || (line[i] >= u'\t' && line[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < n && (line[i] == u'-' || line[i] == u'+')) negative = line[i++] == u'-';
    if (i >= n) return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        if (line[i] < u'0' || line[i] > u'9') return false;
        v = std::min<int64_t>(v * 10 + (line[i].unicode() - u'0'), int64_t(1) << 40);
    }
    if (negative) v = -v;
    value = int32_t(std::clamp<int64_t>(v, 0, 255));
    return true;
}

// A text block: its lines up to an empty line or the end. An empty first line is an empty
// text, and the empty line that separates it from the next block goes with it.
QStringList ReadBlock(LineReader& in) {
    QStringList lines;
    QString first = in.Next();
    if (first.isEmpty()) {
        if (!in.AtEnd()) {
            LineReader peek = in;
            if (peek.Next().isEmpty()) in = peek;
        }
        return lines;
    }
    lines << first;
    while (!in.AtEnd()) {
        const QString line = in.Next();
        if (line.isEmpty()) break;
        lines << line;
    }
    return lines;
}

} // namespace

QByteArray Write(const FilterSource& s) {
    QByteArray out = "%RGB-1.0\r\n";
    for (int32_t v : s.ctl) out += QByteArray::number(v) + "\r\n";
    for (const QString& text : {s.channels[0], s.channels[1], s.channels[2], s.description})
        out += TextLines(text) + "\r\n\r\n";
    for (const QString& text : {s.category, s.title, s.author, s.copyright})
        out += TextLines(text) + "\r\n\r\n";
    for (int i = 0; i < 8; ++i)
        out += QByteArray::number(i + 1) + ": " + TextLines(s.names[i]) + "\r\n\r\n";
    return out;
}

AfsResult Read(const QByteArray& bytes, FilterSource& s) {
    LineReader in(bytes);
    if (in.Next() != QLatin1String("%RGB-1.0")) return AfsResult::NotValid;
    for (int i = 0; i < 8; ++i) {
        int32_t v = 0;
        if (!ParseValue(in.Next(), v)) return AfsResult::NotValid;
        s.ctl[i] = v;
    }
    for (int c = 0; c < 3; ++c) s.channels[c] = ReadBlock(in).join(QLatin1Char('\n'));
    s.description = ReadBlock(in).join(QString());
    QString* texts[] = {&s.category, &s.title, &s.author, &s.copyright};
    for (int t = 0; t < 4; ++t) {
        if (t > 0) in.Next();
        *texts[t] = in.Next();
    }
    for (int i = 0; i < 8; ++i) {
        in.Next();
        bool ended = false;
        const QString line = in.Next(&ended);
        if (!ended) {
            s.names[i].clear();
            continue;
        }
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0) return AfsResult::NotValid;
        qsizetype from = colon + 1;
        while (from < line.size() && line[from].isSpace()) ++from;
        s.names[i] = line.mid(from);
    }
    return AfsResult::Ok;
}

AfsResult Load(const QString& name, FilterSource& source) {
    QFile file;
    if (!OpenRegularFile(file, name)) return AfsResult::CantOpen;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) return AfsResult::NotValid;
    return Read(bytes, source);
}

bool Save(const QString& name, const FilterSource& source) {
    return SafeWriteFile(name, Write(source));
}

} // namespace afs
