#pragma once

// Applies a language section ("[NewForm]") to windows through Qt's property system, so the
// core needs no widgets: windows and their controls are found by objectName.
//
// What the widget side provides:
// - each window's objectName is the section name without brackets, and every control a
//   language file addresses is reached by objectName from the window, one owned object per
//   dotted part of the key (a direct child, else the nearest descendant of that name);
// - lists: a property "items" (Items) or "lines" (Lines) of type QStringList, declared or
//   dynamic; QComboBox and QListWidget have none, so the shell gives them a dynamic "items"
//   and rebuilds their entries on QEvent::DynamicPropertyChange. Lines falls back to plainText.
//
// Names of the language file and the properties they set, first one present wins:
//   Caption   windowTitle (the window itself only), text, title, windowTitle
//   Hint      toolTip          Text     text, plainText      Checked  checked
//   ItemIndex currentIndex, currentRow                        Visible  visible
//   Enabled   enabled          Width    width, else size      Height   height, else size
//   Items     items            Lines    lines, plainText (lines joined by newlines)
// Any other name is looked up among the object's declared properties, case ignored; names
// that match nothing are ignored.

#include <QByteArrayView>
#include <QList>
#include <QString>

class Language;
class QObject;

void TranslateWindow(const Language& language, const QString& section,
                     const QList<QObject*>& windows);
// The same over an expanded language text.
void TranslateWindowText(QByteArrayView text, const QString& section,
                         const QList<QObject*>& windows);
