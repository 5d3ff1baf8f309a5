// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/audiostage.h"

#include "engine/adtswriter.h"
#include "engine/flvformat.h"
#include "engine/mp3writer.h"
#include "engine/outputpath.h"

#include <new>

namespace quillon::engine {

void AudioStage::HandleAudioTag(std::span<const std::byte> data) {
    // A tag without data has no audio header: it can neither decide the format nor add audio.
    if (data.empty()) {
        return;
    }
    if (!soundFormat_) {
        StartAudio(static_cast<std::uint8_t>(std::to_integer<unsigned>(data[0]) >>
                                             flv::kSoundFormatShift));
    }
    // Later tags are written whatever their audio header says; a broken output takes no more.
    if (writer_ && !output_->failed()) {
        writer_->write(data.subspan(flv::kAudioHeaderSize));
    }
}

void AudioStage::StartAudio(std::uint8_t soundFormat) {
    soundFormat_ = soundFormat;
    if (soundFormat == flv::kSoundFormatMp3 || soundFormat == flv::kSoundFormatMp38kHz) {
        extracted_ = true;
        OpenMp3();
        return;
    }
    if (soundFormat == flv::kSoundFormatAac && options_.aac) {
        extracted_ = true;
        OpenAac();
        return;
    }
    host_.showNotice({Notice::Kind::AudioNotExtracted});
}

void AudioStage::OpenMp3() {
    if (createOutput(kMp3Extension)) {
        writer_ = std::make_unique<Mp3Writer>(*output_, options_.vbrHeader);
    }
}

void AudioStage::OpenAac() {
    if (createOutput(kAacExtension)) {
        writer_ = std::make_unique<AdtsWriter>(*output_);
    }
}

bool AudioStage::createOutput(std::string_view extension) {
    std::string path = target_.base;
    path += extension;
    // An output named like its input would take the input's name away while it is read.
    if (files_.sameFile(path, target_.input)) {
        return false;
    }
    outputPath_ = path;
    try {
        output_ = files_.createOutput(path);
    } catch (const std::bad_alloc&) {
        // No memory for the output's buffer: the same to the user as a folder that takes no file.
        output_.reset();
    }
    return output_ != nullptr;
}

AudioOutcome AudioStage::finish() {
    using Kind = AudioOutcome::Kind;
    if (!soundFormat_) {
        return {Kind::NoAudio};
    }
    if (!extracted_) {
        return {Kind::NotExtracted, *soundFormat_};
    }
    if (const auto refusal = writer_ ? writer_->refusal() : std::nullopt) {
        // Told like any audio that is not extracted; the output is dropped with the stage.
        host_.showNotice({Notice::Kind::AudioNotExtracted});
        return {Kind::Refused, *soundFormat_, *refusal};
    }
    if (done()) {
        return {Kind::WriteFailed, *soundFormat_};
    }
    const std::optional<Notice> notice = writer_->finish();
    if (output_->failed() || !output_->commit()) {
        return {Kind::WriteFailed, *soundFormat_};
    }
    if (notice) {
        host_.showNotice(*notice);
    }
    return {Kind::Written, *soundFormat_};
}

} // namespace quillon::engine
