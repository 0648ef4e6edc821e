#pragma once

#include "app/CommandRegistry.h"
#include "app/MainForm.h"

#include <QAction>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

// Every shown command of the window is enabled exactly when a module registered it, and no module
// registered a name the window lacks.
inline void ExpectEnabledExactlyWhenRegistered(TMainForm& form) {
    const CommandRegistry& commands = form.Commands();
    EXPECT_TRUE(commands.Rejected().isEmpty()) << commands.Rejected().join(',').toStdString();
    for (QAction* a : form.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        // A hidden action reports itself disabled (Update & Exit outside update mode).
        if (a->objectName().isEmpty() || !a->isVisible()) continue;
        EXPECT_EQ(a->isEnabled(), commands.IsRegistered(a->objectName()))
            << a->objectName().toStdString();
    }
}

inline QStringList Sorted(QStringList names) {
    std::sort(names.begin(), names.end());
    return names;
}
