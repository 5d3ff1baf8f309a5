#pragma once

#include "engine/runhost.h"
#include "platform/eventpump.h"
#include "platform/filesystem.h"
#include "platform/messagebox.h"

namespace quillon::engine {

// The platform services the engine works through.
struct RunServices {
    platform::FileSystem& files;
    platform::EventPump& pump;
    platform::MessageBox& messages;
};

enum class RunResult {
    EmptyList, // nothing listed: no dialog was shown
    Cancelled, // the output folder dialog was not confirmed
    Completed, // every row up to the count taken at the start has its final status
    Stopped,   // the host asked to stop; the current file's partial output was removed
};

// What the Extract button starts: asks for the output folder, then extracts every listed file in
// order and writes each row's status. One object holds the per-file state of one run.
class ExtractionRun {
public:
    ExtractionRun(RunHost& host, RunServices services);
    RunResult run();

private:
    RunHost& host_;
    RunServices services_;
};

} // namespace quillon::engine
