// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/flvreader.h"

#include "engine/flvheader.h"
#include "engine/readpercent.h"

#include <algorithm>
#include <cerrno>

namespace quillon::engine {

namespace {

// Tags that are not counted do not pump events, but a long run of them must not freeze the
// window: after this much of them it may breathe anyway. A tag weighs one unit plus one per
// kQuietUnitBytes of the data actually passed over, so a stretch of empty tags and one of large
// ones both take at most a few milliseconds between breaths.
constexpr std::uint64_t kQuietWorkPerBreath = 1024;
constexpr std::uint64_t kQuietUnitBytes = 4096;
} // namespace

std::size_t FlvReader::readInto(std::span<std::byte> destination) {
    state_.BytesRead = state_.InputHandle->read(destination);
    return state_.BytesRead;
}

// As many bytes as `buffer` holds (fewer only at the end of the input): used where they lie when
// the input holds them in one piece, read into `buffer` otherwise.
std::span<const std::byte> FlvReader::take(std::span<std::byte> buffer) {
    const auto inPlace = state_.InputHandle->readInPlace(buffer.size());
    if (inPlace.size() == buffer.size()) {
        state_.BytesRead = inPlace.size();
        return inPlace;
    }
    return buffer.first(readInto(buffer));
}

bool FlvReader::OpenFlv(const std::string& path) {
    ResetFlvState();
    openError_ = {};
    errno = 0;
    state_.InputHandle = files_.openForReading(path);
    if (!state_.InputHandle) {
        openError_ = {errno != 0 ? errno : EIO, std::generic_category()};
        return false;
    }
    state_.FileSize = state_.InputHandle->size();
    const auto bytes = std::span(state_.HeaderBuffer).first<flv::kFileHeaderSize>();
    const std::size_t got = readInto(bytes);
    const auto header = FlvFileHeader::parse(bytes.first(got));
    if (!header) {
        openError_ = state_.InputHandle->failed() ? ReadError::BrokenWhileRead : ReadError::NotFlv;
        CloseFlv();
        return false;
    }
    state_.HeaderFlags = header->flags;
    state_.DataOffset = header->dataOffset;
    state_.Position = flv::kFileHeaderSize;
    if (state_.InputHandle->seek(state_.DataOffset)) {
        state_.Position = state_.DataOffset;
    }
    return true;
}

bool FlvReader::moreTags() const {
    // An input of unknown size ends where a tag header finds nothing more to read.
    return !state_.FileSize || state_.Position < *state_.FileSize;
}

void FlvReader::readTagData() {
    if (state_.TagType != flv::kTagTypeAudio) {
        // Nothing looks at other tags' data, so it is passed over instead of copied.
        state_.TagBytesPresent =
            static_cast<std::uint32_t>(state_.InputHandle->skip(state_.TagDataSize));
        return;
    }
    // Where the input holds the whole tag in one piece, it is used where it lies.
    state_.TagData = state_.InputHandle->readInPlace(state_.TagDataSize);
    if (state_.TagData.size() == state_.TagDataSize) {
        state_.BytesRead = state_.TagBytesPresent = state_.TagDataSize;
        return;
    }
    // A size that lies costs nothing: the buffer grows for no more than a known file size can
    // still hold, and on an input of unknown size (a pipe) for no more than twice what has
    // arrived.
    std::uint32_t wanted = state_.TagDataSize;
    if (state_.FileSize) {
        const std::uint64_t left =
            state_.Position < *state_.FileSize ? *state_.FileSize - state_.Position : 0;
        wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, left));
        if (state_.TagBufferCapacity < wanted) {
            growTagBuffer(wanted, 0);
        }
    }
    std::uint32_t got = 0;
    for (;;) {
        const std::uint32_t room = std::min(wanted, state_.TagBufferCapacity);
        got += static_cast<std::uint32_t>(
            readInto(std::span(state_.TagBuffer.get() + got, room - got)));
        if (got < room || got == wanted) {
            break;
        }
        growTagBuffer(static_cast<std::uint32_t>(std::min<std::uint64_t>(wanted, 2ull * room)),
                      got);
    }
    state_.TagBytesPresent = got;
    state_.TagData = std::span(state_.TagBuffer.get(), got);
}

