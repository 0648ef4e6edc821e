#include "lang/LngText.h"

#include <QStringDecoder>

QByteArray LngLineReader::Next(qsizetype maxBytes) {
    const qsizetype start = pos_;
    qsizetype end = pos_;
    for (;;) {
        if (end >= data_.size()) {
            pos_ = end;
            return data_.sliced(start, end - start).toByteArray();
        }
        const char c = data_[end];
        if (c == '\n' || (c == '\r' && end + 1 < data_.size() && data_[end + 1] == '\n')) {
            pos_ = end + (c == '\n' ? 1 : 2);
            return data_.sliced(start, end - start).toByteArray();
        }
        if (end - start == maxBytes) break;
        ++end;
    }
    // Cut short: step back to the start of a multi-byte character rather than split it.
    if ((uchar(data_[end]) & 0xC0) == 0x80) {
        for (qsizetype back = end - 1; back > start && back >= end - 3; --back) {
            if ((uchar(data_[back]) & 0xC0) == 0xC0) {
                end = back;
                break;
            }
            if ((uchar(data_[back]) & 0xC0) != 0x80) break;
        }
    }
    pos_ = end;
    return data_.sliced(start, end - start).toByteArray();
}

QString LngDecodeLine(QByteArrayView bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString s = utf8(bytes);
    if (utf8.hasError()) return QString::fromLatin1(bytes);
    return s;
}

QString LngTrim(QStringView s) {
    qsizetype a = 0, b = s.size();
    while (a < b && s[a].unicode() <= ' ') ++a;
    while (b > a && s[b - 1].unicode() <= ' ') --b;
    return s.sliced(a, b - a).toString();
}

QString LngTrimRight(QStringView s) {
    qsizetype b = s.size();
    while (b > 0 && s[b - 1].unicode() <= ' ') --b;
    return s.first(b).toString();
}

qsizetype LngMessagesPos(QByteArrayView text) {
    LngLineReader reader(text);
    while (!reader.AtEnd()) {
        const QString line = LngTrim(LngDecodeLine(reader.Next(kLngSectionPiece)));
        if (line.toUpper() == QLatin1String("[MESSAGES]")) return reader.Pos();
    }
    return text.size();
}

bool LngMayStartWith(QByteArrayView piece, QStringView start) {
    if (start.isEmpty() || start[0].unicode() >= 0x80) return true;
    // The decoder drops a byte order mark that opens the piece.
    if (piece.startsWith("\xEF\xBB\xBF")) piece = piece.sliced(3);
    for (const char c : piece)
        if (uchar(c) > ' ') return c == char(start[0].unicode());
    return false;
}

std::optional<QString> LngFindEntry(QByteArrayView text, qsizetype pos, const QString& key) {
    LngLineReader reader(text, pos);
    while (!reader.AtEnd()) {
        const QByteArray piece = reader.Next(kLngEntryPiece);
        if (!LngMayStartWith(piece, key)) continue;
        const QString line = LngTrim(LngDecodeLine(piece));
        if (line.isEmpty() || line.startsWith(u';')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).first(eq) == key)
            return line.sliced(eq + 1).replace(u'@', u' ');
    }
    return std::nullopt;
}
