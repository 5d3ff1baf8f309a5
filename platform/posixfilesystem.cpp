// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posixfilesystem.h"

#include "platform/mappedinputfile.h"
#include "platform/posixoutputfile.h"
#include "platform/readpathprobe.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::platform {

bool FileDescriptor::close() {
    if (fd_ < 0) {
        return true;
    }
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR;
}

namespace {

std::optional<std::uint64_t> blockDeviceSize(int fd) {
    std::uint64_t size = 0;
    if (::ioctl(fd, BLKGETSIZE64, &size) != 0) {
        return std::nullopt;
    }
    return size;
}

} // namespace

std::unique_ptr<InputFile> PosixFileSystem::openForReading(const std::string& path) {
    // Not blocking: opening a pipe with no writer would otherwise wait forever.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return nullptr;
    }
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        std::optional<std::uint64_t> size;
        if (S_ISBLK(info.st_mode)) {
            size = blockDeviceSize(fd.get());
        }
        return std::make_unique<StreamInputFile>(std::move(fd), size, interrupted_,
                                                 S_ISFIFO(info.st_mode));
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    switch (mode_) {
    case ReadMode::Fastest:
        if (!mappedIsFaster_ && size >= kReadPathProbeBytes) {
            mappedIsFaster_ = mappedReadsAreFaster(fd.get());
        }
        if (mappedIsFaster_.value_or(false)) {
            return std::make_unique<MappedInputFile>(std::move(fd), size);
        }
        break;
    case ReadMode::Mapped:
        return std::make_unique<MappedInputFile>(std::move(fd), size);
    case ReadMode::Buffered:
        break;
    case ReadMode::Streamed:
        return std::make_unique<StreamInputFile>(std::move(fd), std::nullopt, interrupted_);
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<BufferedInputFile>(std::move(fd), size, buffers_);
}

std::unique_ptr<OutputFile> PosixFileSystem::createOutput(const std::string& path) {
    return PosixOutputFile::create(path, remover_, {}, buffers_);
}

bool PosixFileSystem::removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::regularFileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileSystem::sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::error_code PosixFileSystem::checkOutputFolder(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {errno, std::generic_category()};
    }
    if (!S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    // As the effective user, who creates the outputs; a read-only mount answers EROFS.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return {errno, std::generic_category()};
    }
    return {};
}

} // namespace quillon::platform
