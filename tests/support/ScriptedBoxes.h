#pragma once
// Installs a message-box hook that records every box and answers from a script.
#include <deque>
#include <vector>

#include "platform/Dialogs.h"

class ScriptedBoxes {
public:
    struct Shown {
        AnsiString Text;
        AnsiString Caption;
        plat::TBoxKind Kind;
    };
    explicit ScriptedBoxes(std::deque<int> answers = {}) : answers_(std::move(answers)) {
        plat::SetMessageBoxHook(
            [this](const AnsiString& text, const AnsiString& caption, plat::TBoxKind kind) {
                shown.push_back({text, caption, kind});
                if (answers_.empty()) return plat::BoxCancel;
                int a = answers_.front();
                answers_.pop_front();
                return a;
            });
    }
    ~ScriptedBoxes() { plat::SetMessageBoxHook({}); }
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    std::vector<Shown> shown;

private:
    std::deque<int> answers_;
};
