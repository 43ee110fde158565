#pragma once

#include <string>
#include <string_view>

// The words both front ends show outside the calculator's own tables and messages: the application's
// title and the window titles made of it, the character file's name and kind, the question asked before
// unsaved steps are set aside, and what is said of a file that can't be read or written.
namespace vorn {

// "VORN Build Calculator": the calculator window's title, every message box's and the page's. Set for the
// build in cmake/AppTitle.cmake, with the package and the manual page.
const char* appTitle();

// The calculator's title: the application's alone until the character has a file, then the file's name,
// `modifiedMark` ("*" while the character has changes the file lacks, or a front end's own placeholder for
// it) and " - " before the application's.
std::string windowTitle(std::string_view fileName, std::string_view modifiedMark);
// The History window's title.
std::string historyTitle();

// The name a new character's file is offered under: "Character.vornchar".
std::string newCharacterFileName();
// What the file dialogs call the files that end with kCharacterFileExtension.
inline constexpr std::string_view kCharacterFilesKind = "VORN characters";

// "Save changes to NAME?", or "Save this character?" for one that has no file yet (an empty name).
std::string saveQuestion(std::string_view fileName);
// "\"NAME\" could not be saved: WHY. Your changes are not saved yet."
std::string notSavedMessage(std::string_view fileName, std::string_view why);
// "\"NAME\" could not be read: WHY."
std::string notReadMessage(std::string_view fileName, std::string_view why);

} // namespace vorn
