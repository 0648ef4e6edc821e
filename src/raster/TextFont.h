#pragma once

#include <QString>

// The font of text drawn into buffers. size is in points at 96 pixels per inch.
struct TextFont {
    QString name = QStringLiteral("DejaVu Sans");
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const TextFont&, const TextFont&) = default;
};
