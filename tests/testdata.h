#pragma once
#include <QString>

// Folder of the public image suites (pngsuite/, bmpsuite/, gifsuite/, tiff/, lng/),
// or an empty string when it cannot be found.
QString TestDataDir();

// Skips the current test when the suites are not on this machine.
#define REQUIRE_TESTDATA()                                                                         \
    do {                                                                                           \
        if (TestDataDir().isEmpty()) GTEST_SKIP() << "public test suites not found";               \
    } while (0)
