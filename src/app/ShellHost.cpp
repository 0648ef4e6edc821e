#include "app/ShellHost.h"

#include "app/MainForm.h"
#include "app/MessageBox.h"

int ShellHost::MessageByKey(const QString& textKey, const QString& titleKey, int style) {
    return ::MessageByKey(&form_, language_, textKey, titleKey, style);
}

int ShellHost::Prompt(const QString& text, const QString& caption, int style) {
    return MessageByText(&form_, text, caption, style);
}

void ShellHost::SetPanel(int index, const QString& text) {
    form_.SetPanel(index, text);
}
