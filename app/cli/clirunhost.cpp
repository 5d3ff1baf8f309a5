#include "clirunhost.h"

#include "engine/outputpath.h"
#include "engine/statustexts.h"

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
    currentRow_ = row;
    if (status == engine::RowStatus::Extracting) {
        progress_.show(rowText(row), 0);
        return;
    }
    progress_.clear();
    if (status != engine::RowStatus::Finished) {
        anyFailed_ = true;
    }
    const std::string_view text = engine::statusText(status);
    std::fprintf(out_, "%s: %.*s\n", rowText(row).c_str(), static_cast<int>(text.size()),
                 text.data());
    std::fflush(out_);
}

engine::OutputChoice CliRunHost::showOutputFolderDialog() {
    engine::OutputChoice choice;
    choice.OutputConfirmed = true;
    choice.sameAsInput = !outputDir_.has_value();
    if (outputDir_) {
        choice.OutputFolder = engine::withTrailingSeparator(*outputDir_);
    }
    return choice;
}

void CliRunHost::setProgress(int percent) {
    if (currentRow_ > 0) {
        progress_.show(files_[static_cast<std::size_t>(currentRow_ - 1)], percent);
    }
}

void CliRunHost::showNotice(engine::Notice notice) {
    progress_.clear();
    const std::string_view text = engine::noticeText(notice);
    const std::string file = currentRow_ > 0 ? rowText(currentRow_) : std::string();
    std::fprintf(err_, "%s: %.*s\n", file.c_str(), static_cast<int>(text.size()), text.data());
    std::fflush(err_);
}

} // namespace quillon::cli
