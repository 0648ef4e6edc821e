#include "filters/CompSession.h"
#include "filters/ui/CompForm.h"
#include "lang/Language.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

namespace {

using comp::ParamDef;
using comp::ParamType;

ParamDef Def(char letter, ParamType type, int level = 0) {
    ParamDef d;
    d.letter = letter;
    d.type = type;
    d.level = level;
    d.label = QStringLiteral("Label %1").arg(QLatin1Char(letter));
    d.lowest = 0;
    d.highest = 100;
    d.highestD = 10;
    d.decimals = 2;
    d.items = {QStringLiteral("One"), QStringLiteral("Two")};
    return d;
}

// Every type once, in the order of the height table.
comp::Descriptor EveryType(const QString& options) {
    comp::Descriptor d;
    d.name = QStringLiteral("All");
    d.options = options;
    const std::pair<char, ParamType> types[] = {
        {'B', ParamType::Button}, {'C', ParamType::Check},   {'F', ParamType::Decimal},
        {'G', ParamType::Image},  {'I', ParamType::Integer}, {'L', ParamType::List},
        {'O', ParamType::Colour}, {'P', ParamType::Point},   {'S', ParamType::Slider}};
    for (size_t i = 0; i < std::size(types); ++i)
        d.params[i] = Def(types[i].first, types[i].second);
    return d;
}

// The program as a running component sees it: a picture, its undo copy, what was asked of it.
struct FakeHost : comp::SessionHost {
    Buffer picture, undo;
    int endTool = 0, changes = 0, level = 0;
    FakeHost() {
        picture.Alloc({40, 30});
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) picture.At(x, y) = uint32_t(x * 6 + y);
    }
    Buffer& Picture() override { return picture; }
    Buffer& UndoPicture() override { return undo; }
    bool TakeUndoCopy() override {
        undo = picture;
        return true;
    }
    void ExchangeWithUndo() override { std::swap(picture, undo); }
    Rect DrawingArea() override { return picture.Bounds(); }
    void CountChange() override { ++changes; }
    void ProgressStart() override {}
    void ProgressStep(int) override {}
    void ProgressStop() override {}
    void ProcessEvents() override {}
    void SetBusyCursor(bool) override {}
    void Repaint(Rect) override {}
    bool ReallocatePicture(Pair size) override { return picture.Alloc(size); }
    void ShowError(const QString&) override {}
    void Message(const QString&) override {}
    uint32_t Foreground() override { return 0xFFFFFF; }
    uint32_t Background() override { return 0; }
    std::array<comp::ImageSlot, comp::MaxParams> Images() override {
        std::array<comp::ImageSlot, comp::MaxParams> list{};
        list[0].picture = &undo;
        return list;
    }
    int CurrentSlot() override { return 1; }
    bool ToolCurrent() override { return true; }
    void EndTool() override { ++endTool; }
    int UserLevel() override { return level; }
};

const char* RecorderPath() {
    static const QByteArray path = QDir(QStringLiteral(OV_BUILD_DIR))
                                       .filePath(QStringLiteral("dialogcomps/recorder.ovc"))
                                       .toUtf8();
    return path.constData();
}

// The recording component, started through a real session with the form as its panel.
struct Running {
    Language language;
    FakeHost host;
    comp::Component component;
    TCompForm form{language, TCompForm::Mode::Tool};
    std::unique_ptr<comp::Session> session;
    void* handle = nullptr;

    Running() {
        handle = dlopen(RecorderPath(), RTLD_NOW);
        component.path = QString::fromUtf8(RecorderPath());
        const auto* text =
            static_cast<const char* const*>(handle ? dlsym(handle, "OVCDESC") : nullptr);
        if (auto descriptor = comp::ParseDescriptor(text ? *text : ""))
            component.descriptor = *descriptor;
        session = std::make_unique<comp::Session>(component, host, form, &language);
        form.Attach(session.get());
    }
    ~Running() {
        session->End();
        if (handle) dlclose(handle);
    }
    template <typename T> T Fn(const char* name) const {
        return reinterpret_cast<T>(dlsym(handle, name));
    }
    int Count() const { return Fn<int (*)()>("rec_count")(); }
    uint32_t Command(int i) const { return Fn<uint32_t (*)(int)>("rec_command")(i); }
    void Reset() const { Fn<void (*)()>("rec_reset")(); }
    int Sent(uint32_t command) const {
        int n = 0;
        for (int i = 0; i < Count(); ++i) n += Command(i) == command;
        return n;
    }
    int32_t PackedInt(int offset) const {
        int32_t v;
        std::memcpy(&v, Fn<const unsigned char* (*)()>("rec_values")() + offset, 4);
        return v;
    }
};

void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

TEST(CompForm, RowsStackByTheirTypesHeights) {
    Language language;
    TCompForm form(language, TCompForm::Mode::Tool);
    const std::array<bool, comp::MaxParams> hidden{};
    EXPECT_EQ(form.Build(EveryType({}), comp::InitialValues(EveryType({})), hidden), 9);
    // B 26, C 23, F 25, G 94, I 25, L 26, O 27, P 26, S 22, each row under the one before.
    const int heights[] = {26, 23, 25, 94, 25, 26, 27, 26, 22};
    int top = form.Control(1)->y();
    for (int place = 1; place <= 9; ++place) {
        ASSERT_NE(form.Control(place), nullptr) << place;
        EXPECT_EQ(form.Control(place)->y(), top) << place;
        top += heights[place - 1];
    }
    EXPECT_EQ(form.RowsHeight(), 26 + 23 + 25 + 94 + 25 + 26 + 27 + 26 + 22 + 3);
    EXPECT_EQ(form.height(), form.RowsHeight() + TCompForm::ButtonSpace);
    EXPECT_EQ(form.width(), TCompForm::Width);
}

