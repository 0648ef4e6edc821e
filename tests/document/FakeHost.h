#pragma once

// A recording stand-in for the window seams of document/Host.h. Message boxes answer from a
// script (a queue); when the script runs dry they answer as the box's escape key would (OK for
// an OK box, Cancel otherwise) and count it in unscripted.

#include "document/Host.h"

#include <QString>

#include <array>
#include <deque>
#include <initializer_list>
#include <utility>
#include <vector>

class FakeHost : public MessageHost, public StatusHost, public PromptHost {
public:
    struct Box {
        bool byKey = false; // MessageByKey (text and title are keys) or Prompt (finished texts)
        QString text;
        QString title;
        int style = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };

    std::vector<Box> boxes;
    std::deque<int> answers;
    int unscripted = 0;
    std::array<QString, 5> panels;
    std::vector<std::pair<int, QString>> panelLog; // every SetPanel, also out-of-range indices

    void Script(std::initializer_list<int> codes) { answers.insert(answers.end(), codes); }

    int MessageByKey(const QString& textKey, const QString& titleKey, int style) override {
        boxes.push_back({true, textKey, titleKey, style});
        return NextAnswer(style);
    }
    int Prompt(const QString& text, const QString& caption, int style) override {
        boxes.push_back({false, text, caption, style});
        return NextAnswer(style);
    }
    void SetPanel(int index, const QString& text) override {
        panelLog.emplace_back(index, text);
        if (index >= 0 && index < int(panels.size())) panels[size_t(index)] = text;
    }

private:
    int NextAnswer(int style) {
        if (!answers.empty()) {
            const int code = answers.front();
            answers.pop_front();
            return code;
        }
        ++unscripted;
        return (style & 0xF) == 0 ? MessageCode::Ok : MessageCode::Cancel;
    }
};
