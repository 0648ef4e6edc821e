#include "app/ImagePreviewWindow.h"

#include "raster/GFXFile.h"
#include "raster/RasterError.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QStatusBar>

ImagePreviewWindow::ImagePreviewWindow() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Orvel Paint"));
    auto* scroll = new QScrollArea(this);
    view_ = new QLabel(scroll);
    view_->setObjectName(QStringLiteral("ShowBuf"));
    scroll->setWidget(view_);
    scroll->setBackgroundRole(QPalette::Dark);
    setCentralWidget(scroll);
    image_.Alloc({Buffer::default_x, Buffer::default_y});
    image_.Box(image_.Bounds(), 0);
    resize(800, 600);
    Show();
}

void ImagePreviewWindow::Open(const QString& name) {
    GFXtra32 extra;
    extra.colourA = 0xFFFFFF;
    try {
        GFXFile::Load(image_, name, &extra);
        statusBar()->showMessage(name);
    } catch (const RasterError& e) {
        statusBar()->showMessage(QString::fromUtf8(e.what()));
        if (image_.Empty() && image_.Alloc({Buffer::default_x, Buffer::default_y}))
            image_.Box(image_.Bounds(), 0);
    }
    Show();
}

void ImagePreviewWindow::Show() {
    QImage shown(image_.Width(), image_.Height(), QImage::Format_RGB32);
    for (int y = 0; y < image_.Height(); ++y) {
        auto* d = reinterpret_cast<uint32_t*>(shown.scanLine(y));
        const uint32_t* s = image_.Row(image_.top + y);
        for (int x = 0; x < image_.Width(); ++x) d[x] = 0xFF000000 | (s[x] & 0xFFFFFF);
    }
    view_->setPixmap(QPixmap::fromImage(shown));
    view_->resize(shown.size());
}
