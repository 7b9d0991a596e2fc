#pragma once

#include <QStringList>

// What the point dialogs have in common: the limits of their fields and the
// category list.

inline constexpr int kMaxSlaveAddressField = 999;
inline constexpr int kMaxChannelField = 999;
inline constexpr int kMaxDataNumberField = 999999;
inline constexpr int kMaxEventField = 255;

inline constexpr const char* kSelectCategoryMessage = "Please select a category.";
inline constexpr const char* kSelectDataTypeMessage = "Please select a data type.";

// The SPA category letters; the list shows them sorted.
inline QStringList CategoryLetters()
{
    return {"I", "O", "S", "V", "M", "C", "F", "T", "D", "L", "B", "A"};
}
