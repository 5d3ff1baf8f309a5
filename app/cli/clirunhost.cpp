// SPDX-License-Identifier: GPL-3.0-or-later
#include "clirunhost.h"

#include "engine/statustexts.h"
#include "platform/pathparts.h"
#include "printablename.h"

#include <cerrno>

namespace quillon::cli {

CliRunHost::CliRunHost(std::vector<std::string> files, std::optional<std::string> outputDir,
                       std::FILE* out, std::FILE* err, bool showProgress)
    : files_(std::move(files)), outputDir_(std::move(outputDir)), out_(out), err_(err),
      progress_(err, showProgress) {}

int CliRunHost::rowCount() const {
    return static_cast<int>(files_.size());
}

std::string CliRunHost::rowText(int row) const {
    return files_.at(static_cast<std::size_t>(row - 1));
}

void CliRunHost::setRowStatus(int row, engine::RowStatus status) {
    const std::string name = printableName(rowText(row));
    if (status == engine::RowStatus::Extracting) {
        currentRow_ = row;
        currentName_ = name;
        progress_.show(currentName_, 0);
        return;
    }
    currentRow_ = 0;
    progress_.clear();
    if (engine::extractedNothing(status)) {
        anyExtractedNothing_ = true;
        anyAacSkipped_ = anyAacSkipped_ || status == engine::RowStatus::SkippedAac;
    } else if (status != engine::RowStatus::Finished) {
        anyFailed_ = true;
    }
    const std::string_view text = engine::statusText(status);
    errno = 0;
    const bool written = std::fprintf(out_, "%s: %.*s\n", name.c_str(),
                                      static_cast<int>(text.size()), text.data()) >= 0 &&
                         std::fflush(out_) == 0;
    if (!written && statusWriteError_ == 0) {
        statusWriteError_ = errno != 0 ? errno : EIO;
    }
}

engine::OutputChoice CliRunHost::showOutputFolderDialog() {
    engine::OutputChoice choice;
    choice.OutputConfirmed = true;
    choice.sameAsInput = !outputDir_.has_value();
    if (outputDir_) {
        choice.OutputFolder = platform::withTrailingSeparator(*outputDir_);
    }
    return choice;
}

void CliRunHost::setProgress(int percent) {
    // Only a file being read has a bar; the run's last reset to 0 draws nothing.
    if (currentRow_ > 0) {
        progress_.show(currentName_, percent);
    }
}

void CliRunHost::explainReadError(int row, std::error_code reason) {
    progress_.clear();
    std::fprintf(err_, "quillon-cli: %s: %s\n", printableName(rowText(row)).c_str(),
                 reason.message().c_str());
    std::fflush(err_);
}

void CliRunHost::showNotice(engine::Notice notice) {
    progress_.clear();
    const std::string_view text = engine::noticeText(notice);
    std::fprintf(err_, "%s: %.*s\n", currentName_.c_str(), static_cast<int>(text.size()),
                 text.data());
    std::fflush(err_);
}

} // namespace quillon::cli
