// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

namespace quillon::cli {

// A one-line progress bar redrawn in place on a terminal; does nothing when not enabled. The label
// must be printable already (see printableName).
class TerminalProgress {
public:
    TerminalProgress(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled) {}
    ~TerminalProgress() { clear(); }

    void show(const std::string& label, int percent);
    // Removes the bar so that other output can take the line.
    void clear();

private:
    std::FILE* stream_;
    bool enabled_;
    bool shown_ = false;
    int lastPercent_ = -1;
};

} // namespace quillon::cli
