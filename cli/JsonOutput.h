#pragma once

#include "ConfigTemplate.h"
#include "ConfigurationCheck.h"
#include "DiagnosticsRecord.h"
#include "FirmwareVersion.h"
#include "TextCompare.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>

// The --json forms of the commands' results: one object each, keys in lower
// case with underscores. The configuration's 8-bit texts are taken as
// Latin-1 and written as UTF-8.

// show: the settings, the list counts, `slaves` and the area sizes
// (`input_bytes`, `output_bytes`).
nlohmann::json ShowJson(const std::string& path, const ConfigTemplate& config);

// diagnostics: one key per dialog field (its label in lower case with
// underscores, "Status :" as `status`) with the shown value, and `events`,
// an object per row of the event list keyed by its column titles.
nlohmann::json DiagnosticsJson(const DiagnosticsRecord& record);

// firmware: `major`, `minor`, `build` and the shown `text`.
nlohmann::json FirmwareJson(const FirmwareVersion& version);

// check: `errors` and `warnings`, objects with `text` and `detail` and,
// where a point is concerned, `section` (its name in the configuration file),
// `index` (its position there, counted from 1), `description`, `slave` and
// `address`; where only a slave is, `slave`.
nlohmann::json CheckJson(const std::string& path, const ConfigurationCheck& check);

// verify: `match`, `differing_lines` and `first_difference` (`line`,
// `gateway`, `expected`; null for a line that one side lacks), null for a match.
nlohmann::json VerifyJson(const std::string& path, const TextDifference& difference);

// The object on one line of its own.
void PrintJson(std::ostream& out, const nlohmann::json& value);

// "Status :" -> "status", "ProblemDno:" -> "problem_dno", "NAK's Received:" -> "naks_received".
std::string JsonKey(const std::string& label);
