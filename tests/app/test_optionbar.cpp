#include "app/MainForm.h"
#include "app/MessageBox.h"
#include "app/Program.h"
#include "app/ProgramFixture.h"
#include "app/ToolShell.h"
#include "lang/BuiltInLanguage.h"
#include "tools/ui/OptionBar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

const char* const kExample = "Pen,L,Mode,3,One,Two,Three,Pick a mode,I,Size,1,999,2,Stroke size";
const char* const kAll = "All,B,Go,Run,C,Tick,1,Ticked,F,Real,2,-5,5,1.25,Real hint,I,Int,0,10,3,"
                         "Int hint,L,List,2,a,b,List hint,N,Fonts,O,Colour,FF8000,Swatch hint,"
                         "P,FONTBOLD,Bold";
enum AllIndex { kB, kC, kF, kI, kL, kN, kO, kP };

void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct BarFixture : ::testing::Test {
    QToolBar bar;
    QLabel* caption = new QLabel(&bar);
    std::unique_ptr<OptionBar> options;
    QToolBar grid;
    std::map<QString, QString> definitions;
    bool gridOn = false;
    int cleared = 0;

    BarFixture() {
        bar.addWidget(caption);
        options = std::make_unique<OptionBar>(bar, *caption);
        options->definitionOf = [this](const QString& key) { return definitions[key]; };
        options->clearActiveControl = [this] { ++cleared; };
        options->gridBar = &grid;
        options->gridOn = [this] { return gridOn; };
        bar.hide();
    }
    ~BarFixture() override { FlushDeletes(); }

    QLabel* LabelFor(QWidget* control) {
        for (QLabel* l : bar.findChildren<QLabel*>())
            if (l->buddy() == control) return l;
        return nullptr;
    }
};

TEST_F(BarFixture, ListAndIntegerFieldFromTheDefinition) {
    options->Build(kExample, 0);
    EXPECT_EQ(caption->text(), "Pen");
    ASSERT_EQ(options->ControlCount(), 2);
    auto* list = qobject_cast<QComboBox*>(options->Control(0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(2), "Three");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->property("tag").toInt(), 4);
    EXPECT_EQ(list->toolTip(), "Pick a mode");
    auto* size = qobject_cast<QSpinBox*>(options->Control(1));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->minimum(), 1);
    EXPECT_EQ(size->maximum(), 999);
    EXPECT_EQ(size->value(), 2);
    EXPECT_EQ(size->property("tag").toInt(), 5);
    EXPECT_EQ(options->GetValue(0), 0);
    EXPECT_EQ(options->GetValue(1), 2);
    // Each label focuses its control and shares its hint.
    QLabel* label = LabelFor(size);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Size");
    EXPECT_EQ(label->toolTip(), "Stroke size");
    ASSERT_NE(LabelFor(list), nullptr);
    EXPECT_EQ(LabelFor(list)->text(), "Mode");
}

