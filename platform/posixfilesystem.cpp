#include "platform/posixfilesystem.h"

#include "platform/filedescriptor.h"
#include "platform/mappedinputfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillon::platform {

bool FileDescriptor::close() {
    if (fd_ < 0) {
        return true;
    }
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR;
}

namespace {

// Large enough that a read of page-cached data is dominated by copying, small enough that the
// engine's peak memory stays far below its budget.
constexpr std::size_t kReadBufferSize = 1 << 20;
constexpr std::size_t kWriteBufferSize = 1 << 20;

class PosixInputFile final : public InputFile {
public:
    PosixInputFile(FileDescriptor fd, std::uint64_t size)
        : fd_(std::move(fd)), size_(size), buffer_(kReadBufferSize) {}

    std::size_t read(std::span<std::byte> destination) override {
        std::size_t done = 0;
        while (done < destination.size()) {
            if (begin_ == end_) {
                const std::size_t want = destination.size() - done;
                // A big request goes straight into the destination: copying it through the
                // buffer would only cost time.
                if (want >= buffer_.size()) {
                    const long got = readSome(destination.data() + done, want);
                    if (got <= 0) {
                        break;
                    }
                    done += static_cast<std::size_t>(got);
                    continue;
                }
                if (!refill()) {
                    break;
                }
            }
            const std::size_t n = std::min(end_ - begin_, destination.size() - done);
            std::memcpy(destination.data() + done, buffer_.data() + begin_, n);
            begin_ += n;
            done += n;
        }
        return done;
    }

    std::uint64_t skip(std::uint64_t count) override {
        const std::uint64_t inBuffer = std::min<std::uint64_t>(count, end_ - begin_);
        begin_ += static_cast<std::size_t>(inBuffer);
        std::uint64_t rest = count - inBuffer;
        if (rest == 0) {
            return count;
        }
        // Past the buffer: move the descriptor, but never beyond the end of the file, so the
        // count passed over is the one a read would have returned.
        const off_t here = ::lseek(fd_.get(), 0, SEEK_CUR);
        if (here < 0) {
            failed_ = true;
            return inBuffer;
        }
        const std::uint64_t available = static_cast<std::uint64_t>(here) >= size_
                                            ? 0
                                            : size_ - static_cast<std::uint64_t>(here);
        const std::uint64_t step = std::min(rest, available);
        if (::lseek(fd_.get(), static_cast<off_t>(here + step), SEEK_SET) < 0) {
            failed_ = true;
            return inBuffer;
        }
        return inBuffer + step;
    }

    bool seek(std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(INT64_MAX)) {
            return false;
        }
        if (::lseek(fd_.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
            return false;
        }
        begin_ = end_ = 0;
        return true;
    }

    std::uint64_t size() const override { return size_; }
    bool failed() const override { return failed_; }

private:
    long readSome(std::byte* to, std::size_t count) {
        for (;;) {
            const ssize_t got = ::read(fd_.get(), to, count);
            if (got == 0) {
                // The end came before the size taken at open: the file was cut short while
                // being read, and what is missing must not pass for the end of the data.
                const off_t here = ::lseek(fd_.get(), 0, SEEK_CUR);
                failed_ = failed_ || here < 0 || static_cast<std::uint64_t>(here) < size_;
            }
            if (got >= 0) {
                return got;
            }
            if (errno != EINTR) {
                failed_ = true;
                return -1;
            }
        }
    }

    bool refill() {
        const long got = readSome(buffer_.data(), buffer_.size());
        begin_ = 0;
        end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
        return end_ > 0;
    }

    FileDescriptor fd_;
    std::uint64_t size_;
    std::vector<std::byte> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool failed_ = false;
};

class PosixOutputFile final : public OutputFile {
public:
    explicit PosixOutputFile(FileDescriptor fd) : fd_(std::move(fd)) {
        buffer_.reserve(kWriteBufferSize);
    }
    ~PosixOutputFile() override { close(); }

    bool write(std::span<const std::byte> bytes) override {
        if (failed_) {
            return false;
        }
        if (buffer_.size() + bytes.size() > kWriteBufferSize) {
            if (!flush()) {
                return false;
            }
            if (bytes.size() >= kWriteBufferSize) {
                return writeAll(bytes.data(), bytes.size());
            }
        }
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool close() override {
        if (!fd_.valid()) {
            return !failed_;
        }
        const bool flushed = flush();
        // An output whose name was removed while it was written (its folder deleted, say) is
        // lost however well the writes went.
        struct stat info {};
        const bool named = ::fstat(fd_.get(), &info) == 0 && info.st_nlink > 0;
        const bool closed = fd_.close();
        failed_ = failed_ || !flushed || !named || !closed;
        return !failed_;
    }

private:
    bool flush() {
        const bool ok = writeAll(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

    bool writeAll(const std::byte* data, std::size_t count) {
        while (count > 0 && !failed_) {
            const ssize_t put = ::write(fd_.get(), data, count);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                failed_ = true;
                break;
            }
            data += put;
            count -= static_cast<std::size_t>(put);
        }
        return !failed_;
    }

    FileDescriptor fd_;
    std::vector<std::byte> buffer_;
    bool failed_ = false;
};

std::unique_ptr<OutputFile> createForWriting(const std::string& path, int extraFlags) {
    // Not blocking: a pipe left under the output's name would otherwise wait for a reader
    // forever. Only a regular file can hold the output; a device would swallow it.
    FileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | extraFlags, 0666));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(std::move(fd));
}

} // namespace

std::unique_ptr<InputFile> PosixFileSystem::openForReading(const std::string& path) {
    // Not blocking: opening a pipe with no writer would otherwise wait forever.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return nullptr;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    // Only regular files can be mapped; anything else (a pipe, a device) is read.
    if (mode_ == ReadMode::Mapped && S_ISREG(info.st_mode)) {
        return std::make_unique<MappedInputFile>(std::move(fd), size);
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<PosixInputFile>(std::move(fd), size);
}

std::unique_ptr<OutputFile> PosixFileSystem::createNew(const std::string& path) {
    return createForWriting(path, O_EXCL);
}

std::unique_ptr<OutputFile> PosixFileSystem::createAlways(const std::string& path) {
    return createForWriting(path, O_TRUNC);
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

bool PosixFileSystem::changeCurrentDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

} // namespace quillon::platform
