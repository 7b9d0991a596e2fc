#include "StorableText.h"

#include "NumberText.h"

namespace {

std::string_view Stops(StoredText kind)
{
    switch (kind) {
    case StoredText::Description:
        return ",\r\n";
    case StoredText::PollCommand:
        return ", \t;\r\n";
    }
    return {};
}

const char* PlaceName(StoredText kind)
{
    switch (kind) {
    case StoredText::Description:
        return "a description";
    case StoredText::PollCommand:
        return "the online poll command";
    }
    return "";
}

std::string CharacterName(char character)
{
    switch (character) {
    case '\r':
    case '\n':
        return "line end";
    case '\t':
        return "tab";
    case ' ':
        return "blank";
    default:
        return "character \"" + std::string(1, character) + "\"";
    }
}

}  // namespace

std::optional<char> UnstorableCharacter(std::string_view text, StoredText kind)
{
    const auto at = text.find_first_of(Stops(kind));
    return at == std::string_view::npos ? std::nullopt : std::optional<char>(text[at]);
}

std::string UnstorableCharacterMessage(char character, StoredText kind)
{
    return "The " + CharacterName(character) + " cannot be stored in " + PlaceName(kind) + ".";
}

bool DescriptionStorable(std::string_view description, bool singleBlankStorable)
{
    return !UnstorableCharacter(description, StoredText::Description) && (singleBlankStorable || description != " ");
}

bool ScaleStorable(float scale) { return static_cast<float>(ReadReal(FormatFixed(scale))) == scale; }
