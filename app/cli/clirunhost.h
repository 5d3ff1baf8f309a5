#pragma once

#include "engine/runhost.h"
#include "terminalprogress.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// The command line's stand-in for the main window: the arguments are the list, the output folder
// comes from -o, statuses go to stdout and notices to stderr.
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

    bool anyFailed() const { return anyFailed_; }

private:
    std::vector<std::string> files_;
    std::optional<std::string> outputDir_;
    std::FILE* out_;
    std::FILE* err_;
    TerminalProgress progress_;
    int currentRow_ = 0;
    bool anyFailed_ = false;
};

} // namespace quillon::cli
