// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/extractionrun.h"

#include "engine/flvreader.h"
#include "engine/outputpath.h"

#include <new>
#include <system_error>

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
    for (int row = 1; row <= rows; ++row) {
        // A stop asked for between files (a signal to the command line) ends the run there.
        if (host_.stopRequested()) {
            host_.setProgress(0);
            return RunResult::Stopped;
        }
        const RowStatus status = extractRow(reader, row, choice);
        host_.setRowStatus(row, status);
        if (status == RowStatus::Stopped) {
            host_.setProgress(0);
            return RunResult::Stopped;
        }
    }
    host_.setProgress(0);
    return RunResult::Completed;
}

RowStatus ExtractionRun::extractRow(FlvReader& reader, int row, const OutputChoice& choice) {
    const std::string input = host_.rowText(row);
    const std::string Mp3Path =
        mp3PathFor(choice.sameAsInput ? folderOf(input) : choice.OutputFolder, input);

    // Extracting a file onto itself would take the input's name away before it is read.
    if (files_.sameFile(Mp3Path, input)) {
        return RowStatus::WriteError;
    }
    if (options_.removeOlderOutputFirst && files_.regularFileExists(Mp3Path)) {
        files_.removeFile(Mp3Path);
    }
    std::error_code readError;
    try {
        const bool ok = reader.OpenFlv(input);
        host_.setRowStatus(row, RowStatus::Extracting);
        if (!ok) {
            // An input that waited for data (a named pipe with no writer yet) when the stop came.
            if (host_.stopRequested()) {
                return RowStatus::Stopped;
            }
            host_.explainReadError(row, reader.openError());
            return RowStatus::ReadError;
        }
        TagLoopOutcome outcome;
        bool outputWritten = false;
        {
            Mp3Writer audio(files_, Mp3Path, options_.vbrHeader);
            outcome = reader.ReadTags(audio);
            outputWritten = audio.outputWritten();
        } // an unfinished output is gone before the row shows how it ended
        reader.CloseFlv();
        if (outputWritten) {
            host_.setRowOutput(row, Mp3Path);
        }
        if (outcome == TagLoopOutcome::ReadFailed) {
            host_.explainReadError(row, ReadError::BrokenWhileRead);
        }
        return statusFor(outcome);
    } catch (const std::bad_alloc&) {
        // A tag larger than the memory the process can have: this file fails, the run goes on.
        readError = std::make_error_code(std::errc::not_enough_memory);
    } catch (const std::system_error& error) {
        // Resources the system would not give (threads, descriptors): likewise.
        readError = error.code();
    }
    reader.CloseFlv();
    host_.explainReadError(row, readError);
    return RowStatus::ReadError;
}

} // namespace quillon::engine
