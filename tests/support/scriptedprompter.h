#pragma once

#include "common/prompter.h"

#include <QList>

namespace dorvik::test {

// Answers every message box without showing it and keeps what was asked.
// Installed for its lifetime; answers are taken in order, then the first button.
class ScriptedPrompter : public common::Prompter {
public:
    ScriptedPrompter() : previous_(install(this)) {}
    ~ScriptedPrompter() override { install(previous_); }

    void answer(int button) { answers_ << button; }
    int ask(const common::MessageRequest& request) override {
        asked << request;
        return answers_.isEmpty() ? 0 : answers_.takeFirst();
    }
    QString lastText() const { return asked.isEmpty() ? QString() : asked.last().text; }

    QList<common::MessageRequest> asked;

private:
    Prompter* previous_;
    QList<int> answers_;
};

} // namespace dorvik::test