TEST(CompForm, AHiddenLevelKeepsItsControlButNotItsRow) {
    Language language;
    TCompForm form(language, TCompForm::Mode::Tool);
    comp::Descriptor d;
    d.params[0] = Def('I', ParamType::Integer);
    d.params[1] = Def('G', ParamType::Image, 2);
    d.params[2] = Def('S', ParamType::Slider);
    std::array<bool, comp::MaxParams> hidden{};
    hidden[1] = true;
    EXPECT_EQ(form.Build(d, comp::InitialValues(d), hidden), 3);
    ASSERT_NE(form.Control(2), nullptr);
    EXPECT_TRUE(form.Control(2)->isHidden());
    EXPECT_EQ(form.Control(3)->y(), form.Control(1)->y() + 25);
    EXPECT_EQ(form.RowsHeight(), 25 + 22 + 3);
}

TEST(CompForm, OnlyTheOptionsShowThePreviewAndItsButton) {
    Language language;
    const std::array<bool, comp::MaxParams> hidden{};
    struct Case {
        const char* options;
        bool instant, previewButton;
    } cases[] = {{"", false, false}, {"W", true, false}, {"P", false, true}, {"WP", true, true}};
    for (const Case& c : cases) {
        TCompForm form(language, TCompForm::Mode::Tool);
        const comp::Descriptor d = EveryType(QString::fromLatin1(c.options));
        form.Build(d, comp::InitialValues(d), hidden);
        auto* instant = form.findChild<QCheckBox*>(QStringLiteral("InstPreview"));
        auto* preview = form.findChild<QWidget*>(QStringLiteral("PreviewBtn"));
        EXPECT_EQ(!instant->isHidden(), c.instant) << c.options;
        EXPECT_EQ(!preview->isHidden(), c.previewButton) << c.options;
        EXPECT_EQ(form.width() >= 308, c.instant) << c.options;
    }
}

TEST(CompForm, ValuesSetByTheProgramReadBackUnchanged) {
    Language language;
    TCompForm form(language, TCompForm::Mode::Tool);
    const comp::Descriptor d = EveryType({});
    form.Build(d, comp::InitialValues(d), {});
    comp::ParamValue colour, point, list, decimal;
    colour.colour = 0x123456;
    point.x = 17;
    point.y = 5;
    list.number = 2;
    decimal.number = 7.25;
    const std::pair<int, comp::ParamValue> sets[] = {
        {7, colour}, {8, point}, {6, list}, {3, decimal}};
    for (const auto& [place, value] : sets) {
        form.SetValue(place, value);
        EXPECT_EQ(form.Value(place), value) << place;
    }
}

TEST(CompForm, PresetSendsOneNoticeWithTheInitialValues) {
    Running r;
    ASSERT_NE(r.handle, nullptr) << RecorderPath();
    ASSERT_EQ(r.session->Start(), comp::Session::Started::Shown);
    auto* radius = qobject_cast<QSpinBox*>(r.form.Control(1));
    ASSERT_NE(radius, nullptr);
    radius->setValue(42);
    EXPECT_EQ(r.PackedInt(0), 42);
    r.Reset();
    r.form.PresetBtnClick();
    EXPECT_EQ(r.Sent(4494), 1);
    EXPECT_EQ(r.PackedInt(0), 10);   // Radius as the descriptor starts it
    EXPECT_EQ(radius->value(), 10);  // and the control shows it
    EXPECT_EQ(r.PackedInt(12), 128); // the slider after the 8 bytes of Amount
    // The level-2 decimal is hidden for a beginner but its value is packed all the same.
    EXPECT_TRUE(r.form.Control(2)->isHidden());
}

TEST(CompForm, EnterRunsOkAndEscapeCancels) {
    struct Case {
        int key;
        int finalRuns, changes;
    } cases[] = {{Qt::Key_Return, 1, 1}, {Qt::Key_Escape, 0, 0}};
    for (const Case& c : cases) {
        Running r;
        ASSERT_NE(r.handle, nullptr);
        ASSERT_EQ(r.session->Start(), comp::Session::Started::Shown);
        r.form.Control(1)->setFocus();
        r.Reset();
        Key(r.form.Control(1), c.key); // a key typed in a field reaches the window first
        EXPECT_EQ(r.host.endTool, 1) << c.key;
        EXPECT_EQ(r.host.changes, c.changes) << c.key;
        const bool ranFinal = r.Fn<intptr_t (*)()>("rec_final")() == 1;
        EXPECT_EQ(int(ranFinal), c.finalRuns) << c.key;
    }
}

TEST(CompForm, DigitsStayInTheFieldOtherKeysGoToTheMainWindow) {
    Running r;
    ASSERT_NE(r.handle, nullptr);
    ASSERT_EQ(r.session->Start(), comp::Session::Started::Shown);
    QList<int> passed;
    r.form.hooks.passKey = [&](QKeyEvent& e) { passed.push_back(e.key()); };
    int help = 0;
    r.form.hooks.showHelp = [&] { ++help; };
    r.form.Control(1)->setFocus();
    for (int key : {int(Qt::Key_5), int(Qt::Key_Backspace), int(Qt::Key_Up), int(Qt::Key_P),
                    int(Qt::Key_F1), int(Qt::Key_F2)})
        Key(r.form.Control(1), key);
    EXPECT_EQ(passed, (QList<int>{Qt::Key_P, Qt::Key_F2}));
    EXPECT_EQ(help, 1); // F1 is the component's help, not the main window's key
    EXPECT_EQ(r.host.endTool, 0);
}

} // namespace
