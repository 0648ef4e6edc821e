#pragma once

#include "document/Host.h"

class Language;
class TMainForm;

// The window side of the core's seams: message boxes and the status panels of the main window.
class ShellHost : public MessageHost, public PromptHost, public StatusHost {
public:
    ShellHost(TMainForm& form, const Language& language) : form_(form), language_(language) {}

    int MessageByKey(const QString& textKey, const QString& titleKey, int style) override;
    int Prompt(const QString& text, const QString& caption, int style) override;
    void SetPanel(int index, const QString& text) override;

private:
    TMainForm& form_;
    const Language& language_;
};
