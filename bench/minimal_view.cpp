// The least a Qt program does to show a picture: one window whose widget paints it at 1:1 (a
// black 640 x 480 picture when no file is named). It prints the monotonic time of its first
// paint and quits, as the program does with OV_QUIT_AFTER_FIRST_PAINT, so the start benchmarks
// time both alike.
#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

class View : public QWidget {
public:
    explicit View(QImage image) : image_(std::move(image)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).drawImage(0, 0, image_);
        if (done_) return;
        done_ = true;
        std::printf("first paint %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               std::chrono::steady_clock::now().time_since_epoch())
                                               .count()));
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    QImage image_;
    bool done_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QImage image;
    if (argc > 1) {
        image = QImageReader(QString::fromLocal8Bit(argv[1])).read();
    } else {
        image = QImage(640, 480, QImage::Format_RGB32);
        image.fill(Qt::black);
    }
    View view(std::move(image));
    view.resize(800, 600);
    view.show();
    return app.exec();
}
