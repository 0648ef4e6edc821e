#include <QGuiApplication>
#include <gtest/gtest.h>

// Fonts and image plug-ins need a GUI application object; tests run without a display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
