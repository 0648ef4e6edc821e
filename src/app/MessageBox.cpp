#include "app/MessageBox.h"

#include "lang/Language.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ButtonsOf(int style) {
    switch (style & 0x0F) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case 3:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// A box closed by its window frame has no button; it answers like Escape would.
int EscapeAnswer(QMessageBox::StandardButtons buttons) {
    if (buttons & QMessageBox::Cancel) return kAnswerCancel;
    if (buttons & QMessageBox::No) return kAnswerNo;
    return kAnswerOk;
}

} // namespace

MessageByKeyAnswer& MessageByKeySeam() {
    static MessageByKeyAnswer seam;
    return seam;
}

int MessageByKey(QWidget* parent, const Language& language, const QString& textKey,
                 const QString& titleKey, int style) {
    if (const MessageByKeyAnswer& seam = MessageByKeySeam()) return seam(textKey, titleKey, style);
    return MessageByText(parent, language.Translate(textKey), language.Translate(titleKey), style);
}

int MessageByText(QWidget* parent, const QString& text, const QString& caption, int style) {
    if (const MessageByKeyAnswer& seam = MessageByKeySeam()) return seam(text, caption, style);
    const QMessageBox::StandardButtons buttons = ButtonsOf(style);
    QMessageBox box(IconOf(style), caption, text, buttons, parent);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return kAnswerOk;
    case QMessageBox::Cancel:
        return kAnswerCancel;
    case QMessageBox::Yes:
        return kAnswerYes;
    case QMessageBox::No:
        return kAnswerNo;
    default:
        return EscapeAnswer(buttons);
    }
}