TEST_F(BarFixture, ExpertControlsExistButShowOnlyForExperts) {
    const char* def = "X,FF,Scale,1,1,1000,100,Wide,I,N,1,5,3,h";
    bar.resize(1200, 40); // room for every control: none goes to the overflow menu
    bar.show();
    options->Build(def, 0);
    QCoreApplication::processEvents(); // the tool bar lays its widgets out
    ASSERT_EQ(options->ControlCount(), 2);
    ASSERT_NE(options->Control(0), nullptr);
    EXPECT_EQ(options->Control(0)->property("tag").toInt(), 4096 + 5);
    EXPECT_FALSE(options->ControlShown(0));
    EXPECT_FALSE(options->Control(0)->isVisible());
    EXPECT_FALSE(options->Control(0)->isEnabled());
    EXPECT_FALSE(LabelFor(options->Control(0))->isVisible());
    EXPECT_TRUE(options->Control(1)->isVisible());
    EXPECT_EQ(options->GetValue(0), 100); // hidden, but there for the tool

    options->Build(def, 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(options->ControlShown(0));
    EXPECT_TRUE(options->Control(0)->isVisible());
    EXPECT_TRUE(options->Control(0)->isEnabled());
}

TEST_F(BarFixture, RealFieldReadsAPointUnderACommaLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    options->Build("X,F,Half,2,0,1,0.5,Hint", 0);
    const double value = options->GetValue(0);
    const double maximum = qobject_cast<QDoubleSpinBox*>(options->Control(0))->maximum();
    QLocale::setDefault(saved);
    EXPECT_EQ(value, 0.5);
    EXPECT_EQ(maximum, 1.0);
}

TEST_F(BarFixture, ValuesOfEveryKindAndIndexesBeyondTheBar) {
    options->Build(kAll, 0);
    ASSERT_EQ(options->ControlCount(), 8);
    EXPECT_EQ(options->GetValue(kB), 0);
    EXPECT_EQ(options->GetValue(kC), 1);
    EXPECT_EQ(options->GetValue(kF), 1.25);
    EXPECT_EQ(options->GetValue(kI), 3);
    EXPECT_EQ(options->GetValue(kL), 0);
    EXPECT_EQ(options->GetValue(kN), 0);
    EXPECT_EQ(options->GetValue(kO), double(0xFF8000));
    EXPECT_EQ(options->GetValue(kP), 0);
    EXPECT_EQ(qobject_cast<QComboBox*>(options->Control(kN))->itemText(0), "Times New Roman");

    options->SetValue(kC, 0);
    options->SetValue(kF, 2.5);
    options->SetValue(kI, 7.9); // truncated
    options->SetValue(kL, 1);
    options->SetValue(kO, double(0x123456));
    options->SetValue(kP, 1);
    options->SetValue(kB, 1);
    EXPECT_EQ(options->GetValue(kC), 0);
    EXPECT_EQ(options->GetValue(kF), 2.5);
    EXPECT_EQ(options->GetValue(kI), 7);
    EXPECT_EQ(options->GetValue(kL), 1);
    EXPECT_EQ(options->GetValue(kO), double(0x123456));
    EXPECT_EQ(options->GetValue(kP), 1);
    EXPECT_EQ(options->GetValue(kB), 0);
    // Out of range: fields clamp, lists keep their item.
    options->SetValue(kF, 99);
    options->SetValue(kI, -1e12);
    options->SetValue(kL, 5);
    options->SetValue(kL, std::nan(""));
    options->SetValue(kO, -1);
    EXPECT_EQ(options->GetValue(kF), 5);
    EXPECT_EQ(options->GetValue(kI), 0);
    EXPECT_EQ(options->GetValue(kL), 1);
    EXPECT_EQ(options->GetValue(kO), double(0x123456));

    // Beyond the built controls: reads 0, writes and handlers go nowhere.
    int calls = 0;
    for (int index : {-1, 8, 31, 32, 1000}) {
        options->SetValue(index, 4);
        options->SetHandler(index, [&] { ++calls; });
        EXPECT_EQ(options->GetValue(index), 0);
        EXPECT_EQ(options->Control(index), nullptr);
    }
    EXPECT_EQ(options->GetValue(kI), 0);

    // Fixed sizes.
    EXPECT_EQ(options->Control(kB)->height(), 21);
    EXPECT_EQ(options->Control(kP)->size(), QSize(21, 21));
    EXPECT_EQ(options->Control(kO)->width(), 28);
    EXPECT_EQ(options->Control(kN)->width(), 190);
}

TEST_F(BarFixture, HandlersFollowUserChangesButNotWrites) {
    options->Build(kAll, 0);
    std::map<int, int> calls;
    for (int i = 0; i < options->ControlCount(); ++i)
        options->SetHandler(i, [&calls, i] { ++calls[i]; });
    int swatch = 0;
    options->SetSwatchHandler(kO, [&] { ++swatch; });

    qobject_cast<QPushButton*>(options->Control(kB))->click();
    qobject_cast<QCheckBox*>(options->Control(kC))->click();
    qobject_cast<QSpinBox*>(options->Control(kI))->setValue(6);
    qobject_cast<QComboBox*>(options->Control(kL))->setCurrentIndex(1);
    auto* picture = qobject_cast<QToolButton*>(options->Control(kP));
    picture->click();
    EXPECT_EQ(options->GetValue(kP), 1);
    picture->click(); // a toggle: released again
    EXPECT_EQ(options->GetValue(kP), 0);
    QWidget* s = options->Control(kO);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), s->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(s, &press);

    EXPECT_EQ(calls[kB], 1);
    EXPECT_EQ(calls[kC], 1);
    EXPECT_EQ(calls[kI], 1);
    EXPECT_EQ(calls[kL], 1);
    EXPECT_EQ(calls[kP], 2);
    EXPECT_EQ(calls[kO], 0);
    EXPECT_EQ(swatch, 1);

    calls.clear();
    for (int i = 0; i < options->ControlCount(); ++i) options->SetValue(i, 1);
    EXPECT_TRUE(calls.empty());
}

