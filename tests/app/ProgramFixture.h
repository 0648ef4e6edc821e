#pragma once

#include "app/Program.h"
#include "lang/LngPacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

// Starts the program with args, its folder being folder, and waits until its initialisation ran.
inline std::unique_ptr<Program> StartProgram(const QStringList& args, const QString& folder) {
    auto program = std::make_unique<Program>(args, folder);
    program->Start();
    QElapsedTimer t;
    t.start();
    while (!program->Ready() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(program->Ready());
    return program;
}

// Writes text packed as the language file folder/file.
inline void WriteLanguage(const QString& folder, const QString& file, const QByteArray& text) {
    const std::vector<uint8_t> packed =
        PackLng({reinterpret_cast<const uint8_t*>(text.constData()), size_t(text.size())});
    QFile f(QDir(folder).filePath(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(packed.data()), qsizetype(packed.size()));
}
