#include "engine/extractionrun.h"

#include "engine/flvreader.h"
#include "engine/outputpath.h"

namespace quillon::engine {

namespace {

RowStatus statusFor(TagLoopOutcome outcome) {
    switch (outcome) {
    case TagLoopOutcome::Finished:
        return RowStatus::Finished;
    case TagLoopOutcome::WriteFailed:
        return RowStatus::WriteError;
    case TagLoopOutcome::Stopped:
        return RowStatus::Stopped;
    case TagLoopOutcome::ReadFailed:
        break;
    }
    return RowStatus::ReadError;
}

} // namespace

ExtractionRun::ExtractionRun(RunHost& host, platform::FileSystem& files)
    : host_(host), files_(files) {}

RunResult ExtractionRun::run() {
    if (host_.rowCount() == 0) {
        return RunResult::EmptyList;
    }
    const OutputChoice choice = host_.showOutputFolderDialog();
    if (!choice.OutputConfirmed) {
        return RunResult::Cancelled;
    }
    // Rows added while the run pumps events are not visited.
    const int rows = host_.rowCount();
    if (rows == 0) {
        return RunResult::EmptyList;
    }

    FlvReader reader(host_, files_);
    platform::FileSystem& files = files_;
    for (int row = 1; row <= rows; ++row) {
        const std::string input = host_.rowText(row);
        const std::string Mp3Path =
            mp3PathFor(choice.sameAsInput ? folderOf(input) : choice.OutputFolder, input);

        // Extracting a file onto itself would delete the input before it is read.
        if (files.sameFile(Mp3Path, input)) {
            host_.setRowStatus(row, RowStatus::WriteError);
            continue;
        }
        // Done before the input is opened, so an unreadable input leaves no stale output either.
        if (files.regularFileExists(Mp3Path)) {
            files.removeFile(Mp3Path);
        }

        const bool ok = reader.OpenFlv(input);
        host_.setRowStatus(row, RowStatus::Extracting);
        if (!ok) {
            host_.setRowStatus(row, RowStatus::ReadError);
            continue;
        }
        reader.mp3Writer().ResetMp3();
        reader.mp3Writer().setMp3Path(Mp3Path);
        const TagLoopOutcome outcome = reader.ReadTags();
        reader.CloseFlv();
        host_.setRowStatus(row, statusFor(outcome));
        if (outcome == TagLoopOutcome::Stopped) {
            host_.setProgress(0);
            return RunResult::Stopped;
        }
    }
    host_.setProgress(0);
    return RunResult::Completed;
}

} // namespace quillon::engine
