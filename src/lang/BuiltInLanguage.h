#pragma once

// The English language source, compiled into the program so that option bars have their
// controls even when no language file is loaded.

#include <QByteArray>
#include <QString>

// The whole English source text as shipped (lang/English.txt), byte for byte.
QByteArray BuiltInLanguageText();

// The value of key in the source's [Messages] section, looked up as a loaded language would:
// the key must match exactly, the first entry wins, and every "@" becomes a blank. Empty when
// the source has no such entry.
QString BuiltInBarDefinition(const QString& key);
