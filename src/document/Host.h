#pragma once

#include <QString>

// The narrow seams through which the headless core asks the window for things. The Qt shell
// implements them; tests use recording fakes that can also script answers.

// Answers and styles of the modal boxes below, as the core names them.
namespace MessageCode {
inline constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;
inline constexpr int OkWarning = 48, YesNoWarning = 52, YesNoCancelQuestion = 35;
} // namespace MessageCode

// Modal message boxes by key (styles 48, 52, 35; answers 1 OK, 2 Cancel, 6 Yes, 7 No).
class MessageHost {
public:
    virtual ~MessageHost() = default;
    virtual int MessageByKey(const QString& textKey, const QString& titleKey, int style) = 0;
};

// The five status-bar panels, counted from 0.
namespace StatusPanel {
inline constexpr int File = 0;      // the file label (slot and name)
inline constexpr int Technique = 1; // "P", "C" or "R"
inline constexpr int Position = 2;  // the pointer's image position
inline constexpr int Measure = 3;   // a size, offset or colour while a tool works
inline constexpr int Hint = 4;      // the tool's hint, or the time of the last long work
} // namespace StatusPanel

class StatusHost {
public:
    virtual ~StatusHost() = default;
    virtual void SetPanel(int index, const QString& text) = 0;
};

// A modal box whose text and caption are already made (answers as for MessageByKey); for the
// prompts that put a document's name into their text.
class PromptHost {
public:
    virtual ~PromptHost() = default;
    virtual int Prompt(const QString& text, const QString& caption, int style) = 0;
};
