// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "flvbuilder.h"

#include <filesystem>
#include <string>

namespace quillon::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of `name` inside the folder, as the engine takes it.
    std::string file(const std::string& name) const;
    std::string write(const std::string& name, const Bytes& content) const;

private:
    std::filesystem::path path_;
};

Bytes readFile(const std::filesystem::path& path);
// The folder holding the committed fixtures.
std::filesystem::path fixturePath(const std::string& name);

} // namespace quillon::testing
