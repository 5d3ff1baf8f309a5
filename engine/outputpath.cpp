// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/outputpath.h"

namespace quillon::engine {

namespace {
#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif
} // namespace

std::string GetBaseName(std::string_view path) {
    const auto slash = path.find_last_of(kSeparators);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // A name without a dot is all base name: otherwise every such input would share the one
    // hidden output ".mp3".
    return std::string(name.substr(0, name.rfind('.')));
}

std::string folderOf(std::string_view path) {
    const auto slash = path.find_last_of(kSeparators);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string withTrailingSeparator(std::string folder) {
    if (folder.empty() || kSeparators.find(folder.back()) == std::string_view::npos) {
        folder.push_back(kSeparators.back());
    }
    return folder;
}

namespace {
std::string outputPathFor(std::string_view folder, std::string_view input,
                          std::string_view extension) {
    std::string path(folder);
    path += GetBaseName(input);
    path += extension;
    return path;
}
} // namespace

std::string mp3PathFor(std::string_view folder, std::string_view input) {
    return outputPathFor(folder, input, ".mp3");
}

std::string aacPathFor(std::string_view folder, std::string_view input) {
    return outputPathFor(folder, input, ".aac");
}

} // namespace quillon::engine
