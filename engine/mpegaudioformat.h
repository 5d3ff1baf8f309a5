// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The fixed numbers of MPEG audio frame headers, of the Xing/Info header frame and of the ID3v2 tag
// a stream may start with, in one place.
// A frame header is four bytes, read as one big-endian word:
//
//   AAAAAAAA AAABBCCD EEEEFFGH IIJJKLMM
//   A sync (all ones)  B version  C layer  D no-CRC  E bitrate  F sample rate  G padding
//   H private  I channel mode  J mode extension  K copyright  L original  M emphasis
namespace quillon::engine::mpeg {

inline constexpr std::size_t kHeaderSize = 4;
// The CRC that follows the header when the no-CRC bit is clear.
inline constexpr std::size_t kCrcSize = 2;

inline constexpr std::uint32_t kSyncMask = 0xFFE00000;
inline constexpr std::uint32_t kVersionMask = 0x00180000;
inline constexpr std::uint32_t kLayerMask = 0x00060000;
// Set when the frame carries no CRC after its header.
inline constexpr std::uint32_t kNoCrcBit = 0x00010000;
inline constexpr std::uint32_t kBitrateMask = 0x0000F000;
inline constexpr std::uint32_t kSampleRateMask = 0x00000C00;
inline constexpr std::uint32_t kPaddingBit = 0x00000200;
inline constexpr std::uint32_t kChannelModeMask = 0x000000C0;
inline constexpr std::uint32_t kCopyrightOriginalEmphasisMask = 0x0000000F;

inline constexpr int kVersionShift = 19;
inline constexpr int kLayerShift = 17;
inline constexpr int kBitrateShift = 12;
inline constexpr int kSampleRateShift = 10;
inline constexpr int kChannelModeShift = 6;
inline constexpr int kPaddingShift = 9;
// Bitrate, sample rate and padding are the seven bits from the padding bit up: together they fix
// a frame's length within one stream.
inline constexpr std::uint32_t kLengthKeyBits = 0x7F;

// Version field values; 01 is reserved.
inline constexpr std::uint32_t kVersion25 = 0;
inline constexpr std::uint32_t kVersionReserved = 1;
inline constexpr std::uint32_t kVersion2 = 2;
inline constexpr std::uint32_t kVersion1 = 3;
// The layer field counts down: 01 is layer III, 00 is reserved.
inline constexpr std::uint32_t kLayerReserved = 0;
// Bitrate index 0 is free format (the length is not in the header); 15 is forbidden.
inline constexpr std::uint32_t kFreeFormatBitrateIndex = 0;
inline constexpr std::uint32_t kBadBitrateIndex = 15;
inline constexpr std::uint32_t kSampleRateReserved = 3;

// Every frame of one stream has the same sync, version, layer and sample rate; where these
// bits change, the stream changes format (or the bytes are not a frame of it).
inline constexpr std::uint32_t kStreamFormatMask =
    kSyncMask | kVersionMask | kLayerMask | kSampleRateMask;
// What an encoder keeps the same in every frame: the format, the CRC flag, copyright, original
// and emphasis. Bitrate, padding, the private bit and the channel mode may change.
inline constexpr std::uint32_t kStreamSignatureMask =
    kStreamFormatMask | kNoCrcBit | kCopyrightOriginalEmphasisMask;

// The longest frame any fixed bitrate gives: layer II, MPEG 2.5, 160 kbit/s at 8 kHz, padded.
// Free-format frames reach about the same (layer III, 640 kbit/s at 32 kHz).
inline constexpr std::uint32_t kMaxFrameLength = 2881;

} // namespace quillon::engine::mpeg

namespace quillon::engine::xing {

inline constexpr std::array<std::byte, 4> kXingTag{std::byte{'X'}, std::byte{'i'}, std::byte{'n'},
                                                   std::byte{'g'}};
// The same header, for a stream whose frames all have one bitrate.
inline constexpr std::array<std::byte, 4> kInfoTag{std::byte{'I'}, std::byte{'n'}, std::byte{'f'},
                                                   std::byte{'o'}};
// Fraunhofer's header, a fixed distance after the frame header whatever the side info.
inline constexpr std::array<std::byte, 4> kVbriTag{std::byte{'V'}, std::byte{'B'}, std::byte{'R'},
                                                   std::byte{'I'}};
inline constexpr std::size_t kVbriOffset = 4 + 32;
inline constexpr std::uint32_t kFlagFrames = 0x1;
inline constexpr std::uint32_t kFlagBytes = 0x2;
inline constexpr std::uint32_t kFlagToc = 0x4;
inline constexpr std::size_t kTocSize = 100;
// tag (4) + flags (4) + frames (4) + bytes (4) + seek table (100), right after the side info; each
// field is there only when its flag is set, in this order
inline constexpr std::size_t kTagSize = 4 + 4 + 4 + 4 + kTocSize;

} // namespace quillon::engine::xing

// The ID3v2 tag a stream may start with: "ID3", version (2), flags (1), then its size in four
// bytes of seven bits each (the header and a footer not counted).
namespace quillon::engine::id3v2 {

inline constexpr std::array<std::byte, 3> kTag{std::byte{'I'}, std::byte{'D'}, std::byte{'3'}};
inline constexpr std::size_t kHeaderSize = 10;
// Major version and revision; neither is ever 0xFF.
inline constexpr std::size_t kVersionAt = 3;
inline constexpr std::size_t kFlagsAt = 5;
inline constexpr std::size_t kSizeAt = 6;
inline constexpr std::uint8_t kFooterFlag = 0x10;
inline constexpr std::size_t kFooterSize = 10;

} // namespace quillon::engine::id3v2
