#pragma once

#include "raster/Buffer.h"

#include <QMainWindow>

class QLabel;

// Shows one image loaded through the raster layer; the start-up window replaces it.
class ImagePreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    ImagePreviewWindow();
    void Open(const QString& name);

private:
    void Show();
    Buffer image_;
    QLabel* view_ = nullptr;
};
