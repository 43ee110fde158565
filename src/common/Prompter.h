#pragma once

#include "session/Message.h"

#include <string>

namespace vorn {

// The title of every message and input box; the same text as the application title.
inline constexpr const char* kBoxTitle = "VORN Build Calculator";

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
    // "Save changes to NAME?" with Save, Discard and Cancel.
    virtual SaveAnswer askSaveChanges(const std::string& name) = 0;
    // A character file's path chosen by the user (UTF-8), or "" when cancelled.
    virtual std::string chooseFileToOpen() = 0;
    virtual std::string chooseFileToSave(const std::string& suggested) = 0;
};

} // namespace vorn
