// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Where a path splits into folder and name, and the separator at a folder's end: the one place
// that knows, for the engine, the file layer and the windows alike. Written for any text type
// with size(), operator[], back() and push_back() (std::string, std::string_view where
// it only reads, QString), so the windows' texts follow the same rule without a conversion.
namespace quillon::platform {

template <typename Char>
constexpr bool isPathSeparator(Char c) {
#ifdef _WIN32
    return c == Char(u'/') || c == Char(u'\\');
#else
    return c == Char(u'/');
#endif
}

// Where the name starts: just after the last separator, or 0 for a bare name.
template <typename Text>
std::size_t nameStart(const Text& path) {
    for (auto i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1])) {
            return static_cast<std::size_t>(i);
        }
    }
    return 0;
}

// A path split at its last separator: `folder` keeps the separator, and is empty for a bare name.
struct PathParts {
    std::string folder;
    std::string name;
};

inline PathParts splitPath(std::string_view path) {
    const std::size_t at = nameStart(path);
    return {std::string(path.substr(0, at)), std::string(path.substr(at))};
}

// The folder as a prefix for names: with a separator at its end unless it already has one. An
// empty folder becomes the root.
template <typename Text>
Text withTrailingSeparator(Text folder) {
    if (folder.size() == 0 || !isPathSeparator(folder.back())) {
        folder.push_back(typename Text::value_type(u'/'));
    }
    return folder;
}

} // namespace quillon::platform
