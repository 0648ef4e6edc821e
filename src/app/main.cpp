#include "app/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("OV"));
    QApplication::setApplicationName(QStringLiteral("OrvelPaint"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvel Paint"));
    if (!Program::DisplayDeepEnough()) return 1;
    Program program(QApplication::arguments().mid(1), QApplication::applicationDirPath());
    program.Start();
    return app.exec();
}
