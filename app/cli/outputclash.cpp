// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputclash.h"

#include "engine/outputpath.h"
#include "platform/pathparts.h"

#include <map>
#include <sys/stat.h>
#include <tuple>

namespace quillon::cli {

namespace {

// A folder as the file system knows it; by its name where it cannot be looked at.
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;

    bool operator<(const FolderIdentity& other) const {
        return std::tie(device, inode, name) < std::tie(other.device, other.inode, other.name);
    }
};

FolderIdentity identify(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &info) == 0) {
        return {info.st_dev, info.st_ino, {}};
    }
    return {0, 0, folder};
}

} // namespace

std::vector<OutputClash> findOutputClashes(const std::vector<std::string>& files,
                                           const std::optional<std::string>& outputDir) {
    const std::optional<std::string> sharedFolder =
        outputDir ? std::optional(platform::withTrailingSeparator(*outputDir)) : std::nullopt;
    std::map<std::tuple<FolderIdentity, std::string>, OutputClash> byOutput;
    std::vector<std::tuple<FolderIdentity, std::string>> order;
    for (const std::string& input : files) {
        const std::string folder = sharedFolder ? *sharedFolder : platform::splitPath(input).folder;
        const std::string output = engine::mp3PathFor(folder, input);
        const auto key = std::make_tuple(identify(folder), output.substr(folder.size()));
        auto [it, added] =
            byOutput.try_emplace(key, OutputClash{output, engine::aacPathFor(folder, input), {}});
        if (added) {
            order.push_back(key);
        }
        it->second.inputs.push_back(input);
    }
    std::vector<OutputClash> clashes;
    for (const auto& key : order) {
        if (byOutput[key].inputs.size() > 1) {
            clashes.push_back(std::move(byOutput[key]));
        }
    }
    return clashes;
}

} // namespace quillon::cli
