#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a manifest line asks of its gateway.
enum class BatchAction { Download, Verify, Upload, Backup, Firmware, Diagnostics };

// "download", "verify", ... as the manifest writes them.
const char* BatchActionName(BatchAction action);
std::optional<BatchAction> ParseBatchAction(std::string_view name);

// One gateway's line of a manifest: its name, its port (COM1..COM4 or a
// device path), the file and what to do. LineNumber counts the manifest's
// lines from 1, the header being line 1.
struct ManifestLine {
    int LineNumber = 0;
    std::string Name;
    std::string Port;
    std::string File;
    BatchAction Action = BatchAction::Download;
};

// The lines of a manifest, or the reason it is refused, naming its line.
struct ManifestParse {
    std::vector<ManifestLine> Lines;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

// Reads a CSV manifest: a header naming the columns name, port, file and
// action (in any order; more columns are ignored), then one line per
// gateway. Fields may be quoted ("a, b" with "" for a quote); blank lines
// are skipped; LF and CR LF line ends. Refused: a missing column, a line
// with a different number of fields, an empty name or port, an unknown
// action, and a manifest without lines.
ManifestParse ParseManifest(std::string_view text);
