#pragma once

// Small builders shared by the file tests.

#include "document/ImageDoc.h"
#include "raster/GFXFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

inline QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A w x h image whose pixels follow a pattern of seed.
inline ImageDoc Patterned(int w, int h, uint32_t seed) {
    ImageDoc doc;
    EXPECT_TRUE(doc.MakeBlank({w, h}));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            doc.image.At(x, y) = (seed * 977u + uint32_t(x * 31 + y * 7919)) & 0xFFFFFF;
    return doc;
}

// A w x h image of noise, which no format packs much below three bytes a pixel.
inline ImageDoc Noise(int w, int h) {
    ImageDoc doc;
    EXPECT_TRUE(doc.MakeBlank({w, h}));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = (uint32_t(x) * 73856093u) ^ (uint32_t(y) * 19349663u);
            v ^= v >> 13;
            v *= 0x5bd1e995u;
            doc.image.At(x, y) = (v ^ (v >> 15)) & 0xFFFFFF;
        }
    return doc;
}

inline bool SamePixels(const Buffer& a, const Buffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Get(a.left + x, a.top + y) != b.Get(b.left + x, b.top + y)) return false;
    return true;
}

inline Buffer LoadDirect(const QString& name, int n = 1) {
    Buffer b;
    GFXtra32 extra;
    extra.image = n;
    GFXFile::Load(b, name, &extra);
    return b;
}

// A 128 x 128 noise PNG cut after half its bytes: it loads partly. Returns the full picture.
inline ImageDoc WriteCutPng(const QString& png) {
    ImageDoc src = Noise(128, 128);
    GFXtra32 extra;
    GFXFile::Save(src.image, png, &extra, nullptr);
    const QByteArray bytes = ReadAll(png);
    WriteAll(png, bytes.left(bytes.size() / 2));
    return src;
}
