#include "app/Program.h"
#include "ui/DeferredIconStyle.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStyle>

#include <thread>

#ifdef OV_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

// Where the session bus is: set, or the user's bus in the runtime folder.
bool SessionBusReachable() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

} // namespace

int main(int argc, char** argv) {
    // Without a session bus, Qt's first look for one (the accessibility bridge, a global menu)
    // would run the bus launcher and wait for it before the window is made: an address that
    // fails at once stands in until the first frame is up (Program::AfterFirstFrame).
    const bool noBus = !SessionBusReachable();
    if (noBus) qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArrayLiteral("disabled:"));
#ifdef OV_FONTCONFIG
    // Reading the font configuration is the longest step of the first text drawn; it runs while
    // the display connection is made. Fontconfig keeps one configuration, made once.
    std::thread fonts([] { FcInit(); });
#endif
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("OV"));
    QApplication::setApplicationName(QStringLiteral("OrvelPaint"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvel Paint"));
    // The style asked for (command line, environment or platform), with its bar arrows read late.
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()->name()));
#ifdef OV_FONTCONFIG
    fonts.join();
#endif
    // Qt lists the fonts on the first text it lays out, while the window is built; the list is
    // read here beside that instead (the font database is thread-safe).
    const std::jthread fontList([] { QFontDatabase::families(); });
    if (!Program::DisplayDeepEnough()) return 1;
    Program program(QApplication::arguments().mid(1), QApplication::applicationDirPath());
    if (noBus) program.afterFirstFrame = [] { qunsetenv("DBUS_SESSION_BUS_ADDRESS"); };
    program.Start();
    return app.exec();
}
