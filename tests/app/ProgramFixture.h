#pragma once

#include "app/Program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
