#pragma once

#include "ConfigTemplate.h"
#include "DeviceConnection.h"
#include "UploadReply.h"

#include <optional>

// Where an uploaded configuration goes: the document (a new, untitled
// document) or halvex-cli (a configuration written to a file).
class ConfigurationUploadTarget {
public:
    virtual ~ConfigurationUploadTarget() = default;
    // Starts the new configuration the gateway's text is read into.
    virtual ConfigTemplate& NewConfiguration() = 0;
    // The configuration text as the gateway gave it, before it is read: the
    // operations log keeps its digest.
    virtual void TextReceived(const std::string& text) { (void)text; }
    // The gateway's InUse flags are applied, before the success is reported:
    // the document refreshes its views.
    virtual void InUseApplied() {}
    // The configuration holds what could be loaded: the document rebuilds its
    // slave list, marks itself modified and refreshes its views.
    virtual void ConfigurationLoaded() = 0;
};

enum class UploadOutcome {
    Failed,          // nothing received; the target was not touched
    LoadFailed,      // the text could not be read; the new configuration is empty
    CountMismatch,   // loaded, but the InUse bytes do not match its lists
    Loaded,          // loaded with the gateway's InUse flags
};

// Fetches the configuration the gateway keeps (command 17), loads its text
// into the target's new configuration and applies the InUse bytes. Every
// outcome is reported in a message box.
UploadOutcome UploadConfiguration(DeviceConnection& connection, ConfigurationUploadTarget& target);

// The transfer part of the upload: asks the gateway for its configuration
// (command 17) with the upload's status line and progress, and gives its
// InUse bytes and text. No value after the error box "Unable to upload
// configuration" (or "Unable to open COM Port").
std::optional<UploadReply> FetchConfiguration(DeviceConnection& connection);
