// The drop-shadow window as the user works it: Enter casts the shadow with the chosen depth and
// direction, Escape and losing the focus close it without a change.
#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "brush/ui/DropShadowForm.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DropShadowRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
        MessageByKeySeam() = [](const QString&, const QString&, int) { return kAnswerOk; };
        program_ = StartProgram({}, folder_.path());
    }
    void TearDown() override {
        program_.reset();
        MessageByKeySeam() = nullptr;
    }
    TDropShForm* Open() {
        program_->MainForm()->Action("DropShadow1")->trigger();
        auto* form = program_->MainForm()->findChild<TDropShForm*>("DropShForm");
        EXPECT_NE(form, nullptr);
        EXPECT_TRUE(form && form->isVisible());
        return form;
    }
    static void Key(QWidget* w, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    Pair BrushSize() const {
        const Buffer& b = program_->State().brush.source;
        return {b.Width(), b.Height()};
    }

    QTemporaryDir config_, folder_;
    std::unique_ptr<Program> program_;
};

TEST_F(DropShadowRun, EnterCastsTheShadowAndEscapeOrLosingTheFocusCloseWithoutIt) {
    const Pair start = BrushSize();
    TDropShForm* form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Direction()->currentIndex(), 0);
    EXPECT_EQ(form->Depth()->maximum(), 999);
    form->Depth()->setValue(3);
    form->Direction()->setCurrentIndex(2); // South
    Key(form->Depth(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(BrushSize(), (Pair{start.x, start.y + 3}));

    Open();
    Key(form->Depth(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    Open();
    QEvent away(QEvent::WindowDeactivate);
    QApplication::sendEvent(form, &away);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(BrushSize(), (Pair{start.x, start.y + 3}));
}

} // namespace
