#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

// The Ok and Cancel buttons of a dialog, right-aligned ("OkBtn", "CancelBtn", so language
// sections reach them). Enter means Ok wherever the focus is; Cancel and Escape reject.
QHBoxLayout* OkCancelButtons(QDialog* dialog, const QString& ok, const QString& okHint,
                             const QString& cancel, const QString& cancelHint);

// A push button named for the language sections, never taking Enter from the dialog's Ok.
QPushButton* NamedButton(const char* name, const QString& text, QWidget* parent);
