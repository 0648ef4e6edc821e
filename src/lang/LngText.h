#pragma once

// Reading the expanded language text line by line, as both message lookup and window
// translation do.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Longest piece read at once: message and entry lines, and section searches. A longer line is
// read in several pieces, each of which counts as a line of its own.
inline constexpr qsizetype kLngEntryPiece = 511;
inline constexpr qsizetype kLngSectionPiece = 255;

class LngLineReader {
public:
    explicit LngLineReader(QByteArrayView data, qsizetype pos = 0) : data_(data), pos_(pos) {}

    bool AtEnd() const { return pos_ >= data_.size(); }
    // Byte offset of the next piece.
    qsizetype Pos() const { return pos_; }
    // The next piece of at most maxBytes bytes, without its line end (CR LF or a lone LF). A
    // piece never ends inside a UTF-8 sequence.
    QByteArray Next(qsizetype maxBytes);

private:
    QByteArrayView data_;
    qsizetype pos_;
};

// UTF-8, or Latin-1 when the bytes are not valid UTF-8.
QString LngDecodeLine(QByteArrayView bytes);
// Cuts characters up to the blank (controls included) from both ends / the right end only.
QString LngTrim(QStringView s);
QString LngTrimRight(QStringView s);

// False when the trimmed, decoded piece cannot begin with start: its first character is ASCII
// and the piece's first byte above the blank differs. Lets a search skip decoding most lines.
bool LngMayStartWith(QByteArrayView piece, QStringView start);
// Offset just after the first line that reads "[Messages]" (trimmed, any case), or the text's
// length when there is none.
qsizetype LngMessagesPos(QByteArrayView text);
// The value of the first entry at or after pos whose key is exactly key ("@" read as a blank),
// or nothing. Later section headers do not stop the search.
std::optional<QString> LngFindEntry(QByteArrayView text, qsizetype pos, const QString& key);
