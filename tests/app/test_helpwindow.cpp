#include "app/HelpKey.h"
#include "app/HelpWindow.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>

#include <gtest/gtest.h>

namespace {

void WritePage(const QDir& dir, const QString& name) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><body>" + name.toUtf8() + "</body></html>");
}

TEST(HelpWindow, ContextPageOrTheContentsWhenItHasNone) {
    QTemporaryDir dir;
    WritePage(QDir(dir.path()), "index.html");
    WritePage(QDir(dir.path()), "3600.html");
    HelpWindow help(dir.path());
    help.ShowContext(3600);
    EXPECT_EQ(help.CurrentPage(), QDir(dir.path()).filePath("3600.html"));
    help.ShowContext(1234);
    EXPECT_EQ(help.CurrentPage(), QDir(dir.path()).filePath("index.html"));
}

// F1 shows the window's own context, else the main window's (the current tool's); a window that
// answers F1 itself is left alone, and modifiers or a held key show nothing more.
TEST(HelpKey, F1ShowsTheActiveWindowsContext) {
    QWidget main;
    main.setProperty("helpContext", 3600);
    QDialog own(&main), plain(&main), answers(&main);
    own.setProperty("helpContext", 1310);
    answers.setProperty("helpContext", 5500);
    answers.setProperty("ownsHelpKey", true);
    std::vector<int> shown;
    HelpKey key(
        &main, [&](int context) { shown.push_back(context); }, nullptr);
    qApp->installEventFilter(&key);
    const auto press = [](QWidget& w, Qt::KeyboardModifiers mods = Qt::NoModifier,
                          bool repeat = false) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_F1, mods, QString(), repeat);
        QApplication::sendEvent(&w, &e);
    };
    press(own);
    press(plain);
    press(main);
    press(answers);
    press(own, Qt::ShiftModifier);
    press(own, Qt::NoModifier, true);
    main.setProperty("helpContext", 2000); // another tool
    press(plain);
    qApp->removeEventFilter(&key);
    EXPECT_EQ(shown, (std::vector<int>{1310, 3600, 3600, 2000}));
}

// The pages shipped with the program link only to pages that exist.
TEST(HelpWindow, ShippedPagesLinkToExistingPages) {
    const QDir dir(QStringLiteral(OV_SOURCE_DIR "/help"));
    const QStringList pages = dir.entryList({"*.html"}, QDir::Files);
    ASSERT_TRUE(pages.contains("index.html"));
    for (const QString& page : pages) {
        QFile f(dir.filePath(page));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        qsizetype at = 0;
        while ((at = text.indexOf("href=\"", at)) >= 0) {
            at += 6;
            const QString target = text.mid(at, text.indexOf('"', at) - at);
            if (target.startsWith("http")) continue;
            const QString file = target.section('#', 0, 0), anchor = target.section('#', 1);
            EXPECT_TRUE(pages.contains(file))
                << page.toStdString() << " -> " << target.toStdString();
            if (anchor.isEmpty() || !pages.contains(file)) continue;
            QFile linked(dir.filePath(file));
            ASSERT_TRUE(linked.open(QIODevice::ReadOnly));
            EXPECT_TRUE(QString::fromUtf8(linked.readAll()).contains("id=\"" + anchor + "\""))
                << page.toStdString() << " -> " << target.toStdString();
        }
    }
}

} // namespace
