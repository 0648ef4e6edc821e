#pragma once

#include <QString>

// The narrow seams through which the headless core asks the window for things. The Qt shell
// implements them; tests use recording fakes that can also script answers.

// Modal message boxes by key (styles 48, 52, 35; answers 1 OK, 2 Cancel, 6 Yes, 7 No).
class MessageHost {
public:
    virtual ~MessageHost() = default;
    virtual int MessageByKey(const QString& textKey, const QString& titleKey, int style) = 0;
};

// The five status-bar panels, counted from 0.
class StatusHost {
public:
    virtual ~StatusHost() = default;
    virtual void SetPanel(int index, const QString& text) = 0;
};
