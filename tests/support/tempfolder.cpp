// SPDX-License-Identifier: GPL-3.0-or-later
#include "tempfolder.h"

#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>

namespace quillon::testing {

TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("quillon-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return (path_ / name).string();
}

std::string TempFolder::write(const std::string& name, const Bytes& content) const {
    const std::string full = file(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("could not write " + full);
    }
    return full;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("could not read " + path.string());
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bytes out(text.size());
    std::memcpy(out.data(), text.data(), text.size());
    return out;
}

std::filesystem::path fixturePath(const std::string& name) {
    return std::filesystem::path(QUILLON_FIXTURE_DIR) / name;
}

} // namespace quillon::testing
