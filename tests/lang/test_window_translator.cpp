#include "lang/Language.h"
#include "lang/LngPacker.h"
#include "lang/WindowTranslator.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Stand-ins for widgets: the same property names, no widgets.
class TestWindow : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString windowTitle MEMBER windowTitle)
    Q_PROPERTY(int width MEMBER width)
    Q_PROPERTY(QString toolTip MEMBER toolTip)
public:
    using QObject::QObject;
    QString windowTitle = "built-in", toolTip;
    int width = 100;
};

class TestButton : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text MEMBER text)
    Q_PROPERTY(QString toolTip MEMBER toolTip)
    Q_PROPERTY(bool enabled MEMBER enabled)
    Q_PROPERTY(bool checked MEMBER checked)
    Q_PROPERTY(QString windowTitle MEMBER windowTitle)
public:
    using QObject::QObject;
    QString text = "built-in", toolTip, windowTitle;
    bool enabled = true, checked = false;
};

class TestMenu : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER title)
public:
    using QObject::QObject;
    QString title = "built-in";
};

// A widget whose width is read-only and whose size is writable, like QWidget.
class TestPanel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int width READ width)
    Q_PROPERTY(QSize size MEMBER size)
    Q_PROPERTY(QString plainText MEMBER plainText)
public:
    using QObject::QObject;
    int width() const { return size.width(); }
    QSize size{10, 20};
    QString plainText;
};

// A new list empties the selection, as list widgets do.
class TestList : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int currentRow MEMBER currentRow)
public:
    using QObject::QObject;
    QStringList items() const { return items_; }
    void setItems(const QStringList& items) { items_ = items, currentRow = -1; }
    QStringList items_;
    int currentRow = -1;
};

// Named like the real class, which gets its entries through a dynamic "items" property.
class QComboBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(int currentIndex MEMBER currentIndex)
public:
    explicit QComboBox(QObject* parent) : QObject(parent) { setProperty("items", QStringList()); }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::DynamicPropertyChange) currentIndex = -1;
        return QObject::event(e);
    }
    int currentIndex = -1;
};

// A new list makes new buttons, one per item, named Choice0, Choice1, ... (as radio groups do).
class TestChoices : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
public:
    using QObject::QObject;
    QStringList items() const { return items_; }
    void setItems(const QStringList& items) {
        items_ = items;
        qDeleteAll(findChildren<TestButton*>(Qt::FindDirectChildrenOnly));
        for (int i = 0; i < items.size(); ++i)
            (new TestButton(this))->setObjectName(QStringLiteral("Choice%1").arg(i));
    }
    QStringList items_;
};

namespace {

struct Form {
    TestWindow window;
    TestButton* ok = new TestButton(&window);
    TestButton* title = new TestButton(&window);
    TestPanel* panel = new TestPanel(&window);
    TestButton* inner = new TestButton(panel);
    TestList* list = new TestList(&window);
    QComboBox* combo = new QComboBox(&window);
    explicit Form(const char* name) {
        window.setObjectName(name);
        ok->setObjectName("OkBtn");
        title->setObjectName("Title");
        panel->setObjectName("Panel");
        inner->setObjectName("Inner");
        list->setObjectName("Colors");
        combo->setObjectName("Combo");
    }
    void Translate(const QByteArray& text, const char* section) {
        TranslateWindowText(text, section, {&window});
    }
};

} // namespace

TEST(WindowTranslator, CaptionsHintsAndUnknownNames) {
    Form f("FFactForm");
    f.Translate("[Messages]\r\nOkBtn.Caption=wrong section\r\n"
                "[FFactForm]\r\nOkBtn.Caption=&Ok\r\nTitle.Nonsense=1\r\nCaption=Filter@Factory\r\n"
                "; OkBtn.Caption=comment\r\nOkBtn.Hint\r\n okbtn . hint =Press@\r\nTitle.Hint=\r\n"
                "Title.Caption=@\r\nMissing.Caption=x\r\nInner.Caption=not a direct child\r\n"
                "Panel.Inner.Caption=Nested\r\n[Other]\r\nOkBtn.Caption=next section\r\n",
                "[FFactForm]");
    EXPECT_EQ(f.ok->text, "&Ok");
    EXPECT_EQ(f.ok->toolTip, "Press ");
    EXPECT_EQ(f.ok->windowTitle, "");
    EXPECT_EQ(f.window.windowTitle, "Filter Factory");
    EXPECT_EQ(f.title->text, " ");
    EXPECT_EQ(f.title->toolTip, "");
    EXPECT_EQ(f.inner->text, "Nested");
}

