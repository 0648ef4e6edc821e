#include "app/MessageBox.h"
#include "lang/Language.h"
#include "lang/LngPacker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct SeamGuard {
    ~SeamGuard() { MessageByKeySeam() = nullptr; }
};

// What the box looked like when it was answered.
struct Seen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool found = false;
};

// Answers the next modal message box by clicking `button`, or by Escape when button is NoButton.
void AnswerNextBox(QMessageBox::StandardButton button, Seen* seen) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, button, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        seen->found = true;
        seen->text = box->text();
        seen->title = box->windowTitle();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        if (button == QMessageBox::NoButton) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &esc);
        } else {
            box->button(button)->click();
        }
    });
    timer->start();
}

void LoadLanguage(Language& language, const QString& folder, const QByteArray& text) {
    const std::vector<uint8_t> packed =
        PackLng({reinterpret_cast<const uint8_t*>(text.constData()), size_t(text.size())});
    QFile f(QDir(folder).filePath("test.lng"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(packed.data()), qsizetype(packed.size()));
    f.close();
    ASSERT_EQ(language.Load(folder, "test"), std::nullopt);
}

} // namespace

TEST(MessageByKey, SeamAnswersWithoutABox) {
    SeamGuard guard;
    QStringList calls;
    MessageByKeySeam() = [&](const QString& text, const QString& title, int style) {
        calls << QString("%1/%2/%3").arg(text, title).arg(style);
        return style == 35 ? 2 : 7;
    };
    Language none;
    EXPECT_EQ(MessageByKey(nullptr, none, "ImgBig", "Err", 48), 7);
    EXPECT_EQ(MessageByKey(nullptr, none, "SaveChanges", "Warn", 35), 2);
    EXPECT_EQ(calls, (QStringList{"ImgBig/Err/48", "SaveChanges/Warn/35"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MessageByKey, RealBoxesReturnTheButtonCodes) {
    QTemporaryDir dir;
    Language language;
    LoadLanguage(language, dir.path(),
                 "[Messages]\r\nErr=Fehler\r\nWarn=Achtung\r\n"
                 "NoImg=Kein@Bild\r\n");

    struct Case {
        int style;
        QMessageBox::StandardButton click;
        int expected;
    };
    const Case cases[] = {
        {48, QMessageBox::Ok, 1}, {48, QMessageBox::NoButton, 1}, {52, QMessageBox::Yes, 6},
        {52, QMessageBox::No, 7}, {52, QMessageBox::NoButton, 7}, {35, QMessageBox::Yes, 6},
        {35, QMessageBox::No, 7}, {35, QMessageBox::Cancel, 2},   {35, QMessageBox::NoButton, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " button " << c.click);
        Seen seen;
        AnswerNextBox(c.click, &seen);
        const QString title = c.style == 35 ? "Warn" : "Err";
        EXPECT_EQ(MessageByKey(nullptr, language, "NoImg", title, c.style), c.expected);
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.text, "Kein Bild");
        EXPECT_EQ(seen.title, c.style == 35 ? "Achtung" : "Fehler");
        switch (c.style) {
        case 48:
            EXPECT_EQ(seen.buttons, QMessageBox::Ok);
            EXPECT_EQ(seen.icon, QMessageBox::Warning);
            break;
        case 52:
            EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(seen.icon, QMessageBox::Warning);
            break;
        default:
            EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            EXPECT_EQ(seen.icon, QMessageBox::Question);
        }
    }
}

TEST(MessageByKey, WithoutALanguageTheKeysAreShown) {
    Language none;
    Seen seen;
    AnswerNextBox(QMessageBox::Ok, &seen);
    EXPECT_EQ(MessageByKey(nullptr, none, "InvSwitch", "Err", 48), 1);
    EXPECT_EQ(seen.text, "InvSwitch");
    EXPECT_EQ(seen.title, "Err");
}
