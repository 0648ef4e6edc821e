#include "lang/BuiltInLanguage.h"

#include "lang/LngText.h"

#include <QFile>

QByteArray BuiltInLanguageText() {
    QFile file(QStringLiteral(":/lang/English.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QString BuiltInBarDefinition(const QString& key) {
    const QByteArray text = BuiltInLanguageText();
    // Looked up as Language::Translate does, from just after the messages header.
    return LngFindEntry(text, LngMessagesPos(text), key).value_or(QString());
}
