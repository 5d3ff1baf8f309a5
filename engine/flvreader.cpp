// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/flvreader.h"

#include "engine/flvheader.h"
#include "engine/readpercent.h"

#include <algorithm>
#include <cerrno>

namespace quillon::engine {

namespace {

std::optional<Notice> noticeFor(VbrHeaderObstacle obstacle) {
    switch (obstacle) {
    case VbrHeaderObstacle::None:
        break;
    case VbrHeaderObstacle::NoAudioFrames:
        return Notice::NoVbrHeaderNoFrames;
    case VbrHeaderObstacle::FreeFormat:
        return Notice::NoVbrHeaderFreeFormat;
    case VbrHeaderObstacle::FormatChanges:
        return Notice::NoVbrHeaderFormatChange;
    case VbrHeaderObstacle::NotLayerThree:
        return Notice::NoVbrHeaderNotLayer3;
    case VbrHeaderObstacle::StreamTooLong:
        return Notice::NoVbrHeaderTooLong;
    }
    return std::nullopt;
}

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
    std::uint32_t needed = state_.TagDataSize;
    // The buffer grows for no more than the file can still hold: a size that lies costs nothing.
    if (state_.TagBufferCapacity < needed && state_.FileSize) {
        const std::uint64_t left =
            state_.Position < *state_.FileSize ? *state_.FileSize - state_.Position : 0;
        needed = static_cast<std::uint32_t>(std::min<std::uint64_t>(needed, left));
    }
    if (state_.TagBufferCapacity < needed) {
        // The old contents are never needed again, so a fresh buffer is cheaper than a copy. A
        // size the process cannot have throws, and ends this file's row.
        state_.TagBuffer.reset();
        state_.TagBufferCapacity = 0;
        state_.TagBuffer = std::make_unique_for_overwrite<std::byte[]>(needed);
        state_.TagBufferCapacity = needed;
    }
    state_.TagBytesPresent =
        static_cast<std::uint32_t>(readInto(std::span(state_.TagBuffer.get(), needed)));
}

TagLoopOutcome FlvReader::ReadTags(Mp3Writer& audio) {
    if (!state_.InputHandle) {
        return TagLoopOutcome::ReadFailed;
    }
    progressCount_ = 0;
    quietWork_ = 0;
    // Back-pointers say nothing the headers do not; passing over them costs no copy.
    state_.InputHandle->skip(flv::kBackPointerSize);
    state_.Position += flv::kBackPointerSize;
    const auto header = std::span(state_.HeaderBuffer);

    while (moreTags()) {
        const std::size_t got = readInto(header);
        if (got == 0) {
            break;
        }
        const FlvTagHeader tag = got == header.size()
                                     ? FlvTagHeader::parse(header.first<flv::kTagHeaderSize>())
                                     : FlvTagHeader::parseCutShort(header.first(got));
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
            quietWork_ = 0;
            if (tag.type == flv::kTagTypeAudio) {
                HandleAudioTag(audio);
                if (audio.writeFailed()) {
                    return TagLoopOutcome::WriteFailed;
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
    if (!audio.CloseMp3()) {
        return TagLoopOutcome::WriteFailed;
    }
    if (const auto notice = noticeFor(audio.vbrHeaderObstacle())) {
        host_.showNotice(*notice);
    }
    return TagLoopOutcome::Finished;
}

void FlvReader::HandleAudioTag(Mp3Writer& audio) {
    // A tag without data has no audio header: it can neither decide the format nor add audio.
    if (state_.TagBytesPresent == 0) {
        return;
    }
    const std::byte* data = state_.TagBuffer.get();
    if (!audio.AudioStarted()) {
        const auto format = static_cast<std::uint8_t>(std::to_integer<unsigned>(data[0]) >> 4);
        if (!audio.StartAudio(format)) {
            host_.showNotice(Notice::AudioNotMp3);
        }
    }
    audio.WriteMp3(std::span(data + 1, state_.TagBytesPresent - 1));
}

void FlvReader::reportProgress() {
    if (++progressCount_ < kProgressEveryNthTag) {
        return;
    }
    progressCount_ = 0;
    // An input of unknown size shows no progress until it is done.
    host_.setProgress(state_.FileSize ? readPercent(state_.Position, *state_.FileSize) : 0);
}

bool FlvReader::breathe() {
    host_.PumpMessages();
    return !host_.stopRequested();
}

bool FlvReader::passedQuietly(std::uint32_t bytesPassed) {
    quietWork_ += 1 + bytesPassed / kQuietUnitBytes;
    if (quietWork_ < kQuietWorkPerBreath) {
        return true;
    }
    quietWork_ = 0;
    return breathe();
}

void FlvReader::CloseFlv() {
    state_.InputHandle.reset();
}

} // namespace quillon::engine
