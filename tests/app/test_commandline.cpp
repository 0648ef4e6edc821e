#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

const auto kNothingExists = [](const QString&) { return false; };
const auto kEverythingExists = [](const QString&) { return true; };

TEST(CommandLine, NoArgumentsAskForNothing) {
    const CommandLine c = CommandLine::Parse({}, kEverythingExists);
    EXPECT_FALSE(c.logging);
    EXPECT_FALSE(c.invalidSwitch);
    EXPECT_FALSE(c.updateMode);
    EXPECT_TRUE(c.imageName.isEmpty());
}

TEST(CommandLine, SplitFileNameIsJoinedWithSingleBlanksWithoutQuotes) {
    struct Case {
        QStringList args;
        const char* name;
    } cases[] = {
        {{"a.png"}, "a.png"},
        {{"My", "Holiday", "Photo.png"}, "My Holiday Photo.png"},
        {{"\"My", "Photo.png\""}, "My Photo.png"},
        {{"a\"b\".png"}, "ab.png"},
        {{"two  blanks.png"}, "two  blanks.png"}, // blanks inside one argument stay
        {{"dir/x.png", "\""}, "dir/x.png "},      // a lone quote leaves its blank behind
    };
    for (const Case& c : cases) {
        const CommandLine cl = CommandLine::Parse(c.args, kNothingExists);
        EXPECT_EQ(cl.imageName, QString::fromUtf8(c.name)) << c.args.join('|').toStdString();
        EXPECT_FALSE(cl.logging || cl.invalidSwitch || cl.updateMode);
    }
}

TEST(CommandLine, LoggingSwitchIgnoresTheRest) {
    for (const char* sw : {"-l", "-L"}) {
        const CommandLine c = CommandLine::Parse({sw, "picture.png"}, kEverythingExists);
        EXPECT_TRUE(c.logging) << sw;
        EXPECT_FALSE(c.invalidSwitch);
        EXPECT_TRUE(c.imageName.isEmpty());
    }
}

TEST(CommandLine, UnknownSwitchesAreInvalidAndLoadNothing) {
    for (const char* sw : {"-x", "-", "-lx", "-LOG", "--help"}) {
        const CommandLine c = CommandLine::Parse({sw, "picture.png"}, kEverythingExists);
        EXPECT_TRUE(c.invalidSwitch) << sw;
        EXPECT_FALSE(c.logging || c.updateMode) << sw;
        EXPECT_TRUE(c.imageName.isEmpty()) << sw;
    }
}

TEST(CommandLine, UpdateModeWithMissingTargetAsksForABlankImage) {
    QStringList asked;
    const CommandLine c = CommandLine::Parse({"-sLogo for Page", "320", "200", "new", "logo.png"},
                                             [&](const QString& name) {
                                                 asked += name;
                                                 return false;
                                             });
    EXPECT_TRUE(c.updateMode);
    EXPECT_FALSE(c.invalidSwitch);
    EXPECT_EQ(c.updateTitle, QStringLiteral("Logo for Page"));
    EXPECT_EQ(c.updateWidth, 320);
    EXPECT_EQ(c.updateHeight, 200);
    EXPECT_EQ(c.updateTarget, QStringLiteral("new logo.png"));
    EXPECT_EQ(asked, QStringList({"new logo.png"}));
    EXPECT_TRUE(c.imageName.isEmpty());
}

TEST(CommandLine, UpdateModeWithExistingTargetLoadsIt) {
    const CommandLine c =
        CommandLine::Parse({"-S", "10", "20", "\"old", "logo.png\""}, kEverythingExists);
    EXPECT_TRUE(c.updateMode);
    EXPECT_TRUE(c.updateTitle.isEmpty());
    EXPECT_EQ(c.updateWidth, 10);
    EXPECT_EQ(c.updateHeight, 20);
    EXPECT_EQ(c.imageName, QStringLiteral("old logo.png"));
}

TEST(CommandLine, UpdateModeTitleMayFollowTheSwitchAsItsOwnWord) {
    const CommandLine c = CommandLine::Parse({"-s", "Test", "64", "48", "out.png"}, nullptr);
    EXPECT_TRUE(c.updateMode);
    EXPECT_EQ(c.updateTitle, QStringLiteral("Test"));
    EXPECT_EQ(c.updateWidth, 64);
    EXPECT_EQ(c.updateHeight, 48);
    EXPECT_EQ(c.updateTarget, QStringLiteral("out.png"));
    // A numeric word after a bare switch is the width, as before.
    const CommandLine d = CommandLine::Parse({"-s", "64", "48", "7", "x.png"}, nullptr);
    EXPECT_TRUE(d.updateTitle.isEmpty());
    EXPECT_EQ(d.updateWidth, 64);
    EXPECT_EQ(d.updateTarget, QStringLiteral("7 x.png"));
}

TEST(CommandLine, UpdateModeWithoutTargetOrNumbersIsInvalid) {
    const QStringList cases[] = {
        {"-sTitle"},
        {"-sTitle", "10", "20"},
        {"-sTitle", "wide", "20", "x.png"},
        {"-sTitle", "10", "", "x.png"},
        {"-sTitle", "0x10", "20", "x.png"},
        {"-sTitle", "10", "2.5", "x.png"},
        {"-s", "Title", "10", "20"},
    };
    for (const QStringList& args : cases) {
        const CommandLine c = CommandLine::Parse(args, kEverythingExists);
        EXPECT_TRUE(c.invalidSwitch) << args.join('|').toStdString();
        EXPECT_FALSE(c.updateMode);
        EXPECT_TRUE(c.imageName.isEmpty());
    }
}

TEST(CommandLine, MissingExistenceCheckMeansNoTarget) {
    const CommandLine c = CommandLine::Parse({"-sT", "5", "6", "x.png"}, nullptr);
    EXPECT_TRUE(c.updateMode);
    EXPECT_TRUE(c.imageName.isEmpty());
}

} // namespace
