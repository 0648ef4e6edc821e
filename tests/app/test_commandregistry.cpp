#include "app/CommandRegistry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A window with two commands, an unnamed action and a submenu, as BuildMainMenu makes them.
struct Owner {
    QWidget window;
    QAction* save = new QAction(&window);
    QAction* paint = new QAction(&window);
    QAction* unnamed = new QAction(&window);
    Owner() {
        save->setObjectName("Save1");
        paint->setObjectName("Paint1");
        (new QMenu(&window))->setObjectName("Reopen1");
    }
};

TEST(CommandRegistry, OnlyRegisteredCommandsAreEnabledAndConnected) {
    Owner o;
    CommandRegistry commands(o.window);
    EXPECT_FALSE(o.save->isEnabled());
    EXPECT_FALSE(o.paint->isEnabled());
    EXPECT_TRUE(o.unnamed->isEnabled()); // not a command

    int saved = 0;
    bool checked = false;
    EXPECT_EQ(commands.Register("Save1", &o.window, [&] { ++saved; }), o.save);
    o.paint->setCheckable(true);
    EXPECT_EQ(commands.Register("Paint1", &o.window, [&](bool on) { checked = on; }), o.paint);
    EXPECT_TRUE(o.save->isEnabled());
    o.save->trigger();
    o.paint->trigger();
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(checked);
    EXPECT_EQ(commands.Names(), (QStringList{"Save1", "Paint1"}));
    EXPECT_TRUE(commands.Rejected().isEmpty());
}

TEST(CommandRegistry, MisspeltTwiceOrSubmenuNamesAreRejected) {
    Owner o;
    CommandRegistry commands(o.window);
    int saved = 0;
    ASSERT_NE(commands.Register("Save1", &o.window, [&] { ++saved; }), nullptr);
    for (const char* name : {"Sav1", "Save1", "", "Reopen1"})
        EXPECT_EQ(commands.Register(name, &o.window, [&] { saved += 10; }), nullptr) << name;
    EXPECT_EQ(commands.Rejected(), (QStringList{"Sav1", "Save1", "", "Reopen1"}));
    EXPECT_EQ(commands.Names(), QStringList{"Save1"});
    o.save->trigger(); // connected once, to the first handler
    EXPECT_EQ(saved, 1);
}

TEST(CommandRegistry, HandlerGoesWithItsContext) {
    Owner o;
    CommandRegistry commands(o.window);
    auto module = std::make_unique<QObject>();
    int saved = 0;
    commands.Register("Save1", module.get(), [&] { ++saved; });
    module.reset();
    o.save->trigger();
    EXPECT_EQ(saved, 0);
}

} // namespace
