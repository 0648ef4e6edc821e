#include "app/AppContext.h"
#include "app/ColourCommands.h"
#include "app/MainForm.h"
#include "app/ToolShell.h"
#include "app/ViewController.h"
#include "document/DocumentTable.h"

#include <QFile>
#include <QObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// Nothing here shows a box or a panel.
struct MessageHostStub : MessageHost, PromptHost, StatusHost {
    int MessageByKey(const QString&, const QString&, int) override { return 1; }
    int Prompt(const QString&, const QString&, int) override { return 2; }
    void SetPanel(int, const QString&) override {}
};

// The entries of one section of a language source: key paths before the '='.
QStringList SectionKeys(const QString& path, const QString& section) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList keys;
    bool inside = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) {
            inside = line == section;
            continue;
        }
        if (!inside || line.isEmpty() || line.startsWith(';')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) keys << line.left(eq);
    }
    return keys;
}

QObject* ChildNamed(QObject* parent, const QString& name) {
    for (QObject* c : parent->findChildren<QObject*>())
        if (c->objectName().compare(name.trimmed(), Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

// Every control the shipped languages address in the main window must exist there, or its
// caption silently stays untranslated.
TEST(LanguageNames, MainFormEntriesReachExistingControls) {
    AppContext context;
    TMainForm form(context);
    // The view's, the tools' and the palette's controls join the window with the objects that
    // drive them.
    ViewController view(form, context, [] { return static_cast<Buffer*>(nullptr); });
    MessageHostStub host;
    ProgramState state(host, host, host);
    ToolShell tools(form, context, state, view);
    ColourCommands colours(form, context, tools.Engine(), host);
    for (const char* lang : {"English", "German"}) {
        const QString path = QStringLiteral(OV_SOURCE_DIR "/lang/%1.txt").arg(lang);
        const QStringList keys = SectionKeys(path, QStringLiteral("[MainForm]"));
        ASSERT_FALSE(keys.isEmpty()) << path.toStdString();
        for (const QString& key : keys) {
            QStringList parts = key.split('.');
            parts.removeLast(); // the property
            QObject* at = &form;
            for (const QString& part : parts) {
                at = ChildNamed(at, part);
                if (!at) break;
            }
            EXPECT_NE(at, nullptr) << lang << ": " << key.toStdString();
        }
    }
}

} // namespace
