// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "platform/stopsignals.h"
#include "terminalprogress.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// The command line's stand-in for the main window: the arguments are the list, the output folder
// comes from -o, statuses go to stdout and notices to stderr, names with control characters
// escaped.
class CliRunHost final : public engine::RunHost {
public:
    CliRunHost(std::vector<std::string> files, std::optional<std::string> outputDir, std::FILE* out,
               std::FILE* err, bool showProgress);

    int rowCount() const override;
    std::string rowText(int row) const override;
    void setRowStatus(int row, engine::RowStatus status) override;
    engine::OutputChoice showOutputFolderDialog() override;
    void setProgress(int percent) override;
    void PumpMessages() override {}
    void showNotice(engine::Notice notice) override;
    void explainReadError(int row, std::error_code reason) override;
    // The one place the command line asks whether to stop: after every tag, so it is only a
    // look at what the signal handler left.
    bool stopRequested() const override { return platform::StopSignals::received() != 0; }

    // Some file ended in an error.
    bool anyFailed() const { return anyFailed_; }
    // Some file was read well but yielded nothing: no audio, or audio that is not extracted.
    bool anyExtractedNothing() const { return anyExtractedNothing_; }
    // Some file's AAC audio was passed over because AAC output was not asked for.
    bool anyAacSkipped() const { return anyAacSkipped_; }
    // The system's error number of the first status line that could not be written, or 0.
    int statusWriteError() const { return statusWriteError_; }

private:
    std::vector<std::string> files_;
    std::optional<std::string> outputDir_;
    std::FILE* out_;
    std::FILE* err_;
    TerminalProgress progress_;
    // The row being extracted and its name as printed; 0 between files.
    int currentRow_ = 0;
    std::string currentName_;
    bool anyFailed_ = false;
    bool anyExtractedNothing_ = false;
    bool anyAacSkipped_ = false;
    int statusWriteError_ = 0;
};

} // namespace quillon::cli
