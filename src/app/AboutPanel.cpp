#include "app/AboutPanel.h"

#include <QDialog>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
        setObjectName(QStringLiteral("AboutBox"));
        setModal(true);
        auto* picture = new QLabel(this);
        picture->setPixmap(AboutPicture());
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(picture);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { accept(); }
    void keyPressEvent(QKeyEvent*) override { accept(); }
};

} // namespace

QPixmap AboutPicture() {
    QPixmap pic(440, 220);
    pic.fill(QColor(24, 32, 56));
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient stroke(40, 150, 400, 60);
    stroke.setColorAt(0, QColor(230, 80, 60));
    stroke.setColorAt(0.5, QColor(250, 200, 60));
    stroke.setColorAt(1, QColor(70, 170, 240));
    p.setPen(QPen(QBrush(stroke), 18, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(40, 170, 400, 150);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 30, QFont::Bold));
    p.drawText(QRect(0, 40, 440, 60), Qt::AlignCenter, QStringLiteral("Orvel Paint"));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    p.drawText(QRect(0, 100, 440, 24), Qt::AlignCenter,
               QStringLiteral("Version %1").arg(QStringLiteral(OV_VERSION)));
    return pic;
}

void ShowAboutPanel(QWidget* parent) {
    AboutDialog panel(parent);
    panel.exec();
}
