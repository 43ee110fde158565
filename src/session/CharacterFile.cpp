#include "session/CharacterFile.h"

namespace vorn {

std::string writeCharacterFile(const CharacterState&)
{
    return {};
}

CharacterFileReading readCharacterFile(std::string_view, std::string_view fileName)
{
    return {std::nullopt, std::string(fileName) + " is not a VORN character file."};
}

} // namespace vorn
