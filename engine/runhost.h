// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/rowstatus.h"

#include <string>
#include <system_error>

namespace quillon::engine {

// What the user confirmed in the output folder dialog.
struct OutputChoice {
    bool OutputConfirmed = false;
    // True for "Same as input path": each output lands next to its input. False for "Specify a
    // path": outputs land in OutputFolder.
    bool sameAsInput = true;
    // The last folder picked with Browse, ending in a separator; empty while none was picked.
    std::string OutputFolder;
    // The dialog's options, confirmed with the folder. Each switches on what the run's own
    // options (RunOptions) leave off; a host without a dialog leaves them off.
    bool vbrHeader = false;
    bool aac = false;
};

// The surroundings an extraction run needs: the file list, the output folder dialog, the
// progress bar, the user's events and the user's attention. The main window, the command line
// and the tests each provide one; each chooses its own words for what the run reports.
class RunHost {
public:
    virtual ~RunHost() = default;

    // The file list; rows are numbered from 1 in display order.
    virtual int rowCount() const = 0;
    virtual std::string rowText(int row) const = 0;
    virtual void setRowStatus(int row, RowStatus status) = 0;
    // The output a row's file gave, told once it stands complete under that name; a window
    // offers to open it.
    virtual void setRowOutput(int /*row*/, const std::string& /*path*/) {}

    // Shows the output folder dialog modally and returns what was confirmed.
    virtual OutputChoice showOutputFolderDialog() = 0;

    // The read percentage of the current file, 0..100.
    virtual void setProgress(int percent) = 0;

    // Lets the user interface handle what is waiting; called often during a file.
    virtual void PumpMessages() = 0;

    // Tells the user something about the file being read; returns once the user has seen it.
    virtual void showNotice(Notice notice) = 0;

    // Why the file of `row` could not be read: the system's reason or a ReadError, told just
    // before the row becomes ReadError. The window shows the status alone.
    virtual void explainReadError(int /*row*/, std::error_code /*reason*/) {}

    // Asked after every pump of events: true once the user wants the run to end now. The run
    // then stops at the next tag, leaves no partial output and marks the file being read
    // Stopped.
    virtual bool stopRequested() const { return false; }
};

} // namespace quillon::engine