TEST(WindowTranslator, SectionHeaderMustMatchExactly) {
    Form f("NewForm");
    f.Translate("[newform]\r\nOkBtn.Caption=x\r\n[NewForm] \r\nCaption=Trimmed\r\n", "[NewForm]");
    EXPECT_EQ(f.ok->text, "built-in");
    EXPECT_EQ(f.window.windowTitle, "Trimmed");
    f.Translate("[NewForm]\r\nCaption=nothing\r\n", "[Other]");
    EXPECT_EQ(f.window.windowTitle, "Trimmed");
}

TEST(WindowTranslator, ListsKeepTheirIndexAndComboBoxesStartAtZero) {
    Form f("Preferences");
    f.list->currentRow = 1;
    f.combo->currentIndex = 2;
    f.Translate("[Preferences]\r\nColors.Items=Red|Green|Blue|\r\nCombo.Items=8|12||16\r\n"
                "Panel.Lines=one|two|\r\n",
                "[Preferences]");
    EXPECT_EQ(f.list->items_, (QStringList{"Red", "Green", "Blue"}));
    EXPECT_EQ(f.list->currentRow, 1);
    EXPECT_EQ(f.combo->property("items").toStringList(), (QStringList{"8", "12", "", "16"}));
    EXPECT_EQ(f.combo->currentIndex, 0);
    EXPECT_EQ(f.panel->plainText, "one\ntwo");
}

TEST(WindowTranslator, ControlsMadeByAListAreReachedAndGoneOnesAreNot) {
    Form f("Prefs");
    auto* choices = new TestChoices(&f.window);
    choices->setObjectName("Level");
    choices->setItems({"a"});
    QPointer<TestButton> old = choices->findChild<TestButton*>("Choice0");
    f.Translate("[Prefs]\r\nLevel.Choice0.Caption=before\r\nLevel.Items=Novice|Expert\r\n"
                "Level.Choice1.Caption=second\r\nLevel.Choice0.Caption=first\r\n",
                "[Prefs]");
    EXPECT_TRUE(old.isNull()); // the list replaced it
    const QList<TestButton*> made = choices->findChildren<TestButton*>();
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(made[0]->text, "first");
    EXPECT_EQ(made[1]->text, "second");
}

TEST(WindowTranslator, NumbersAndSwitches) {
    Form f("InfoForm");
    f.Translate("[InfoForm]\r\nWidth=320\r\nOkBtn.Enabled=0\r\nOkBtn.Checked=True\r\n"
                "Panel.Width=abc\r\nPanel.Height=44\r\nColors.ItemIndex=2\r\n",
                "[InfoForm]");
    EXPECT_EQ(f.window.width, 320);
    EXPECT_FALSE(f.ok->enabled);
    EXPECT_TRUE(f.ok->checked);
    EXPECT_EQ(f.panel->size, QSize(10, 44));
    EXPECT_EQ(f.list->currentRow, 2);
}

TEST(WindowTranslator, ArrowSelectsTheWindow) {
    TestWindow main, other;
    main.setObjectName("TMainForm");
    other.setObjectName("TOther");
    auto* file = new TestMenu(&main);
    file->setObjectName("File1");
    auto* edit = new TestButton(&main);
    edit->setObjectName("Edit1");
    auto* otherFile = new TestMenu(&other);
    otherFile->setObjectName("File1");
    TranslateWindowText("[Translations]\r\nFile1.Caption=no window yet\r\n>=TMainForm\r\n"
                        "File1.Caption=&File\r\n>=Nope\r\nFile1.Caption=X\r\n>=tother\r\n"
                        "File1.Caption=Other\r\n>=TMAINFORM\r\nEdit1.Caption=&Edit\r\n",
                        "[Translations]", {&main, &other});
    EXPECT_EQ(file->title, "&File");
    EXPECT_EQ(otherFile->title, "Other");
    EXPECT_EQ(edit->text, "&Edit");
}

TEST(WindowTranslator, ThroughALoadedLanguage) {
    QTemporaryDir dir;
    const QByteArray text = "[Messages]\r\nErr=Fehler\r\n[NewForm]\r\nOkBtn.Caption=&Gut\r\n";
    const std::vector<uint8_t> packed =
        PackLng({reinterpret_cast<const uint8_t*>(text.constData()), size_t(text.size())});
    QFile lng(dir.filePath("deutsch.lng"));
    ASSERT_TRUE(lng.open(QIODevice::WriteOnly));
    lng.write(reinterpret_cast<const char*>(packed.data()), qsizetype(packed.size()));
    lng.close();
    Language lang;
    Form f("NewForm");
    TranslateWindow(lang, "[NewForm]", {&f.window});
    EXPECT_EQ(f.ok->text, "built-in");
    ASSERT_EQ(lang.Load(dir.path(), "Deutsch"), std::nullopt);
    TranslateWindow(lang, "[NewForm]", {&f.window});
    EXPECT_EQ(f.ok->text, "&Gut");
}

#include "test_window_translator.moc"
