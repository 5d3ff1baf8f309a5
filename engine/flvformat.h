// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The FLV container's fixed numbers, in one place.
namespace quillon::engine::flv {

inline constexpr std::array<std::byte, 3> kSignature{std::byte{'F'}, std::byte{'L'},
                                                     std::byte{'V'}};
inline constexpr std::uint8_t kVersion = 1;

// signature (3) + version (1), read first and checked before anything else
inline constexpr std::size_t kSignatureAndVersionSize = 4;
inline constexpr std::size_t kFlagsSize = 1;
inline constexpr std::size_t kDataOffsetSize = 4;
// signature and version (4) + flags (1) + data offset (4)
inline constexpr std::size_t kFileHeaderSize =
    kSignatureAndVersionSize + kFlagsSize + kDataOffsetSize;

// type (1) + data size (3) + timestamp (3) + timestamp extension (1) + stream id (3)
inline constexpr std::size_t kTagHeaderSize = 11;
inline constexpr std::size_t kTypeSize = 1;
inline constexpr std::size_t kDataSizeSize = 3;
// The previous-tag-size field after the header and after every tag.
inline constexpr std::size_t kBackPointerSize = 4;

inline constexpr std::uint8_t kTagTypeAudio = 8;
inline constexpr std::uint8_t kTagTypeVideo = 9;
inline constexpr std::uint8_t kTagTypeScriptData = 18;

// An audio tag's data starts with one byte of its own (the audio header) before the payload;
// its upper four bits are the sound format.
inline constexpr std::size_t kAudioHeaderSize = 1;
inline constexpr int kSoundFormatShift = 4;
inline constexpr std::uint8_t kSoundFormatPcmPlatformEndian = 0;
inline constexpr std::uint8_t kSoundFormatAdpcm = 1;
inline constexpr std::uint8_t kSoundFormatMp3 = 2;
inline constexpr std::uint8_t kSoundFormatPcmLittleEndian = 3;
inline constexpr std::uint8_t kSoundFormatNellymoser16kMono = 4;
inline constexpr std::uint8_t kSoundFormatNellymoser8kMono = 5;
inline constexpr std::uint8_t kSoundFormatNellymoser = 6;
inline constexpr std::uint8_t kSoundFormatG711ALaw = 7;
inline constexpr std::uint8_t kSoundFormatG711MuLaw = 8;
inline constexpr std::uint8_t kSoundFormatAac = 10;
inline constexpr std::uint8_t kSoundFormatSpeex = 11;
// MP3 frames, like format 2; the number says only that the rate is 8 kHz.
inline constexpr std::uint8_t kSoundFormatMp38kHz = 14;
inline constexpr std::uint8_t kSoundFormatDeviceSpecific = 15;
// 9, 12 and 13 name no format.

// The largest data size a 24-bit field can claim.
inline constexpr std::uint32_t kMaxTagDataSize = 0xFFFFFF;

} // namespace quillon::engine::flv
