// JPEG written straight from our pixels. Qt's writer converts every pixel to three bytes in a
// scalar loop after the edge-mark pass has read the picture once already; libjpeg-turbo takes
// our 0x??RRGGBB words as they are (BGRX in memory) and colour-converts them with its own vector
// code, so one pass over the picture does both. The file is byte for byte what Qt's writer makes
// of the same picture with the same settings (the tests hold it to that).
#include "raster/GFXInternal.h"
#include "raster/ImageConvert.h"
#include "raster/RasterError.h"

#include <QIODevice>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace GFXInternal {

#ifdef JCS_EXTENSIONS

namespace {

constexpr size_t kChunk = 1 << 16; // bytes handed to the device at once

struct Writer {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr dest{};
    std::jmp_buf jump{};
    QIODevice* out = nullptr;
    bool writeFailed = false;
    JOCTET buffer[kChunk];

    ~Writer() { jpeg_destroy_compress(&cinfo); }
};

Writer& Of(j_common_ptr cinfo) {
    return *reinterpret_cast<Writer*>(cinfo->client_data);
}

bool Flush(Writer& w, size_t bytes) {
    if (bytes &&
        w.out->write(reinterpret_cast<const char*>(w.buffer), qint64(bytes)) != qint64(bytes))
        w.writeFailed = true;
    return !w.writeFailed;
}

void InitDestination(j_compress_ptr cinfo) {
    Writer& w = Of(reinterpret_cast<j_common_ptr>(cinfo));
    w.dest.next_output_byte = w.buffer;
    w.dest.free_in_buffer = kChunk;
}

boolean EmptyBuffer(j_compress_ptr cinfo) {
    Writer& w = Of(reinterpret_cast<j_common_ptr>(cinfo));
    // The library wants the whole buffer gone, whatever free_in_buffer says.
    if (!Flush(w, kChunk)) ERREXIT(cinfo, JERR_FILE_WRITE);
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    Writer& w = Of(reinterpret_cast<j_common_ptr>(cinfo));
    if (!Flush(w, kChunk - w.dest.free_in_buffer)) ERREXIT(cinfo, JERR_FILE_WRITE);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(Of(cinfo).jump, 1);
}

void NoMessage(j_common_ptr) {}

// Everything libjpeg may leave by longjmp, so that no object with a destructor lives here.
bool Encode(Writer& w, Buffer& src, int quality, int dpi, const QList<QByteArray>& comments,
            const std::function<void(int)>& rowsDone) {
    jpeg_compress_struct& c = w.cinfo;
    if (setjmp(w.jump)) return false;
    c.err = jpeg_std_error(&w.errors);
    w.errors.error_exit = ErrorExit;
    w.errors.output_message = NoMessage;
    c.client_data = &w;
    jpeg_create_compress(&c);
    w.dest.init_destination = InitDestination;
    w.dest.empty_output_buffer = EmptyBuffer;
    w.dest.term_destination = TermDestination;
    c.dest = &w.dest;
    c.image_width = JDIMENSION(src.Width());
    c.image_height = JDIMENSION(src.Height());
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    c.density_unit = 1; // dots per inch
    c.X_density = c.Y_density = UINT16(dpi);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    for (const QByteArray& comment : comments)
        jpeg_write_marker(&c, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.constData()),
                          unsigned(comment.size()));
    for (int y = 0; y < src.Height(); ++y) {
        uint32_t* row = src.Row(src.top + y);
        ClearRowEdgeMarks(row, src.Width());
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
        jpeg_write_scanlines(&c, rows, 1);
        rowsDone(y + 1);
    }
    jpeg_finish_compress(&c);
    return true;
}

} // namespace

bool CanWriteJpegDirect() {
    return true;
}

void WriteJpegDirect(Buffer& src, QIODevice& out, int quality, int dpi,
                     const QList<QByteArray>& comments, const std::function<void(int)>& rowsDone) {
    auto writer = std::make_unique<Writer>();
    writer->out = &out;
    if (!Encode(*writer, src, quality, dpi, comments, rowsDone)) {
        if (writer->writeFailed) throw FileIOError("cannot write the JPEG file");
        char why[JMSG_LENGTH_MAX] = {};
        writer->errors.format_message(reinterpret_cast<j_common_ptr>(&writer->cinfo), why);
        throw LibraryError(std::string("JPEG library: ") + why);
    }
}

#else // a JPEG library without libjpeg-turbo's pixel layouts: Qt's writer does the work

bool CanWriteJpegDirect() {
    return false;
}

void WriteJpegDirect(Buffer&, QIODevice&, int, int, const QList<QByteArray>&,
                     const std::function<void(int)>&) {
    throw LibraryError("no direct JPEG writer in this build");
}

#endif

} // namespace GFXInternal
