#pragma once

#include "app/CommandRegistry.h"
#include "app/MainForm.h"

#include <QAction>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

// Registered commands that also wait for something outside: a picture on the clipboard, a
// scanner found. Unregistered, they are disabled all the same.
inline bool EnabledByState(const QString& name) {
    return name == QLatin1String("ImpfromClipb") || name == QLatin1String("SelectSource1") ||
           name == QLatin1String("Acquire1");
}

// Every shown command of the window is enabled exactly when a module registered it, and no module
// registered a name the window lacks.
inline void ExpectEnabledExactlyWhenRegistered(TMainForm& form) {
    const CommandRegistry& commands = form.Commands();
    EXPECT_TRUE(commands.Rejected().isEmpty()) << commands.Rejected().join(',').toStdString();
    for (QAction* a : form.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        // A hidden action reports itself disabled (Update & Exit outside update mode).
        if (a->objectName().isEmpty() || !a->isVisible()) continue;
        if (EnabledByState(a->objectName())) {
            EXPECT_TRUE(!a->isEnabled() || commands.IsRegistered(a->objectName()))
                << a->objectName().toStdString();
            continue;
        }
        EXPECT_EQ(a->isEnabled(), commands.IsRegistered(a->objectName()))
            << a->objectName().toStdString();
    }
}

inline QStringList Sorted(QStringList names) {
    std::sort(names.begin(), names.end());
    return names;
}
