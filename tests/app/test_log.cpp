#include "app/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(LogFormat, SecondsAreZeroPaddedToSixWithTwoDecimals) {
    struct Case {
        double seconds;
        const char* line;
    };
    // clang-format off
    const Case cases[] = {
        {0.0, "[000.00] x\n"},
        {3.25, "[003.25] x\n"},
        {123.456, "[123.46] x\n"},  // stored a hair above .456
        {2.675, "[002.67] x\n"},    // stored a hair below .675: no naive half-up
        {0.125, "[000.12] x\n"},    // an exact tie goes to the even digit
        {0.375, "[000.38] x\n"},
        {99.999, "[100.00] x\n"},   // rounding carries into the width
        {1234.5, "[1234.50] x\n"},  // wider than six: printed whole
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(Log::FormatLine(c.seconds, QStringLiteral("x")), QByteArray(c.line)) << c.seconds;
}

TEST(LogFormat, TextIsWrittenAsUtf8) {
    EXPECT_EQ(Log::FormatLine(1.5, QStringLiteral("Größe 100%")),
              QByteArray("[001.50] Gr\xc3\xb6\xc3\x9f"
                         "e 100%\n"));
    EXPECT_EQ(Log::FormatLine(1e300, QString()).size(), 301 + 3 + 3 + 1);
}

QList<QByteArray> LinesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

TEST(LogFile, StartReplacesOldLogAndLinesFollowInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV.LOG"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("[999.99] from the last run\n");
    }
    Log log;
    EXPECT_FALSE(log.On());
    log.Start(dir.path());
    EXPECT_TRUE(log.On());
    EXPECT_EQ(QFileInfo(log.Path()), QFileInfo(path));
    log.Write(QStringLiteral("Registry entries loaded."));
    log.Write(QStringLiteral("Application closed."));

    const QList<QByteArray> lines = LinesOf(path);
    ASSERT_EQ(lines.size(), 3);
    const char* texts[] = {"Program started.", "Registry entries loaded.", "Application closed."};
    const QRegularExpression shape(QStringLiteral("^\\[(\\d{3}\\.\\d{2})\\] (.*)$"));
    double last = 0;
    for (int i = 0; i < 3; ++i) {
        const auto m = shape.match(QString::fromUtf8(lines[i]));
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(2), QLatin1String(texts[i]));
        const double t = m.captured(1).toDouble();
        EXPECT_GE(t, last);
        EXPECT_LT(t, 60.0); // a fresh time base, not the machine's uptime
        last = t;
    }
}

TEST(LogFile, WritesNothingUntilStarted) {
    QTemporaryDir dir;
    Log log;
    log.Write(QStringLiteral("lost"));
    EXPECT_FALSE(log.On());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(LogFile, MissingFolderDropsLinesQuietly) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("not/there"));
    Log log;
    log.Start(folder);
    log.Write(QStringLiteral("still running"));
    EXPECT_TRUE(log.On());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(LogFile, ReadOnlyFolderDropsLinesQuietly) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    Log log;
    log.Start(dir.path());
    log.Write(QStringLiteral("still running"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("OV.LOG"))));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