TEST_F(BarFixture, RebuildReplacesAllButTheCaptionEvenFromAHandler) {
    options->Build(kAll, 0);
    QPointer<QWidget> oldField = options->Control(kI);
    QPointer<QWidget> oldButton = options->Control(kB);
    // A button whose click puts another bar in place.
    options->SetHandler(kB, [this] { options->Build(kExample, 0); });
    qobject_cast<QPushButton*>(oldButton.data())->click();
    EXPECT_EQ(caption->text(), "Pen");
    ASSERT_EQ(options->ControlCount(), 2);
    EXPECT_EQ(bar.actions().size(), 1 + 4); // caption, two labels, two controls
    EXPECT_EQ(bar.widgetForAction(bar.actions().first()), caption);
    for (QWidget* w : bar.findChildren<QWidget*>()) EXPECT_NE(w, oldField.data());

    // A control on its way out no longer reaches the handler now at its index.
    int calls = 0;
    options->SetHandler(1, [&] { ++calls; });
    ASSERT_TRUE(oldField);
    qobject_cast<QSpinBox*>(oldField.data())->setValue(9);
    EXPECT_EQ(calls, 0);
    FlushDeletes();
    EXPECT_TRUE(oldField.isNull());
    EXPECT_TRUE(oldButton.isNull());

    options->Build("Just a caption", 0);
    EXPECT_EQ(options->ControlCount(), 0);
    EXPECT_EQ(bar.actions().size(), 1);
    EXPECT_EQ(caption->text(), "Just a caption");
}

TEST_F(BarFixture, DamagedDefinitionsBuildWithoutHarm) {
    for (const char* def : {"", ",,,,", "X,L", "X,L,Lab,2147483647,a", "X,F,l,999,-1e308,1e308,5,h",
                            "X,O,l,zz", "X,P", "X,N", "X,C,,,", "X,I,l,5,1"}) {
        options->Build(def, 1);
        for (int i = 0; i < options->ControlCount(); ++i) {
            options->SetValue(i, 1);
            EXPECT_TRUE(std::isfinite(options->GetValue(i))) << def;
        }
    }
}

