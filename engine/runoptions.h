// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillon::engine {

// How a front end wants its run done. An older output is never removed: only a complete new one
// replaces it.
struct RunOptions {
    // Start each MP3 output with a VBR (Xing or Info) header frame, so that players show the
    // right duration and seek well; off by default, since the plain stream is what the file
    // holds.
    bool vbrHeader = false;
    // Write AAC audio (sound format 10) to the input's base name + ".aac" as ADTS frames. Off by
    // default: such a file then yields nothing, as any other audio that is not MP3.
    bool aac = false;
};

} // namespace quillon::engine
