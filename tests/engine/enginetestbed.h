// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/extractionrun.h"
#include "flvbuilder.h"
#include "platform/memoryfilesystem.h"
#include "recordinghost.h"

namespace quillon::testing {

// A run over files held in memory: the list, the dialog's answer and every output are at hand.
struct EngineTestbed {
    platform::MemoryFileSystem files;
    RecordingHost host;
    engine::RunOptions options;

    // Lists a file under /in/ and returns its path.
    std::string add(const std::string& name, const Bytes& content) {
        const std::string path = "/in/" + name;
        files.addFile(path, content);
        host.rows.push_back(path);
        return path;
    }
    engine::RunResult run(platform::FileSystem* through = nullptr) {
        engine::ExtractionRun extraction(host, through ? *through : files, options);
        return extraction.run();
    }
    const Bytes* output(const std::string& path) const { return files.file(path); }
};

// The payload bytes an audio tag built from `payload` must contribute.
inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

} // namespace quillon::testing
