// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/runhost.h"
#include "engine/statustexts.h"

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace quillon::engine {
// Failure messages name a status by its text.
inline void PrintTo(RowStatus status, std::ostream* os) {
    *os << statusText(status);
}
inline void PrintTo(const Notice& notice, std::ostream* os) {
    *os << noticeText(notice);
}
} // namespace quillon::engine

namespace quillon::testing {

// What the user is told about a file whose audio is not extracted.
inline constexpr engine::Notice kAudioNotExtracted{engine::Notice::Kind::AudioNotExtracted};

// A run host that answers like a scripted user and records everything the run shows.
class RecordingHost final : public engine::RunHost {
public:
    explicit RecordingHost(std::vector<std::string> rows = {});

    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::string rowText(int row) const override;
    void setRowStatus(int row, engine::RowStatus status) override;
    engine::OutputChoice showOutputFolderDialog() override;
    void setProgress(int percent) override { progress.push_back(percent); }
    bool stopRequested() const override { return stopAfterPumps >= 0 && pumps >= stopAfterPumps; }
    void PumpMessages() override;
    void showNotice(engine::Notice notice) override { notices.push_back(notice); }

    // The row's last status; Ready for a row the run never touched.
    engine::RowStatus status(int row) const;

    // What the scripted user confirms in the output folder dialog.
    engine::OutputChoice answer{true, true, ""};
    // Runs inside the dialog, before it answers (to change the list, for one).
    std::function<void()> duringDialog;
    // Runs on every pump, as window events would.
    std::function<void()> duringPump;
    // Makes stopRequested() true once this many pumps have happened; -1 never.
    int stopAfterPumps = -1;

    std::vector<std::string> rows;
    std::map<int, std::vector<engine::RowStatus>> statusHistory;
    std::vector<int> progress;
    std::vector<engine::Notice> notices;
    int dialogsShown = 0;
    int pumps = 0;
};

} // namespace quillon::testing
