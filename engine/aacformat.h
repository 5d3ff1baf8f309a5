// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The fixed numbers of AAC in FLV, of the AudioSpecificConfig and of ADTS headers, in one place.
namespace quillon::engine::aac {

// The byte after an AAC tag's audio header says what the rest of the tag holds.
inline constexpr std::size_t kPacketTypeSize = 1;
inline constexpr std::uint8_t kPacketTypeSequenceHeader = 0; // an AudioSpecificConfig
inline constexpr std::uint8_t kPacketTypeRaw = 1;            // one raw AAC frame

// AudioSpecificConfig, read bit by bit from its first byte's top bit:
//
//   AAAAA BBBB [24-bit rate if B = 15] CCCC [if A is 5 or 29: BBBB [24-bit rate] AAAAA] D E F
//   A object type (31: 32 + the next 6 bits)  B sampling frequency index  C channel configuration
//   D 960-sample frames  E depends on a core coder  F extension flag
inline constexpr int kObjectTypeBits = 5;
inline constexpr std::uint32_t kObjectTypeEscape = 31;
inline constexpr int kObjectTypeEscapeBits = 6;
inline constexpr std::uint32_t kObjectTypeEscapeBase = 32;
inline constexpr int kSampleRateIndexBits = 4;
inline constexpr std::uint32_t kSampleRateIndexEscape = 15;
inline constexpr int kExplicitSampleRateBits = 24;
inline constexpr int kChannelConfigBits = 4;

// Spectral band replication and parametric stereo signalled explicitly: the configuration goes
// on with the extension's sample rate and then the core's own object type.
inline constexpr std::uint32_t kObjectTypeSbr = 5;
inline constexpr std::uint32_t kObjectTypePs = 29;

// ADTS names object types 1 (Main) to 4 (LTP) in its 2-bit profile, as the object type less one.
inline constexpr std::uint32_t kFirstAdtsObjectType = 1;
inline constexpr std::uint32_t kLastAdtsObjectType = 4;
// Indexes 13 and 14 are reserved; 15 (a rate given in full) has no place in ADTS.
inline constexpr std::uint32_t kLastSampleRateIndex = 12;
// ADTS has three bits for the channel configuration; 0 means a layout described in the stream.
inline constexpr std::uint32_t kLastAdtsChannelConfig = 7;

// The header in front of each frame: without CRC, 7 bytes.
//
//   AAAAAAAA AAAABCCD EEFFFFGH HHIJKLMM MMMMMMMM MMMNNNNN NNNNNNOO
//   A sync (all ones)  B MPEG version (0: MPEG-4)  C layer (0)  D no CRC  E profile
//   F sampling frequency index  G private  H channel configuration  I original  J home
//   K copyright id bit  L copyright id start  M frame length, header included
//   N buffer fullness  O raw data blocks in the frame, less one
inline constexpr std::size_t kAdtsHeaderSize = 7;
inline constexpr std::uint32_t kMaxAdtsFrameLength = 0x1FFF; // 13 bits
inline constexpr std::size_t kMaxRawFrameSize = kMaxAdtsFrameLength - kAdtsHeaderSize;
// All ones: a stream of variable bitrate, whose decoder buffer nothing tracks.
inline constexpr std::uint32_t kBufferFullnessVariable = 0x7FF;

} // namespace quillon::engine::aac
