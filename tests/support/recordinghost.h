#pragma once

#include "engine/runhost.h"
#include "platform/eventpump.h"
#include "platform/messagebox.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillon::testing {

// A run host that answers like a scripted user and records everything the run shows.
class RecordingHost final : public engine::RunHost,
                            public platform::EventPump,
                            public platform::MessageBox {
public:
    explicit RecordingHost(std::vector<std::string> rows = {});

    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::string rowText(int row) const override;
    void setRowStatus(int row, std::string_view status) override;
    engine::OutputChoice showOutputFolderDialog() override;
    void setProgress(int percent) override { progress.push_back(percent); }
    bool stopRequested() const override { return stopAfterPumps >= 0 && pumps >= stopAfterPumps; }
    void PumpMessages() override;
    void showMessage(std::string_view text, std::string_view title,
                     platform::MessageIcon icon) override;

    std::string status(int row) const;

    // What the scripted user confirms in the output folder dialog.
    engine::OutputChoice answer{true, true, ""};
    // Runs inside the dialog, before it answers (to change the list, for one).
    std::function<void()> duringDialog;
    // Runs on every pump, as window events would.
    std::function<void()> duringPump;
    // Makes stopRequested() true once this many pumps have happened; -1 never.
    int stopAfterPumps = -1;

    std::vector<std::string> rows;
    std::map<int, std::vector<std::string>> statusHistory;
    std::vector<int> progress;
    std::vector<std::string> messages;
    int dialogsShown = 0;
    int pumps = 0;
};

} // namespace quillon::testing
