#include "filters/Convolution.h"
#include "filters/FFRun.h"
#include "filters/MakeComponent.h"
#include "filters/ui/CFilterForm.h"
#include "filters/ui/FFactForm.h"
#include "lang/Language.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

// An image with its undo copy, as the command hands them to a filter window.
struct Bench {
    Buffer image, undo;
    Language language;
    int bands = 0;
    std::function<void()> onBand; // runs between bands, as a click during the run would
    int changes = 0;
    PreviewSession session{{[] { return true; }, [this] { image = undo; }, [this] { ++changes; }}};
    ImageRunHost host;

    explicit Bench(int w = 30, int h = 120) {
        image.Alloc({w, h});
        std::mt19937 rng(9);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.At(x, y) = rng() & 0xFFFFFF;
        undo = image;
        session.Start();
        host.session = &session;
        host.image = &image;
        host.undo = &undo;
        host.workBuffer = [this]() -> Buffer& { return image; };
        host.clipping = [] { return false; };
        host.progressStep = [this](int) {
            ++bands;
            if (onBand) onBand();
        };
    }
    // Rows whose every pixel differs from the undo copy's... or is equal to expected.
    bool RowIs(int y, const Buffer& expected) const {
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) != expected.At(x, y)) return false;
        return true;
    }
};

void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(CFilterForm, StopLeavesTheDoneRowsAndOkNeverKeepsAHalfRun) {
    Bench b;
    CustomFilterState state;
    TCFilterForm form(b.language, state, b.host);
    Buffer full = b.undo;
    conv::Rows(conv::MakeKernel(state.settings), b.undo, full, 0, 120);
    // Stop (Escape) after the first band: the Ok that started the run must not commit.
    b.onBand = [&] { Key(&form, Qt::Key_Escape); };
    form.OkBtnClick();
    EXPECT_FALSE(form.Applied());
    EXPECT_FALSE(form.Committed());
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(b.bands, 1);
    EXPECT_TRUE(b.RowIs(0, full));
    EXPECT_TRUE(b.RowIs(119, b.undo));
    // Preview then runs again, whole.
    b.onBand = nullptr;
    form.PreviewBtnClick();
    EXPECT_TRUE(form.Applied());
    for (int y = 0; y < 120; ++y) EXPECT_TRUE(b.RowIs(y, full)) << y;
    form.OkBtnClick(); // applied: no second run
    EXPECT_TRUE(form.Committed());
}

TEST(CFilterForm, CellsNormaliseAndEmptyingOneClearsApplied) {
    Bench b;
    CustomFilterState state;
    TCFilterForm form(b.language, state, b.host);
    form.PreviewBtnClick();
    ASSERT_TRUE(form.Applied());
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"1500", "999"}, {"0", ""}, {"-3", "-3"}, {"-", ""}};
    for (const auto& c : cases) {
        form.Cell(3)->setText(QString::fromLatin1(c.typed));
        form.NormaliseCell(3);
        EXPECT_EQ(form.Cell(3)->text(), QString::fromLatin1(c.kept)) << c.typed;
    }
    form.PreviewBtnClick();
    ASSERT_TRUE(form.Applied());
    form.Cell(12)->setFocus();
    form.Cell(12)->selectAll();
    Key(form.Cell(12), Qt::Key_Backspace); // emptied by the user
    EXPECT_FALSE(form.Applied());
    EXPECT_EQ(form.Settings().cells[12], 0);
}

TEST(FFactForm, EnterInAMemoIsANewLineAndEscapeStopsARun) {
    Bench b(40, 200);
    FilterFactoryState state;
    TFFactForm form(b.language, state, b.host);
    auto* red = form.findChild<QPlainTextEdit*>(QStringLiteral("RedCh"));
    ASSERT_NE(red, nullptr);
    red->setPlainText(QStringLiteral("255 - r"));
    red->setFocus();
    Key(red, Qt::Key_Return);
    EXPECT_FALSE(form.Committed());
    EXPECT_FALSE(form.Applied());
    bool closedWhileRunning = true;
    b.onBand = [&] {
        closedWhileRunning = form.close();
        Key(&form, Qt::Key_Return); // ignored while running
        Key(&form, Qt::Key_Escape); // stops
    };
    form.PreviewBtnClick();
    EXPECT_FALSE(closedWhileRunning);
    EXPECT_FALSE(form.Applied());
    EXPECT_FALSE(form.Committed());
    EXPECT_EQ(b.image.At(0, 0) >> 16, 255 - (b.undo.At(0, 0) >> 16));
    EXPECT_EQ(b.image.At(0, 199), b.undo.At(0, 199));
}

TEST(FFactForm, MakeWritesTheFilterAsAComponentOrSaysItCannot) {
    Bench b;
    QTemporaryDir dir;
    QString chosen, start;
    QStringList messages;
    b.host.saveName = [&](const QString&, const QString&, const QString& folder, const QString&) {
        start = folder;
        return chosen;
    };
    b.host.message = [&](const QString& key) { messages << key; };
    FilterFactoryState state;
    TFFactForm form(b.language, state, b.host);
    form.findChild<QLineEdit*>(QStringLiteral("Title"))->setText(QStringLiteral("Made"));
    auto* make = form.findChild<QPushButton*>(QStringLiteral("MakeBtn"));
    ASSERT_NE(make, nullptr);
    ASSERT_TRUE(make->isEnabled());
    chosen = dir.filePath(QStringLiteral("made.ovc"));
    make->click();
    EXPECT_EQ(start, QCoreApplication::applicationDirPath() + QStringLiteral("/Comps"));
    const std::optional<FilterSource> attached = makecomp::ReadAttached(chosen);
    ASSERT_TRUE(attached.has_value());
    EXPECT_EQ(attached->title, QStringLiteral("Made"));
    EXPECT_TRUE(messages.isEmpty());
    chosen = dir.filePath(QStringLiteral("no/such/folder/made.ovc"));
    make->click();
    EXPECT_EQ(messages, QStringList{QStringLiteral("CantSaveComp")});
}

} // namespace
