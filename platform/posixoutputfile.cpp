// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posixoutputfile.h"

#include "platform/pathparts.h"
#include "platform/temporaryname.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace quillon::platform {

namespace {

constexpr std::size_t kWriteBufferSize = PooledBuffer::size();
// Another process creating the same random name this often means something else is wrong.
constexpr int kNameAttempts = 64;

std::string randomTag() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // Early in boot the pool may not be ready; the exclusive create still keeps names apart.
        auto seed = static_cast<std::uint64_t>(
            std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid());
        for (unsigned char& b : bytes) {
            b = static_cast<unsigned char>(seed);
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            b ^= static_cast<unsigned char>(seed >> 56);
        }
    }
    std::string tag;
    for (unsigned char b : bytes) {
        tag += kAlphabet[b % (sizeof kAlphabet - 1)];
    }
    return tag;
}

} // namespace

std::unique_ptr<PosixOutputFile> PosixOutputFile::create(const std::string& path,
                                                         std::shared_ptr<FileRemover> remover,
                                                         UniqueTags tags,
                                                         std::shared_ptr<BufferPool> buffers) {
    const PathParts parts = splitPath(path);
    // A name the system could not open by its full path would be of no use to anyone.
    if (parts.name.empty() || path.size() >= PATH_MAX) {
        return nullptr;
    }
    FileDescriptor folder(::open(parts.folder.empty() ? "." : parts.folder.c_str(),
                                 O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return nullptr;
    }
    // Everything that can fail for want of memory comes first: once the temporary file exists,
    // the object that removes it already owns it.
    std::unique_ptr<PosixOutputFile> output(new PosixOutputFile(
        std::move(folder), parts.name, std::move(remover), std::move(tags), std::move(buffers)));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string temporary = temporaryNameFor(parts.name, output->uniqueTag());
        FileDescriptor fd(::openat(output->folder_.get(), temporary.c_str(),
                                   O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (fd.valid()) {
            output->fd_ = std::move(fd);
            output->temporaryName_ = std::move(temporary);
            return output;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

PosixOutputFile::PosixOutputFile(FileDescriptor folder, std::string finalName,
                                 std::shared_ptr<FileRemover> remover, UniqueTags tags,
                                 std::shared_ptr<BufferPool> buffers)
    : folder_(std::move(folder)), finalName_(std::move(finalName)), remover_(std::move(remover)),
      tags_(std::move(tags)), buffer_(std::move(buffers)) {}

std::string PosixOutputFile::uniqueTag() const {
    return tags_ ? tags_() : randomTag();
}

PosixOutputFile::~PosixOutputFile() {
    if (!committed_) {
        discard();
    }
}

bool PosixOutputFile::write(std::span<const std::byte> bytes) {
    if (failed_) {
        return false;
    }
    // The buffer goes out whenever it ends on a multiple of its size in the file. ext4 takes whole,
    // aligned pages in large pieces: pieces that ended mid-page cost it a quarter more to write
    // and twice as much to start writing back.
    while (!bytes.empty()) {
        const std::size_t room =
            kWriteBufferSize - static_cast<std::size_t>((size_ + buffered_) % kWriteBufferSize);
        const std::size_t n = std::min(room, bytes.size());
        std::memcpy(buffer_.data() + buffered_, bytes.data(), n);
        buffered_ += n;
        bytes = bytes.subspan(n);
        if (n == room && !flush()) {
            return false;
        }
    }
    return true;
}

bool PosixOutputFile::writeAt(std::uint64_t offset, std::span<const std::byte> bytes) {
    return !failed_ && flush() && writeAllAt(bytes.data(), bytes.size(), offset);
}

bool PosixOutputFile::readAt(std::uint64_t offset, std::span<std::byte> into) {
    if (failed_ || !flush() || offset > size_ || into.size() > size_ - offset) {
        failed_ = true;
        return false;
    }
    for (std::size_t done = 0; done < into.size();) {
        const ssize_t got = ::pread(fd_.get(), into.data() + done, into.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool PosixOutputFile::dropFront(std::uint64_t count) {
    if (failed_ || !flush()) {
        return false;
    }
    if (size_ < count) {
        failed_ = true;
        return false;
    }
    // Front to back: each piece lands below where it was read, never on bytes still to be read.
    // The write buffer, just emptied, carries the pieces.
    const std::uint64_t size = size_;
    std::byte* piece = buffer_.data();
    for (std::uint64_t from = count; from < size && !failed_;) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kWriteBufferSize, size - from));
        const ssize_t got = ::pread(fd_.get(), piece, want, static_cast<off_t>(from));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || !writeAllAt(piece, static_cast<std::size_t>(got), from - count)) {
            failed_ = true;
            break;
        }
        from += static_cast<std::uint64_t>(got);
    }
    size_ = size - count;
    failed_ = failed_ || ::ftruncate(fd_.get(), static_cast<off_t>(size_)) != 0;
    return !failed_;
}

bool PosixOutputFile::writeAllAt(const std::byte* data, std::size_t count, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put =
            ::pwrite(fd_.get(), data + done, count - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool PosixOutputFile::commit() {
    if (committed_) {
        return true;
    }
    if (failed_ || !flush() || !startWriteback() || !fd_.close()) {
        failed_ = true;
        discard();
        return false;
    }
    std::string older = keepOlderFile();
    if (::renameat(folder_.get(), temporaryName_.c_str(), folder_.get(), finalName_.c_str()) != 0) {
        if (!older.empty()) {
            ::unlinkat(folder_.get(), older.c_str(), 0);
        }
        failed_ = true;
        discard();
        return false;
    }
    committed_ = true;
    temporaryName_.clear();
    if (!older.empty()) {
        remover_->remove(std::move(folder_), std::move(older));
    }
    return true;
}

// Replacing a file by a rename frees its blocks within the rename, which on some file systems
// waits for the disk (see FileRemover). A second name for the older file, taken first, leaves
// the rename only a name to drop, and the remover the freeing. Empty when there is nothing to
// keep: no older file, a folder (which the rename refuses), or links not to be had.
std::string PosixOutputFile::keepOlderFile() {
    if (!remover_) {
        return {};
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = temporaryNameFor(finalName_, uniqueTag());
        if (::linkat(folder_.get(), finalName_.c_str(), folder_.get(), name.c_str(), 0) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}

// After a power loss the final name must hold the old file or the whole new one, never a cut one.
// Starting the data's writeback before the rename gets its blocks allocated now, so a journalling
// file system in ordered mode (ext4's default) commits them with or before the rename and writes
// the data first. Waiting for the disk as well (fdatasync) would guarantee it on every file system
// but costs a cache flush per file: 4 ms each here, ten times the extraction of a small file.
bool PosixOutputFile::startWriteback() {
    return ::sync_file_range(fd_.get(), 0, 0, SYNC_FILE_RANGE_WRITE) == 0 || errno != EIO;
}

bool PosixOutputFile::flush() {
    const bool ok = append(buffer_.data(), buffered_);
    buffered_ = 0;
    return ok;
}

bool PosixOutputFile::append(const std::byte* data, std::size_t count) {
    if (failed_ || !writeAllAt(data, count, size_)) {
        return false;
    }
    size_ += count;
    return true;
}

void PosixOutputFile::discard() {
    fd_.close();
    if (!temporaryName_.empty()) {
        ::unlinkat(folder_.get(), temporaryName_.c_str(), 0);
        // Never again: another run may have taken the name since.
        temporaryName_.clear();
    }
}

} // namespace quillon::platform
