#pragma once

#include "ConfigTemplate.h"
#include "WindowSystem.h"

#include <string>

// The configuration file text (".hxc", version 2.00) of a configuration, with
// CR LF line ends; with offsets, every point line ends in its Profibus offset
// and data size and the point sections' comment lines name those columns.
std::string ConfigFileText(const ConfigTemplate& config, bool withOffsets);

// Writes ConfigFileText to the path. False when the file cannot be written;
// the file on disk is then left as it was.
bool WriteConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets);

inline constexpr const char* kSaveErrorCaption = "Save error";
inline constexpr const char* kSaveErrorText = "Unable to save document!";

// WriteConfigFile, and when it fails the save's error box "Unable to save
// document!".
bool SaveConfigFile(const ConfigTemplate& config, const std::string& path, bool withOffsets, WindowSystem& ui);

// Fills the configuration from a configuration file of version 2.00 or 1.02.
// The configuration is Reset first. On false, config.LoadError tells why
// (kLoadErrorInvalidFile, kLoadErrorWrongVersion, kLoadErrorCannotOpen). The
// reader's own messages (the 1.02 conversion box, the corrupt digital input
// notice) go to ui.
bool ReadConfigFile(ConfigTemplate& config, const std::string& path, WindowSystem& ui);

// The same for a text already in memory (the configuration upload).
bool ReadConfigText(ConfigTemplate& config, std::string text, WindowSystem& ui);

// The messages the callers show for a failed read, by LoadError; empty for
// codes without a message.
std::string LoadErrorMessage(int loadError);
inline constexpr const char* kOpenErrorCaption = "Open error";

// The message of a failed ReadConfigFile of the path, with a second line that
// says why: the path and the system's reason, or what the file is not. Empty
// for codes without a message. Call it right after the read.
std::string LoadFailureMessage(int loadError, const std::string& path);
// "Unable to save document!" with the path and the system's reason for the
// failed write on a second line. Call it right after the write.
std::string SaveFailureMessage(const std::string& path);
