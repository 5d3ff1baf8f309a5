// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "engine/runoptions.h"
#include "platform/filesystem.h"

namespace quillon::engine {

class FlvReader;

// How a front end wants its run done.
enum class RunResult {
    EmptyList, // nothing listed: no dialog was shown
    Cancelled, // the output folder dialog was not confirmed
    Completed, // every row up to the count taken at the start has its final status
    Stopped,   // the host asked to stop; the file being read (if any) is marked Stopped, its
               // partial output removed, and later rows keep their status
};

// What the Extract button starts: asks for the output folder, then extracts every listed file in
// order and writes each row's status.
class ExtractionRun {
public:
    ExtractionRun(RunHost& host, platform::FileSystem& files, RunOptions options = {})
        : host_(host), files_(files), options_(options) {}
    RunResult run();

private:
    RowStatus extractRow(FlvReader& reader, int row, const OutputChoice& choice);

    RunHost& host_;
    platform::FileSystem& files_;
    RunOptions options_;
};

} // namespace quillon::engine
