#include "session/AppText.h"

#include "session/CharacterFile.h"

namespace vorn {
namespace {

std::string quoted(std::string_view fileName)
{
    return "\"" + std::string(fileName) + "\"";
}

} // namespace

const char* appTitle()
{
    return VORN_APP_TITLE;
}

std::string windowTitle(std::string_view fileName, std::string_view modifiedMark)
{
    if (fileName.empty())
        return std::string(appTitle());
    return std::string(fileName) + std::string(modifiedMark) + " - " + std::string(appTitle());
}

std::string historyTitle()
{
    return "History - " + std::string(appTitle());
}

std::string newCharacterFileName()
{
    return "Character" + std::string(kCharacterFileExtension);
}

std::string saveQuestion(std::string_view fileName)
{
    return fileName.empty() ? "Save this character?" : "Save changes to " + std::string(fileName) + "?";
}

std::string notSavedMessage(std::string_view fileName, std::string_view why)
{
    return quoted(fileName) + " could not be saved: " + std::string(why) +
           ". Your changes are not saved yet.";
}

std::string notReadMessage(std::string_view fileName, std::string_view why)
{
    return quoted(fileName) + " could not be read: " + std::string(why) + ".";
}

} // namespace vorn
