#pragma once

#include "common/Prompter.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// A Prompter for tests: it never blocks. Input boxes take their answers from a queue (nullopt stands for
// Cancel); every box shown is recorded so that a test can check its text, title and icon.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Input };
    struct Shown {
        Kind kind;
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    void message(const std::string& text, MessageIcon icon = MessageIcon::None) override
    {
        shown.push_back({Kind::Message, text, kBoxTitle, icon});
    }

    // An input box with no queued answer counts as cancelled, and is recorded like any other.
    std::string input(const std::string& prompt) override
    {
        shown.push_back({Kind::Input, prompt, kBoxTitle, MessageIcon::None});
        if (answers.empty())
            return {};
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer.value_or(std::string{});
    }

    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const Shown& s : shown)
            if (s.kind == Kind::Message)
                texts.push_back(s.text);
        return texts;
    }

    void reset()
    {
        shown.clear();
        answers.clear();
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<Shown> shown;
};

} // namespace vorn
