#include "PortOpenFailure.h"

std::string PortOpenFailureText(const std::string& devicePath, const OpenResult& result)
{
    std::string text = std::string(kUnableToOpenPortMessage) + "\n" + devicePath + ": " + result.SystemText;
    if (!result.Hint.empty()) {
        text += "\n" + result.Hint;
    }
    return text;
}
