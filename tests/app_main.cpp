#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget tests run on the offscreen platform; no display is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program probes for scanners as it starts: SANE's test device is the only one, so the
    // probe is quick and the scanner commands have a device to work with.
    QTemporaryDir sane;
    QFile conf(sane.filePath(QStringLiteral("dll.conf")));
    if (conf.open(QIODevice::WriteOnly)) conf.write("test\n");
    conf.close();
    qputenv("SANE_CONFIG_DIR", sane.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
