#include "files/FormatFilter.h"

#include <QStringList>

FormatFilter BuildFormatFilter(const std::vector<GFXFormat>& formats, bool savableOnly,
                               const std::function<QString(const QString&)>& translate) {
    FormatFilter result;
    QStringList commaLists;
    QStringList semicolonLists;
    int used = 0;
    for (const GFXFormat& f : formats) {
        if (savableOnly && !f.canSave) continue;
        const QString patterns = f.extensions.toLower();
        QString commas = patterns;
        commas.replace(QLatin1Char(';'), QLatin1Char(','));
        result.text += f.description + QStringLiteral(" (") + commas + QStringLiteral(")|") +
                       patterns + QLatin1Char('|');
        commaLists << commas;
        semicolonLists << patterns;
        ++used;
    }
    const QString all = translate ? translate(QStringLiteral("All")) : QStringLiteral("All");
    result.text += all + QStringLiteral(" (") + commaLists.join(QLatin1Char(',')) +
                   QStringLiteral(")|") + semicolonLists.join(QLatin1Char(';')) + QLatin1Char('|');
    result.lastIndex = used + 1;
    return result;
}

int FilterIndexForName(const QString& filter, const QString& name) {
    // Only the last path component carries the extension; a dot in a folder name does not count.
    const qsizetype slash =
        qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const QString file = name.mid(slash + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == file.size() - 1) return 1;
    const qsizetype at = filter.indexOf(file.mid(dot), 0, Qt::CaseInsensitive);
    if (at < 0) return 0;
    const qsizetype bars = filter.left(at).count(QLatin1Char('|'));
    return int(bars / 2) + 1;
}

QString NameForSaveType(const QString& name, const std::vector<GFXFormat>& formats, int index) {
    if (name.isEmpty() || index < 1) return name;
    const GFXFormat* chosen = nullptr;
    int k = 0;
    for (const GFXFormat& f : formats)
        if (f.canSave && ++k == index) {
            chosen = &f;
            break;
        }
    if (!chosen) return name;
    QString ext = chosen->extensions.section(QLatin1Char(';'), 0, 0).toLower();
    if (ext.startsWith(QLatin1Char('*'))) ext.remove(0, 1);
    const qsizetype slash =
        qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot > slash ? name.left(dot) : name) + ext;
}

QStringList DialogNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const qsizetype open = label.lastIndexOf(QStringLiteral(" ("));
        if (open >= 0) label.truncate(open);
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << label + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}
