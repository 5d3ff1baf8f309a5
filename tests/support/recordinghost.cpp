// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordinghost.h"

namespace quillon::testing {

RecordingHost::RecordingHost(std::vector<std::string> rowTexts) : rows(std::move(rowTexts)) {}

std::string RecordingHost::rowText(int row) const {
    return rows.at(static_cast<std::size_t>(row - 1));
}

void RecordingHost::setRowStatus(int row, engine::RowStatus status) {
    statusHistory[row].push_back(status);
}

engine::OutputChoice RecordingHost::showOutputFolderDialog() {
    ++dialogsShown;
    if (duringDialog) {
        duringDialog();
    }
    return answer;
}

void RecordingHost::PumpMessages() {
    ++pumps;
    if (duringPump) {
        duringPump();
    }
}

engine::RowStatus RecordingHost::status(int row) const {
    const auto it = statusHistory.find(row);
    return it == statusHistory.end() || it->second.empty() ? engine::RowStatus::Ready
                                                           : it->second.back();
}

} // namespace quillon::testing
