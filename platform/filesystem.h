// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>

namespace quillon::platform {

// A file opened for sequential reading. Reads return the byte count actually read; at the end of
// the file that is 0 and the destination is left untouched. A read that fails for any other reason
// also returns what it got and sets failed(), so callers can tell a short file from a broken one.
class InputFile {
public:
    virtual ~InputFile() = default;
    virtual std::size_t read(std::span<std::byte> destination) = 0;
    // The next `count` bytes where the input already holds them in one piece, without copying
    // them, and moves past them; empty, having moved nowhere, where it does not (the caller then
    // reads them). They stay valid until the next read, readInPlace or seek.
    virtual std::span<const std::byte> readInPlace(std::size_t /*count*/) { return {}; }
    // Moves past `count` bytes as if they had been read; returns the count actually passed over.
    // The reader uses it for tag data nobody looks at, so it need not be copied anywhere.
    virtual std::uint64_t skip(std::uint64_t count) = 0;
    virtual bool seek(std::uint64_t offset) = 0;
    // The size in bytes, or nothing for an input whose end shows only when it is reached (a pipe,
    // a character device).
    virtual std::optional<std::uint64_t> size() const = 0;
    virtual bool failed() const = 0;
};

// A new file that gets its name only once it is whole. Until commit() it lives under a hidden
// temporary name in the folder of its final name, so a run that fails, is stopped or is killed
// never leaves a partial file under the final name. One that is destroyed uncommitted removes
// its temporary file. Writes may be buffered: a failure can show only at commit().
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // False once any write has failed; every later call then fails too.
    virtual bool write(std::span<const std::byte> bytes) = 0;
    // Overwrites bytes written before: for a header whose content is known only at the end.
    virtual bool writeAt(std::uint64_t offset, std::span<const std::byte> bytes) = 0;
    // Reads back bytes written before, all of `into` or nothing: for a writer that needs a few of
    // its earlier bytes again. False when they could not be had; the output has then failed.
    virtual bool readAt(std::uint64_t offset, std::span<std::byte> into) = 0;
    // Removes the first `count` bytes written and moves the rest down: for a place kept at the
    // start for a header that could not be made after all. Costs a pass over the file.
    virtual bool dropFront(std::uint64_t count) = 0;
    // Makes the file whole on disk and renames it onto its final name, replacing whatever stands
    // under that name (a link there is replaced, its target never written). False when any step
    // failed; the temporary file is then gone and the final name untouched.
    virtual bool commit() = 0;
    // True once a write, a move or a commit has failed: the one record of it.
    virtual bool failed() const = 0;
};

// Every file operation the engine needs, behind one interface so that tests and the fuzzer can
// feed bytes from memory or make the disk fail on purpose.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Null when the file cannot be read (a folder cannot); errno then says why.
    virtual std::unique_ptr<InputFile> openForReading(const std::string& path) = 0;
    // Starts a new file that will be named `path` when committed; null when its folder takes no
    // new file.
    virtual std::unique_ptr<OutputFile> createOutput(const std::string& path) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    // True only for a regular file (or a link to one) of exactly that name.
    virtual bool regularFileExists(const std::string& path) = 0;
    // True when both names reach the same file on disk (through links too); false if either
    // does not exist.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    // Whether outputs can go into the folder `path`: nothing when it is a folder that can be
    // entered and takes new files, otherwise the system's reason why not. Both front ends ask
    // this before they send outputs there.
    virtual std::error_code checkOutputFolder(const std::string& path) = 0;
};

} // namespace quillon::platform
