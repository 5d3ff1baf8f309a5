// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "platform/filesystem.h"

namespace quillon::engine {

class FlvReader;

// How a front end wants its run done.
struct RunOptions {
    // The window clears an older output away before it reads the input, so a file that proves
    // unreadable leaves no stale output either. The command line instead keeps an older output
    // until a complete new one replaces it.
    bool removeOlderOutputFirst = true;
    // Start each output with a VBR (Xing or Info) header frame, so that players show the right
    // duration and seek well; off by default, since the plain stream is what the file holds.
    bool vbrHeader = false;
    // Write AAC audio (sound format 10) to the input's base name + ".aac" as ADTS frames. Off by
    // default: such a file then yields nothing, as any other audio that is not MP3.
    bool aac = false;
};

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
