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
    LngLineReader reader(text);
    // Entries are searched from just after the messages header, as Language::Translate does.
    while (!reader.AtEnd()) {
        const QString line = LngTrim(LngDecodeLine(reader.Next(kLngSectionPiece)));
        if (line.toUpper() == QLatin1String("[MESSAGES]")) break;
    }
    while (!reader.AtEnd()) {
        const QString line = LngTrim(LngDecodeLine(reader.Next(kLngEntryPiece)));
        if (line.isEmpty() || line.startsWith(u';')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).first(eq) == key)
            return line.sliced(eq + 1).replace(u'@', u' ');
    }
    return {};
}
