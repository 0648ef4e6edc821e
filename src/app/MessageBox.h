#pragma once

#include <QString>

#include <functional>

class Language;
class QWidget;

// Button codes returned by MessageByKey.
enum MessageAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Styles in use: 48 OK with a warning icon, 52 Yes/No with a warning icon, 35 Yes/No/Cancel with
// a question icon. The low four bits choose the buttons (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel,
// 4 Yes/No), bits 0x70 the icon (0x10 critical, 0x20 question, 0x30 warning, 0x40 information).
constexpr int kStyleOkWarning = 48;
constexpr int kStyleYesNoWarning = 52;
constexpr int kStyleYesNoCancelQuestion = 35;

// A modal box with Translate(textKey) as its text and Translate(titleKey) as its caption; returns
// the code of the button pressed. Closing the box without a button counts as its escape button.
int MessageByKey(QWidget* parent, const Language& language, const QString& textKey,
                 const QString& titleKey, int style);

// The same box for a text that is already made (prompts that name a document).
int MessageByText(QWidget* parent, const QString& text, const QString& caption, int style);

// When set, MessageByKey calls this instead of showing a box and returns its answer, so tests and
// headless runs never block. The one process-wide hook of the shell; clear it when done.
using MessageByKeyAnswer =
    std::function<int(const QString& textKey, const QString& titleKey, int style)>;
MessageByKeyAnswer& MessageByKeySeam();
