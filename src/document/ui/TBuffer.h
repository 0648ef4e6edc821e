#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <vector>

class Buffer;
class QPainter;
class QRegion;

// The image view (the main window's ShowBuf): paints the shown Buffer at the zoom ratio n:d with
// nearest-neighbour cells, only inside the update region and without erasing the background
// first. Mark bits are never shown. Without an image it shows black with a white frame and both
// diagonals. Tools draw their overlays from the paint hook.
class TBuffer : public QWidget {
    Q_OBJECT
public:
    explicit TBuffer(QWidget* parent = nullptr);

    // Not owned; repaints when it changed.
    void SetBuffer(Buffer* buffer);
    // Packed ratio: n in the low 16 bits, d in the high 16 bits, 0 meaning 1. Stored reduced
    // with a d of 1 as 0; repaints when the stored value changed.
    void SetZoom(int packed);
    int Zoom() const { return zoom_; }
    // Inactive: paint events paint nothing.
    void SetActive(bool active) { active_ = active; }

    // Everything a paint event of region draws, onto any painter (the benchmark uses an image).
    void PaintRegion(QPainter& painter, const QRegion& region);

    // The zoomed image size, for the scroll box.
    QSize sizeHint() const override;

    std::function<void(QPainter&)> onPaint;
    std::function<void()> onMouseEnter;
    std::function<void()> onMouseLeave;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PaintNoImage(QPainter& painter);
    void PaintRect(QPainter& painter, const QRect& rect);
    static bool BlitsUnconverted(QPainter& painter);
    bool EnsureBand(int width, int rows);
    void FillRow(uint32_t* out, int sy, int x0, int width) const;

    Buffer* buffer_ = nullptr;
    int zoom_ = 1;
    bool active_ = true;
    QImage band_;              // rows converted for the screen, reused between paints
    std::vector<int> columns_; // source column of each device column when zoomed out
};
