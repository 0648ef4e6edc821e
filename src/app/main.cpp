#include "app/ImagePreviewWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("OV"));
    QApplication::setApplicationName(QStringLiteral("OrvelPaint"));
    ImagePreviewWindow window;
    const QStringList args = QApplication::arguments().mid(1);
    if (!args.isEmpty()) window.Open(args.first());
    window.show();
    return app.exec();
}
