#include "tools/ProgramState.h"

ProgramState::ProgramState(MessageHost& messageHost, PromptHost& prompts, StatusHost& statusHost)
    : messages(messageHost), status(statusHost), docs(messageHost, prompts, statusHost) {
    docs.hooks.translate = [this](const QString& key) { return Translate(key); };
}
