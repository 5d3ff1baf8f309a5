#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace quillon::platform {

// A file opened for sequential reading. Reads return the byte count actually read; at the end of
// the file that is 0 and the destination is left untouched. A read that fails for any other reason
// also returns what it got and sets failed(), so callers can tell a short file from a broken one.
class InputFile {
public:
    virtual ~InputFile() = default;
    virtual std::size_t read(std::span<std::byte> destination) = 0;
    // Moves past `count` bytes as if they had been read; returns the count actually passed over.
    // The reader uses it for tag data nobody looks at, so it need not be copied anywhere.
    virtual std::uint64_t skip(std::uint64_t count) = 0;
    virtual bool seek(std::uint64_t offset) = 0;
    virtual std::uint64_t size() const = 0;
    virtual bool failed() const = 0;
};

// A file opened for writing at its end. Writes may be buffered: a failure can show only at
// close(), which must therefore be checked.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(std::span<const std::byte> bytes) = 0;
    virtual bool close() = 0;
};

// Every file operation the engine needs, behind one interface so that tests and the fuzzer can
// feed bytes from memory or make the disk fail on purpose.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::unique_ptr<InputFile> openForReading(const std::string& path) = 0;
    // Fails when the file exists already.
    virtual std::unique_ptr<OutputFile> createNew(const std::string& path) = 0;
    // Replaces an existing file by an empty one.
    virtual std::unique_ptr<OutputFile> createAlways(const std::string& path) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    // True only for a regular file (or a link to one) of exactly that name.
    virtual bool regularFileExists(const std::string& path) = 0;
    // True when both names reach the same file on disk (through links too); false if either
    // does not exist.
    virtual bool sameFile(const std::string& a, const std::string& b) = 0;
    virtual bool changeCurrentDirectory(const std::string& path) = 0;
};

} // namespace quillon::platform
