#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

// The simulated gateway's diagnostics record, in the layout it sends.

// A record for a gateway that has just started: module status OK, the file
// revision and download date of the kept image (zero without one), status
// code "Configuration OK" with a configuration and "Configuration Empty"
// without, counters and event buffer empty. The long form, 276 bytes.
std::vector<std::uint8_t> NewDiagnostics(const std::vector<std::uint8_t>& keptImage);

// Puts the gateway's clock into the record (when it is long enough to hold it).
void StampClock(std::vector<std::uint8_t>& record, const std::tm& now);

// A configuration was downloaded: its revision, date and status code "OK".
void NoteConfiguration(std::vector<std::uint8_t>& record, const std::vector<std::uint8_t>& image);

// Clears the message counters and the event buffer.
void ClearCounters(std::vector<std::uint8_t>& record);
