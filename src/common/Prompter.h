#pragma once

#include "session/AppText.h"
#include "session/Message.h"

#include <string>

namespace vorn {

// Every message and input box has the application's title, appTitle(); the question asked before a
// character with unsaved steps is set aside is saveQuestion(), as the page asks it (session/AppText.h).

// The question asked before saving over a file that another program changed since the window last read
// or wrote it.
inline std::string overwriteQuestion(const std::string& name)
{
    return "\"" + name + "\" was changed by another program since you opened it. Overwrite it?";
}

// The question asked at start about the character a calculator had not saved when it ended without
// closing (a crash, a power cut, the session ending); `date` is when it was last kept, as the user writes
// dates and times.
inline std::string recoverQuestion(const std::string& date)
{
    return "Recover the unsaved character from " + date + "?";
}

// The question asked when another program changes the open character's file. Reloading replaces the
// character shown, so with changes not yet saved it says they go.
inline std::string reloadQuestion(const std::string& name, bool discardsUnsaved)
{
    return name + " was changed by another program. Reload it?" +
           (discardsUnsaved ? " Reloading discards the changes you have not saved." : "");
}

// The modal boxes the windows and the rules' messages go through. Each call returns once the user has
// dismissed the box. A seam: the program shows real dialogs, tests answer from a script.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A message with the box title and a single OK button.
    virtual void message(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
    // An input box with an empty field; the typed text, or "" when the user cancels.
    virtual std::string input(const std::string& prompt) = 0;

    enum class SaveAnswer { Save, Discard, Cancel };
    // saveQuestion(name) with Save, Discard and Cancel.
    virtual SaveAnswer askSaveChanges(const std::string& name) = 0;
    enum class OverwriteAnswer { Overwrite, SaveAs, Cancel };
    // overwriteQuestion(name) with Overwrite, Save As… and Cancel; Cancel is the default, since
    // overwriting loses the other program's work.
    virtual OverwriteAnswer askOverwriteChanged(const std::string& name) = 0;
    enum class RecoverAnswer { Recover, Discard };
    // recoverQuestion(date) with Recover and Discard; the box can't be put aside without a choice.
    virtual RecoverAnswer askRecover(const std::string& date) = 0;
    enum class ReloadAnswer { Reload, KeepMine };
    // reloadQuestion(name, discardsUnsaved) with Reload and Keep mine; Keep mine is the default when
    // reloading would discard unsaved changes.
    virtual ReloadAnswer askReload(const std::string& name, bool discardsUnsaved) = 0;
    enum class SaveFailedAnswer { Ok, SaveAs };
    // Why a save failed, with OK and Save As…, so that the character can go elsewhere at once.
    virtual SaveFailedAnswer tellSaveFailed(const std::string& text) = 0;
    // A character file's path chosen by the user (UTF-8), or "" when cancelled.
    virtual std::string chooseFileToOpen() = 0;
    virtual std::string chooseFileToSave(const std::string& suggested) = 0;
    // A spreadsheet's CSV file chosen by the user (UTF-8) under the dialog's title, or "" when cancelled.
    virtual std::string chooseCsvToOpen(const std::string& title) = 0;
    virtual std::string chooseCsvToSave(const std::string& title, const std::string& suggested) = 0;
    // A folder chosen by the user (UTF-8) under the dialog's title, starting from `start`, or "" when
    // cancelled.
    virtual std::string chooseFolder(const std::string& title, const std::string& start) = 0;
};

} // namespace vorn