TEST_F(BarFixture, SameBarStaysUntilTheLevelChanges) {
    definitions["CURVEBAR"] = BuiltInBarDefinition("CURVEBAR");
    definitions["LINEBAR"] = BuiltInBarDefinition("LINEBAR");
    options->ShowBar("", 0);
    EXPECT_TRUE(bar.isHidden());
    EXPECT_EQ(cleared, 0);

    // Single Curve.
    options->ShowBar("CURVEBAR", 0);
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(caption->text(), "Curve");
    ASSERT_EQ(options->ControlCount(), 3);
    EXPECT_EQ(cleared, 1);
    QWidget* first = options->Control(0);
    options->SetValue(0, 2);
    // Continuous Curve: the same controls with what the user set.
    options->HideBar("CURVEBAR", "CURVEBAR", 0);
    options->ShowBar("CURVEBAR", 0);
    EXPECT_EQ(options->Control(0), first);
    EXPECT_EQ(options->GetValue(0), 2);
    EXPECT_EQ(cleared, 3);
    // Expert now: hidden, disabled and built again.
    options->HideBar("CURVEBAR", "CURVEBAR", 1);
    EXPECT_TRUE(bar.isHidden());
    EXPECT_FALSE(first->isEnabled());
    options->ShowBar("CURVEBAR", 1);
    EXPECT_FALSE(bar.isHidden());
    EXPECT_NE(options->Control(0), first);
    EXPECT_EQ(options->GetValue(0), 0);
    EXPECT_TRUE(options->Control(0)->isEnabled());
    // Another bar.
    QWidget* curve = options->Control(0);
    options->HideBar("CURVEBAR", "LINEBAR", 1);
    EXPECT_TRUE(bar.isHidden());
    options->ShowBar("LINEBAR", 1);
    EXPECT_EQ(caption->text(), "Line");
    EXPECT_NE(options->Control(0), curve);
}

TEST_F(BarFixture, GridBarComesBackOnlyWhileTheGridIsOn) {
    definitions["WANDBAR"] = BuiltInBarDefinition("WANDBAR");
    definitions["LINEBAR"] = BuiltInBarDefinition("LINEBAR");
    grid.show();
    gridOn = true;
    options->ShowBar("WANDBAR", 0);
    EXPECT_FALSE(grid.isHidden());
    options->HideBar("WANDBAR", "LINEBAR", 0);
    gridOn = false; // the grid bar is up although the grid went off
    options->ShowBar("LINEBAR", 0);
    EXPECT_TRUE(grid.isHidden());
}

// The engine's tool switches drive the window's option bar.
class OptionBarProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config_.path());
        MessageByKeySeam() = [](const QString&, const QString&, int) { return int(kAnswerOk); };
    }
    void TearDown() override {
        MessageByKeySeam() = nullptr;
        FlushDeletes();
    }

    QTemporaryDir config_, folder_;
};

TEST_F(OptionBarProgram, ToolSwitchesShowKeepAndRebuildTheBar) {
    auto program = StartProgram({}, folder_.path());
    ASSERT_TRUE(program->Ready());
    TMainForm& form = *program->MainForm();
    ToolEngine& engine = program->Tools().Engine();
    OptionBar& options = program->Tools().ToolOptions();
    program->Context().prefs.Level = 0;
    StandardTools& tools = program->Tools().Tools();
    PaintTool& single = tools.singleCurve;
    PaintTool& continuous = tools.continuousCurve;
    PaintTool& plain = tools.continuousFreehand;

    engine.SelectTool(&single, false, -1);
    EXPECT_TRUE(form.OptionBar()->isVisibleTo(&form));
    EXPECT_EQ(form.OptionBarLabel()->text(), "Curve"); // no language file: the built-in English
    EXPECT_EQ(program->Tools().OptionBars().Value(1), 2);
    QWidget* first = options.Control(0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(form.OptionBar()->isAncestorOf(first));

    // Each tool keeps its own values: what the user set goes with Single Curve.
    options.SetValue(1, 7);
    engine.SelectTool(&continuous, false, -1);
    EXPECT_EQ(options.Control(0), first);
    EXPECT_EQ(options.GetValue(1), 2);
    engine.SelectTool(&single, false, -1);
    EXPECT_EQ(options.GetValue(1), 7);
    EXPECT_EQ(options.Control(0), first);
    program->Context().prefs.Level = 1;
    engine.SelectTool(&single, false, -1);
    EXPECT_NE(options.Control(0), first);
    EXPECT_TRUE(form.OptionBar()->isVisibleTo(&form));

    engine.SelectTool(&plain, false, -1);
    EXPECT_FALSE(form.OptionBar()->isVisibleTo(&form));
    EXPECT_FALSE(options.Control(0)->isEnabled());
    program.reset();
}

} // namespace
