// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/outputpath.h"

#include "platform/pathparts.h"

namespace quillon::engine {

std::string GetBaseName(std::string_view path) {
    const std::string_view name = path.substr(platform::nameStart(path));
    // A name without a dot is all base name: otherwise every such input would share the one
    // hidden output ".mp3".
    return std::string(name.substr(0, name.rfind('.')));
}

std::string outputBaseFor(std::string_view folder, std::string_view input) {
    std::string base(folder);
    base += GetBaseName(input);
    return base;
}

std::string mp3PathFor(std::string_view folder, std::string_view input) {
    return outputBaseFor(folder, input) += kMp3Extension;
}

std::string aacPathFor(std::string_view folder, std::string_view input) {
    return outputBaseFor(folder, input) += kAacExtension;
}

} // namespace quillon::engine
