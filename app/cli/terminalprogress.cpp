// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminalprogress.h"

#include "printablename.h"

#include <algorithm>

namespace quillon::cli {

namespace {
constexpr int kBarWidth = 30;
constexpr std::size_t kMaxLabel = 40;
} // namespace

void TerminalProgress::show(const std::string& label, int percent) {
    percent = std::clamp(percent, 0, 100);
    if (!enabled_ || (shown_ && percent == lastPercent_)) {
        return;
    }
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '-');
    // Cut at a character boundary, so the terminal never gets half a character.
    const std::string name =
        label.size() > kMaxLabel ? "..." + std::string(utf8Tail(label, kMaxLabel - 3)) : label;
    std::fprintf(stream_, "\r\033[K[%s] %3d%% %s", bar.c_str(), percent, name.c_str());
    std::fflush(stream_);
    shown_ = true;
    lastPercent_ = percent;
}

void TerminalProgress::clear() {
    if (enabled_ && shown_) {
        std::fputs("\r\033[K", stream_);
        std::fflush(stream_);
        shown_ = false;
    }
}

} // namespace quillon::cli
