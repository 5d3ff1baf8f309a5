#include "recordinghost.h"

namespace quillon::testing {

RecordingHost::RecordingHost(std::vector<std::string> rowTexts) : rows(std::move(rowTexts)) {}

std::string RecordingHost::rowText(int row) const {
    return rows.at(static_cast<std::size_t>(row - 1));
}

void RecordingHost::setRowStatus(int row, std::string_view status) {
    statusHistory[row].emplace_back(status);
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

void RecordingHost::showMessage(std::string_view text, std::string_view, platform::MessageIcon) {
    messages.emplace_back(text);
}

std::string RecordingHost::status(int row) const {
    const auto it = statusHistory.find(row);
    return it == statusHistory.end() || it->second.empty() ? std::string() : it->second.back();
}

} // namespace quillon::testing