// Replaces the tag buffer by one of `capacity` bytes that starts with the first `keep` bytes of
// the old one. A size the process cannot have throws, and ends this file's row.
void FlvReader::growTagBuffer(std::uint32_t capacity, std::uint32_t keep) {
    if (keep == 0) {
        // Nothing of the old contents is needed: it goes before the new one is had.
        state_.TagBuffer.reset();
        state_.TagBufferCapacity = 0;
    }
    auto grown = std::make_unique_for_overwrite<std::byte[]>(capacity);
    std::copy_n(state_.TagBuffer.get(), keep, grown.get());
    state_.TagBuffer = std::move(grown);
    state_.TagBufferCapacity = capacity;
}

TagLoopOutcome FlvReader::ReadTags(AudioStage& audio) {
    if (!state_.InputHandle) {
        return TagLoopOutcome::ReadFailed;
    }
    // Back-pointers say nothing the headers do not; passing over them costs no copy.
    state_.InputHandle->skip(flv::kBackPointerSize);
    state_.Position += flv::kBackPointerSize;
    const auto header = std::span(state_.HeaderBuffer);

    while (moreTags()) {
        const auto bytes = take(header);
        const std::size_t got = bytes.size();
        if (got == 0) {
            break;
        }
        const FlvTagHeader tag = got == header.size()
                                     ? FlvTagHeader::parse(bytes.first<flv::kTagHeaderSize>())
                                     : FlvTagHeader::parseCutShort(bytes);
        state_.TagType = tag.type;
        state_.TagDataSize = tag.dataSize;
        state_.Position += flv::kTagHeaderSize;

        readTagData();
        state_.Position += state_.TagDataSize;

        state_.InputHandle->skip(flv::kBackPointerSize);
        state_.Position += flv::kBackPointerSize;

        if (state_.InputHandle->failed()) {
            // A read given up because the user asked to stop is a stop, not a broken file.
            return host_.stopRequested() ? TagLoopOutcome::Stopped : TagLoopOutcome::ReadFailed;
        }
        if (!tag.isCounted()) {
            if (!passedQuietly(state_.TagBytesPresent)) {
                return TagLoopOutcome::Stopped;
            }
        } else {
            state_.QuietWork = 0;
            if (tag.type == flv::kTagTypeAudio) {
                audio.HandleAudioTag(state_.TagData);
                if (audio.done()) {
                    return TagLoopOutcome::AudioDone;
                }
            }
            reportProgress();
            if (!breathe()) {
                return TagLoopOutcome::Stopped;
            }
        }
        // A header cut short by the end of the file was the last tag.
        if (got < header.size()) {
            break;
        }
    }
    if (state_.InputHandle->failed()) {
        return host_.stopRequested() ? TagLoopOutcome::Stopped : TagLoopOutcome::ReadFailed;
    }
    return TagLoopOutcome::Finished;
}

void FlvReader::reportProgress() {
    if (++state_.ProgressCount < kProgressEveryNthTag) {
        return;
    }
    state_.ProgressCount = 0;
    // An input of unknown size shows no progress until it is done.
    host_.setProgress(state_.FileSize ? readPercent(state_.Position, *state_.FileSize) : 0);
}

bool FlvReader::breathe() {
    host_.PumpMessages();
    return !host_.stopRequested();
}

bool FlvReader::passedQuietly(std::uint32_t bytesPassed) {
    state_.QuietWork += 1 + bytesPassed / kQuietUnitBytes;
    if (state_.QuietWork < kQuietWorkPerBreath) {
        return true;
    }
    state_.QuietWork = 0;
    return breathe();
}

void FlvReader::CloseFlv() {
    state_.InputHandle.reset();
}

} // namespace quillon::engine
