#pragma once

#include <string>

// A save writes its new contents to a file beside the target, named "." and
// the target's name and "." and six characters of mkstemp, and renames it
// over the target once complete. The writing save holds an exclusive lock
// (flock) on that file until it has been renamed, so that a leftover, which a
// save killed on its way leaves behind, can be told from the file of a save
// still running.

// The mkstemp pattern of that file for the target name in the directory
// ("" or ending in "/").
std::string SaveFilePattern(const std::string& directory, const std::string& name);

// Removes the leftovers of earlier saves of the target: the regular files of
// this user with that naming that no running save holds locked. A file that
// was only just created and is still empty may belong to a save that has not
// taken its lock yet; it is left for a later save.
void RemoveSaveLeftovers(const std::string& directory, const std::string& name);
