// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quillon::ui {

// The product's web page, where the user reads whether a newer version exists. Fixed when the
// program is built (CMake cache variable QUILLON_HOMEPAGE; empty when none is set).
QString productPageAddress();

} // namespace quillon::ui
