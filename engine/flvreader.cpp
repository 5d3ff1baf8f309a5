#include "engine/flvreader.h"

#include "engine/flvheader.h"
#include "engine/readpercent.h"

namespace quillon::engine {

FlvReader::FlvReader(RunHost& host, platform::FileSystem& files)
    : host_(host), files_(files), writer_(files) {
    ResetFlvState();
}

void FlvReader::ResetFlvState() {
    state_.TagBuffer =
        std::make_unique_for_overwrite<std::byte[]>(FlvReaderState::kInitialTagBufferCapacity);
    state_.TagBufferCapacity = FlvReaderState::kInitialTagBufferCapacity;
    state_.InputHandle.reset();
    state_.BytesRead = 0;
    state_.Position = 0;
    state_.DataOffset = 0;
    state_.FileSize = 0;
    state_.HeaderFlags = 0;
    state_.TagType = 0;
    state_.TagDataSize = 0;
    state_.TagBytesPresent = 0;
    writer_.SkipAudio = false;
    AudioStarted = false;
}

std::size_t FlvReader::readInto(std::span<std::byte> destination) {
    state_.BytesRead = state_.InputHandle->read(destination);
    return state_.BytesRead;
}

bool FlvReader::OpenFlv(const std::string& path) {
    ResetFlvState();
    state_.InputHandle = files_.openForReading(path);
    if (!state_.InputHandle) {
        return false;
    }
    state_.Position = 0;
    state_.FileSize = state_.InputHandle->size();

    auto header = std::span(state_.HeaderBuffer);
    const auto signature = header.first<flv::kSignatureAndVersionSize>();
    const bool complete = readInto(signature) == signature.size();
    state_.Position += flv::kSignatureAndVersionSize;
    if (!complete || !FlvSignature::isValid(signature)) {
        CloseFlv();
        return false;
    }

    std::byte flags{};
    if (readInto(std::span(&flags, 1)) == 1) {
        state_.HeaderFlags = std::to_integer<std::uint8_t>(flags);
    }
    state_.Position += 1;

    const auto offset = header.first<flv::kDataOffsetSize>();
    if (readInto(offset) == offset.size()) {
        state_.DataOffset = readBigEndian32(offset);
    }
    state_.Position += flv::kDataOffsetSize;

    if (state_.InputHandle->seek(state_.DataOffset)) {
        state_.Position = state_.DataOffset;
    }
    return true;
}

void FlvReader::growTagBuffer(std::uint32_t size) {
    if (state_.TagBufferCapacity < size) {
        // The old contents are never needed again, so a fresh buffer is cheaper than a copy.
        state_.TagBuffer = std::make_unique_for_overwrite<std::byte[]>(size);
        state_.TagBufferCapacity = size;
    }
}

void FlvReader::readTagData() {
    growTagBuffer(state_.TagDataSize);
    if (state_.TagType == flv::kTagTypeAudio) {
        state_.TagBytesPresent = static_cast<std::uint32_t>(
            readInto(std::span(state_.TagBuffer.get(), state_.TagDataSize)));
    } else {
        // Nothing looks at other tags' data, so it is passed over instead of copied.
        state_.TagBytesPresent =
            static_cast<std::uint32_t>(state_.InputHandle->skip(state_.TagDataSize));
    }
}

TagLoopOutcome FlvReader::ReadTags() {
    if (!state_.InputHandle) {
        return TagLoopOutcome::ReadFailed;
    }
    // Back-pointers say nothing the headers do not; passing over them costs no copy.
    state_.InputHandle->skip(flv::kBackPointerSize);
    state_.Position += flv::kBackPointerSize;
    auto header = std::span(state_.HeaderBuffer);

    int progressCount = 0;
    while (state_.Position < state_.FileSize) {
        // A header cut short by the end of the file starts no tag: its missing bytes would be
        // whatever the buffer held before.
        if (readInto(header) < header.size()) {
            break;
        }
        const FlvTagHeader tag = FlvTagHeader::parse(header.first<flv::kTagHeaderSize>());
        state_.TagType = tag.type;
        state_.TagDataSize = tag.dataSize;
        state_.Position += flv::kTagHeaderSize;

        readTagData();
        state_.Position += state_.TagDataSize;

        state_.InputHandle->skip(flv::kBackPointerSize);
        state_.Position += flv::kBackPointerSize;

        if (state_.InputHandle->failed()) {
            writer_.discardOutput();
            return TagLoopOutcome::ReadFailed;
        }
        if (!tag.isCounted()) {
            continue;
        }
        if (tag.type == flv::kTagTypeAudio) {
            HandleAudioTag();
            if (writer_.writeFailed()) {
                writer_.CloseMp3();
                return TagLoopOutcome::WriteFailed;
            }
        }
        if (++progressCount >= kProgressEveryNthTag) {
            progressCount = 0;
            host_.setProgress(readPercent(state_.Position, state_.FileSize));
        }
        host_.PumpMessages();
        if (host_.stopRequested()) {
            writer_.discardOutput();
            return TagLoopOutcome::Stopped;
        }
    }
    if (state_.InputHandle->failed()) {
        writer_.discardOutput();
        return TagLoopOutcome::ReadFailed;
    }
    writer_.CloseMp3();
    return writer_.writeFailed() ? TagLoopOutcome::WriteFailed : TagLoopOutcome::Finished;
}

void FlvReader::HandleAudioTag() {
    // A tag without data has no audio header: it can neither decide the format nor add audio.
    if (state_.TagBytesPresent == 0) {
        return;
    }
    const std::byte* data = state_.TagBuffer.get();
    if (!AudioStarted) {
        writer_.SkipAudio = false;
        const auto format = std::to_integer<std::uint8_t>(data[0]) >> 4;
        if (format != flv::kSoundFormatMp3) {
            host_.showNotice(Notice::AudioNotMp3);
            writer_.SkipAudio = true;
        }
        writer_.OpenMp3();
        AudioStarted = true;
    }
    if (!writer_.SkipAudio) {
        writer_.WriteMp3(std::span(data + 1, state_.TagBytesPresent - 1));
    }
}

void FlvReader::CloseFlv() {
    state_.InputHandle.reset();
}

} // namespace quillon::engine
