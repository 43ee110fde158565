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
    enum class Kind {
        Message,
        Input,
        SaveQuestion,
        OverwriteQuestion,
        FileDialog,
        RecoverQuestion,
        ReloadQuestion
    };
    struct Shown {
        Kind kind;
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    void message(const std::string& text, MessageIcon icon = MessageIcon::None) override
    {
        shown.push_back({Kind::Message, text, appTitle(), icon});
    }

    // An input box with no queued answer counts as cancelled, and is recorded like any other.
    std::string input(const std::string& prompt) override
    {
        shown.push_back({Kind::Input, prompt, appTitle(), MessageIcon::None});
        if (answers.empty())
            return {};
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer.value_or(std::string{});
    }

    // A question with no queued answer counts as Cancel, and so does a file dialog.
    SaveAnswer askSaveChanges(const std::string& name) override
    {
        shown.push_back({Kind::SaveQuestion, saveQuestion(name), appTitle(), MessageIcon::None});
        return next(saveAnswers, SaveAnswer::Cancel);
    }
    OverwriteAnswer askOverwriteChanged(const std::string& name) override
    {
        shown.push_back({Kind::OverwriteQuestion, overwriteQuestion(name), appTitle(), MessageIcon::None});
        return next(overwriteAnswers, OverwriteAnswer::Cancel);
    }
    // With no queued answer: Recover and Keep mine, which lose nothing.
    RecoverAnswer askRecover(const std::string& date) override
    {
        shown.push_back({Kind::RecoverQuestion, recoverQuestion(date), appTitle(), MessageIcon::None});
        return next(recoverAnswers, RecoverAnswer::Recover);
    }
    ReloadAnswer askReload(const std::string& name, bool discardsUnsaved) override
    {
        shown.push_back(
            {Kind::ReloadQuestion, reloadQuestion(name, discardsUnsaved), appTitle(), MessageIcon::None});
        return next(reloadAnswers, ReloadAnswer::KeepMine);
    }
    // Recorded as a message, which it is, with OK unless Save As… is queued.
    SaveFailedAnswer tellSaveFailed(const std::string& text) override
    {
        shown.push_back({Kind::Message, text, appTitle(), MessageIcon::None});
        return next(saveFailedAnswers, SaveFailedAnswer::Ok);
    }
    std::string chooseFileToOpen() override
    {
        shown.push_back({Kind::FileDialog, "open", appTitle(), MessageIcon::None});
        return next(files, std::string{});
    }
    std::string chooseFileToSave(const std::string& suggested) override
    {
        shown.push_back({Kind::FileDialog, "save " + suggested, appTitle(), MessageIcon::None});
        return next(files, std::string{});
    }
    std::string chooseCsvToOpen(const std::string& title) override
    {
        shown.push_back({Kind::FileDialog, "open csv " + title, appTitle(), MessageIcon::None});
        return next(files, std::string{});
    }
    std::string chooseCsvToSave(const std::string& title, const std::string& suggested) override
    {
        shown.push_back(
            {Kind::FileDialog, "save csv " + title + " " + suggested, appTitle(), MessageIcon::None});
        return next(files, std::string{});
    }

    std::string chooseFolder(const std::string& title, const std::string& start) override
    {
        shown.push_back({Kind::FileDialog, "folder " + title + " " + start, appTitle(), MessageIcon::None});
        return next(files, std::string{});
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
        saveAnswers.clear();
        overwriteAnswers.clear();
        recoverAnswers.clear();
        reloadAnswers.clear();
        saveFailedAnswers.clear();
        files.clear();
    }

    std::deque<std::optional<std::string>> answers;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<OverwriteAnswer> overwriteAnswers;
    std::deque<RecoverAnswer> recoverAnswers;
    std::deque<ReloadAnswer> reloadAnswers;
    std::deque<SaveFailedAnswer> saveFailedAnswers;
    std::deque<std::string> files;
    std::vector<Shown> shown;

private:
    template <typename T> static T next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace vorn
