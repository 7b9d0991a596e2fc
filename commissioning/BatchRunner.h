#pragma once

#include "GatewayJob.h"
#include "MessageRecorder.h"
#include "SerialLink.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The manifest's lines made ready, or why the manifest is refused (naming
// its line) before anything is sent.
struct BatchPlan {
    std::vector<GatewayJob> Jobs;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};

// Checks every line before anything is sent: the port must name a device
// (devicePathOf gives none for a malformed one), a download's or verify's
// file must read as a configuration, an upload must name its file, a backup
// its folder (the file column, else backupDirectory) and that folder must
// be there. Downloads back up into backupDirectory first when it is not
// empty.
BatchPlan PlanBatch(const std::vector<ManifestLine>& lines, const std::string& backupDirectory,
                    const std::function<std::optional<std::string>(const std::string& port)>& devicePathOf);

struct BatchOptions {
    int Jobs = 4;                                // lines running at once, at most
    const std::atomic<bool>* Cancel = nullptr;   // raised: every running line stops, no other starts
    OperationLog Log;
    bool AnswerYes = false;                      // the answer to questions
    // A line's link; empty: a serial port of its own on the machine's clock.
    std::function<std::unique_ptr<SerialLink>()> MakeLink = {};
};

// How one line ended, with every message it showed, in order.
struct BatchLineResult {
    ManifestLine Line;
    bool Succeeded = false;
    std::string Result;  // ok, failed or cancelled
    std::string Message;
    double Seconds = 0;
    std::vector<RecordedMessage> Messages;
};

// Runs the jobs: the lines of one device one after the other in manifest
// order, the devices in parallel on at most options.Jobs threads, each line
// over a link and port of its own. lineDone is called once per line as it
// ends (from the thread that ran it, one call at a time). The results come
// in manifest order.
std::vector<BatchLineResult> RunBatch(const std::vector<GatewayJob>& jobs, const BatchOptions& options,
                                      const std::function<void(const BatchLineResult&)>& lineDone = {});
