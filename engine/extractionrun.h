#pragma once

#include "engine/runhost.h"
#include "platform/filesystem.h"

namespace quillon::engine {

enum class RunResult {
    EmptyList, // nothing listed: no dialog was shown
    Cancelled, // the output folder dialog was not confirmed
    Completed, // every row up to the count taken at the start has its final status
    Stopped,   // the host asked to stop; the file being read is marked Stopped, its partial
               // output removed, and later rows keep their status
};

// What the Extract button starts: asks for the output folder, then extracts every listed file in
// order and writes each row's status. One object holds the per-file state of one run.
class ExtractionRun {
public:
    ExtractionRun(RunHost& host, platform::FileSystem& files);
    RunResult run();

private:
    RunHost& host_;
    platform::FileSystem& files_;
};

} // namespace quillon::engine
