// The messages of a failed read or write of a configuration file, each with
// a second line that tells the user why.
#include "ConfigFile.h"

#include "FileAccess.h"

namespace {

std::string WithReason(const std::string& message, const std::string& path, const std::string& reason)
{
    return reason.empty() ? message : message + "\n" + path + ": " + reason;
}

}  // namespace

std::string LoadFailureMessage(int loadError, const std::string& path)
{
    const std::string message = LoadErrorMessage(loadError);
    switch (loadError) {
    case kLoadErrorCannotOpen:
        return WithReason(message, path, LastFileError());
    case kLoadErrorInvalidFile:
        return WithReason(message, path, "not a configuration file");
    case kLoadErrorWrongVersion:
        return WithReason(message, path, "neither version 2.00 nor 1.02");
    default:
        return message;
    }
}

std::string SaveFailureMessage(const std::string& path)
{
    return WithReason(kSaveErrorText, path, LastFileError());
}
