// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/rowstatus.h"

#include <cstddef>
#include <optional>
#include <span>

namespace quillon::engine {

// Turns the audio payload of a file's tags into one kind of stream in the file's output. One
// writer per kind of audio extracted; the audio stage picks it and owns the output it writes to.
class StreamWriter {
public:
    virtual ~StreamWriter() = default;
    // One audio tag's payload: its data after the audio header byte.
    virtual void write(std::span<const std::byte> payload) = 0;
    // After the last payload and before the output is named: what the stream needs at its start
    // or end. Returns what the user is to be told about the stream, if anything.
    virtual std::optional<Notice> finish() = 0;
    // Why the stream can not be written in this writer's form, once a payload has shown it: the
    // writer then writes nothing more, and the file yields nothing. Only AAC has such limits.
    virtual std::optional<AacRefusal> refusal() const { return std::nullopt; }
};

} // namespace quillon::engine
