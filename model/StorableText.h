#pragma once

#include <optional>
#include <string>
#include <string_view>

// The texts the configuration file stores and where its reader cuts them:
// a quoted description at the next comma, the online poll command before a
// comma, blank, tab or ";", every text at a line end. A text holding such a character would not be
// read back as it was written, so it is refused where it is typed and
// reported by the configuration check.
enum class StoredText { Description, PollCommand };

// The first character of the text that the file cannot carry in that place;
// none when the whole text can be stored.
std::optional<char> UnstorableCharacter(std::string_view text, StoredText kind);

// "The character \",\" cannot be stored in a description." (a line end is
// named "line end"); the place as the message names it: "a description",
// "the online poll command".
std::string UnstorableCharacterMessage(char character, StoredText kind);

// The reader drops a digital point or an indirect message whose description
// is a single blank, so such a description cannot be stored there.
bool DescriptionStorable(std::string_view description, bool singleBlankStorable);
inline constexpr const char* kSingleBlankDescriptionMessage = "A description of a single blank cannot be stored.";

// The file writes a scale with six decimals ("%f"), so a scale is stored
// only when those read back as the same value.
bool ScaleStorable(float scale);
inline constexpr const char* kScaleDecimalsMessage = "Please enter a number with at most 6 decimals.";
