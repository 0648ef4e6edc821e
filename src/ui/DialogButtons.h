#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;

// The Ok and Cancel buttons of a dialog, right-aligned ("OkBtn", "CancelBtn", so language
// sections reach them). Enter means Ok wherever the focus is; Cancel and Escape reject.
QHBoxLayout* OkCancelButtons(QDialog* dialog, const QString& ok, const QString& okHint,
                             const QString& cancel, const QString& cancelHint);
