#include "raster/GFXInternal.h"

#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <iterator>

namespace {

// One real format: Qt's names for it (the first is the one handed to the writer), our
// description and the file patterns. The order is the order of Formats().
struct KnownFormat {
    const char* names;
    const char* description;
    const char* patterns;
    bool mayWrite;
};

// mayWrite = false where Qt's writer cannot be trusted with our images: the WBMP writer of
// Qt 6.4 writes a broken header for sides that are multiples of 128, and SVG is read only as a
// rasterised picture.
const KnownFormat kKnown[] = {
    {"bmp", "Windows Bitmap", "*.bmp;*.dib", true},
    {"png", "Portable Network Graphics", "*.png", true},
    {"jpeg jpg", "JPEG Image", "*.jpg;*.jpeg;*.jpe", true},
    {"gif", "Graphics Interchange Format", "*.gif", true},
    {"tiff tif", "Tagged Image File Format", "*.tif;*.tiff", true},
    {"webp", "WebP Image", "*.webp", true},
    {"tga", "Truevision Targa", "*.tga", true},
    {"ico", "Windows Icon", "*.ico", true},
    {"cur", "Windows Cursor", "*.cur", true},
    {"icns", "Apple Icon Image", "*.icns", true},
    {"ppm", "Portable Pixmap", "*.ppm", true},
    {"pgm", "Portable Graymap", "*.pgm", true},
    {"pbm", "Portable Bitmap", "*.pbm", true},
    {"xpm", "X11 Pixmap", "*.xpm", true},
    {"xbm", "X11 Bitmap", "*.xbm", true},
    {"wbmp", "Wireless Bitmap", "*.wbmp", false},
    {"mng", "Multiple-image Network Graphics", "*.mng", true},
    {"svg svgz", "Scalable Vector Graphics", "*.svg;*.svgz", false},
};

// Plug-ins that render documents rather than decode pictures.
const char* const kNotRaster[] = {"pdf", "ps", "eps", "epsf", "epsi"};

bool Listed(const QList<QByteArray>& list, const QByteArray& name) {
    return std::any_of(list.begin(), list.end(),
                       [&](const QByteArray& f) { return f.toLower() == name; });
}

std::vector<GFXFormat> BuildFormats() {
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
    std::vector<GFXFormat> out;
    QList<QByteArray> covered;
    for (const KnownFormat& k : kKnown) {
        const QList<QByteArray> names = QByteArray(k.names).split(' ');
        covered += names;
        QByteArray qtName;
        for (const QByteArray& n : names)
            if (Listed(readable, n)) {
                qtName = n;
                break;
            }
        if (qtName.isEmpty()) continue; // no plug-in for it on this machine
        bool canSave = false;
        for (const QByteArray& n : names)
            if (k.mayWrite && Listed(writable, n)) {
                canSave = true;
                qtName = n; // the writer must know the name we hand it
                break;
            }
        out.push_back(
            {QString::fromLatin1(k.description), QString::fromLatin1(k.patterns), canSave, qtName});
    }
    // Formats of plug-ins we do not know still open; they are listed after ours.
    for (const QByteArray& raw : readable) {
        const QByteArray name = raw.toLower();
        if (Listed(covered, name) ||
            std::find(std::begin(kNotRaster), std::end(kNotRaster), name) != std::end(kNotRaster))
            continue;
        covered += name;
        out.push_back({QString::fromLatin1(name.toUpper()) + QStringLiteral(" Image"),
                       QStringLiteral("*.") + QString::fromLatin1(name), Listed(writable, name),
                       name});
    }
    return out;
}

} // namespace

const std::vector<GFXFormat>& GFXFile::Formats() {
    static const std::vector<GFXFormat> formats = BuildFormats();
    return formats;
}

const GFXFormat* GFXFile::GetDefaultFormat(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix.isEmpty()) return nullptr;
    const QString pattern = QStringLiteral("*.") + suffix;
    for (const GFXFormat& f : Formats())
        if (f.extensions.toLower().split(';').contains(pattern)) return &f;
    return nullptr;
}

namespace GFXInternal {

const GFXFormat* FormatForQt(const QByteArray& qtFormat) {
    const QByteArray name = qtFormat.toLower();
    if (name.isEmpty()) return nullptr;
    for (const KnownFormat& k : kKnown)
        if (QByteArray(k.names).split(' ').contains(name))
            for (const GFXFormat& f : GFXFile::Formats())
                if (f.description == QLatin1String(k.description)) return &f;
    for (const GFXFormat& f : GFXFile::Formats())
        if (f.qtFormat == name) return &f;
    return nullptr;
}

} // namespace GFXInternal
