// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/rowstatus.h"

#include <string_view>

namespace quillon::engine {

// The one place that words each kind the engine reports; the window and the command line show
// exactly these texts.
std::string_view statusText(RowStatus status);
std::string_view noticeText(Notice notice);
std::string_view readErrorText(ReadError error);

} // namespace quillon::engine
