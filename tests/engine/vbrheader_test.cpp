// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/bigendian.h"
#include "engine/mp3framecounter.h"
#include "engine/vbrheader.h"
#include "enginetestbed.h"
#include "tempfolder.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing;
using namespace quillon::engine;

namespace {

std::uint32_t word32(const Bytes& b, std::size_t at) {
    return readBigEndian32(b.data() + at);
}

Bytes slice(const Bytes& b, std::size_t from, std::size_t to) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(std::min(to, b.size())));
}

// `count` frames of `length` bytes: the header, then zeros.
Bytes frameOf(std::uint32_t header, std::size_t length, std::size_t count = 1) {
    Bytes out(length * count);
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] =
            k % length < 4 ? static_cast<std::byte>(header >> (24 - 8 * (k % length))) : out[k];
    }
    return out;
}

// What a whole run makes of an FLV: the output (empty for none) and the notices.
struct Extracted {
    Bytes mp3;
    std::vector<Notice> notices;
};
Extracted extract(const Bytes& flv, bool vbrHeader) {
    EngineTestbed t;
    t.options.vbrHeader = vbrHeader;
    t.add("clip.flv", flv);
    t.run();
    const Bytes* mp3 = t.output("/in/clip.mp3");
    EXPECT_EQ(t.host.status(1), mp3 ? RowStatus::Finished : RowStatus::NoAudio);
    return {mp3 ? *mp3 : Bytes{}, t.host.notices};
}

// The plain MP3 stream Quillon extracts from a committed fixture.
Bytes extractedAudio(const std::string& fixture) {
    return extract(readFile(fixturePath(fixture)), false).mp3;
}

// An FLV carrying `stream` in audio tags of uneven sizes, so tags end in the middle of frames.
Bytes flvCarrying(const Bytes& stream) {
    FlvBuilder b = FlvBuilder::start();
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const std::size_t n = std::min<std::size_t>(i % 2 ? 417 : 1000, stream.size() - at);
        b.audio(0x2F, slice(stream, at, at + n));
        at += n;
    }
    return b.bytes();
}

// Feeds the stream in pieces of the given sizes, taken in turn.
Mp3StreamSummary countInPieces(const Bytes& stream, const std::vector<std::size_t>& sizes) {
    Mp3FrameCounter counter;
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const std::size_t n = std::min(sizes[i % sizes.size()], stream.size() - at);
        counter.feed(std::span(stream).subspan(at, n));
        at += n;
    }
    return counter.finish();
}

const std::vector<std::vector<std::size_t>> kPieceSizes{{1}, {3, 5}, {417}, {1000, 7}, {1 << 30}};

// The frame starts of a clean stream, one frame after the other from its first byte.
std::vector<std::uint64_t> frameStarts(const Bytes& stream) {
    std::vector<std::uint64_t> starts;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const auto h = Mp3FrameHeader::parse(word32(stream, at));
        if (!h || at + h->frameLength() > stream.size()) {
            break;
        }
        starts.push_back(at);
        at += h->frameLength();
    }
    return starts;
}

// ffprobe's frame count and the stream's size, recorded by make-vbr-fixtures.sh.
struct FixtureFacts {
    std::uint64_t frames = 0, bytes = 0, sampleRate = 0, channels = 0;
};
FixtureFacts factsOf(const std::string& fixture) {
    std::ifstream in(fixturePath("mp3-frames.txt"));
    std::string name;
    FixtureFacts f;
    while (in >> name >> f.frames >> f.bytes >> f.sampleRate >> f.channels) {
        if (name == fixture) {
            return f;
        }
    }
    ADD_FAILURE() << fixture << " is not in mp3-frames.txt";
    return {};
}

// A header frame read back the way a player reads it: the tag sits after the side info, whose
// size the version and channel mode bits give.
struct ReadBack {
    std::string tag;
    std::uint32_t flags = 0, frames = 0, bytes = 0;
    std::vector<int> toc;
    bool sideInfoSilent = true;
};
ReadBack readHeaderFrame(const Bytes& frame) {
    ReadBack r;
    const bool mpeg1 = frame.size() > 4 && ((std::to_integer<int>(frame[1]) >> 3) & 3) == 3;
    const bool mono = frame.size() > 4 && (std::to_integer<int>(frame[3]) >> 6) == 3;
    const std::size_t at = 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    if (frame.size() < at + 116) {
        return r;
    }
    r.sideInfoSilent =
        std::all_of(&frame[4], &frame[at], [](std::byte b) { return b == std::byte{0}; });
    r.tag.assign(reinterpret_cast<const char*>(&frame[at]), 4);
    r.flags = word32(frame, at + 4);
    r.frames = word32(frame, at + 8);
    r.bytes = word32(frame, at + 12);
    for (std::size_t i = 0; i < 100; ++i) {
        r.toc.push_back(std::to_integer<int>(frame[at + 16 + i]));
    }
    return r;
}

struct HeaderCase {
    const char* name = "";
    std::uint32_t word = 0;
    bool valid = false;
    MpegVersion version = MpegVersion::Mpeg1;
    int layer = 0, bitrate = 0, sampleRate = 0;
    ChannelMode mode = ChannelMode::Stereo;
    int length = 0, samples = 0;
};

class Mp3FrameHeaderParse : public ::testing::TestWithParam<HeaderCase> {};

struct FixtureCase {
    const char* name;
    const char* fixture;
    std::size_t headerFrameSize; // the smallest bitrate holding 4 + side info + 116 bytes
};

class FixtureStream : public ::testing::TestWithParam<FixtureCase> {};

using Starts = std::vector<std::uint64_t>;

// A stream put together from junk and runs of a clean stream's frames, with the starts of the
// whole frames in it.
struct Damaged {
    Bytes stream;
    Starts starts;

    Damaged& junk(const Bytes& bytes) {
        stream.insert(stream.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Damaged& frames(const Bytes& clean, const Starts& at, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            starts.push_back(stream.size() + at[i] - at[from]);
        }
        return junk(slice(clean, at[from], to < at.size() ? at[to] : clean.size()));
    }
};

struct DamageCase {
    const char* name;
    // Made from the 44.1 kHz VBR fixture's stream and its frame starts.
    Damaged (*make)(const Bytes& vbr, const Starts& starts);
    VbrHeaderObstacle obstacle;
};

class DamagedStream : public ::testing::TestWithParam<DamageCase> {};

} // namespace

TEST_P(Mp3FrameHeaderParse, ReadsFieldsAndLength) {
    const HeaderCase& c = GetParam();
    const auto h = Mp3FrameHeader::parse(c.word);
    ASSERT_EQ(h.has_value(), c.valid);
    if (!c.valid) {
        return;
    }
    EXPECT_EQ(h->version, c.version);
    EXPECT_EQ(h->layer, c.layer);
    EXPECT_EQ(h->bitrate, static_cast<std::uint32_t>(c.bitrate));
    EXPECT_EQ(h->sampleRate, static_cast<std::uint32_t>(c.sampleRate));
    EXPECT_EQ(h->channelMode, c.mode);
    EXPECT_EQ(h->frameLength(), static_cast<std::uint32_t>(c.length));
    EXPECT_EQ(h->samplesPerFrame(), static_cast<std::uint32_t>(c.samples));
    EXPECT_EQ(h->isFreeFormat(), c.bitrate == 0);
}

// Lengths worked out by hand: layer III 144 (MPEG 1) or 72 (MPEG 2, 2.5) * bitrate / rate +
// padding; layer I (12 * bitrate / rate + padding) * 4.
constexpr auto kV1 = MpegVersion::Mpeg1;
constexpr auto kJoint = ChannelMode::JointStereo;
constexpr auto kMono = ChannelMode::Mono;
INSTANTIATE_TEST_SUITE_P(
    Words, Mp3FrameHeaderParse,
    ::testing::Values(HeaderCase{"Mpeg1Layer3Padded", 0xFFFB9240, true, kV1, 3, 128000, 44100,
                                 kJoint, 418, 1152},
                      HeaderCase{"Mpeg2Layer3Mono", 0xFFF380C0, true, MpegVersion::Mpeg2, 3, 64000,
                                 22050, kMono, 208, 576},
                      HeaderCase{"Mpeg25Layer3At8kHz", 0xFFE318C0, true, MpegVersion::Mpeg25, 3,
                                 8000, 8000, kMono, 72, 576},
                      HeaderCase{"Mpeg1Layer1WithCrc", 0xFFFE1480, true, kV1, 1, 32000, 48000,
                                 ChannelMode::DualChannel, 32, 384},
                      HeaderCase{"Mpeg1Layer2Padded", 0xFFFDEA00, true, kV1, 2, 384000, 32000,
                                 ChannelMode::Stereo, 1729, 1152},
                      HeaderCase{"FreeFormat", 0xFFFB0040, true, kV1, 3, 0, 44100, kJoint, 0, 1152},
                      HeaderCase{"NoSync", 0xFF7B9040}, HeaderCase{"ReservedVersion", 0xFFEB9040},
                      HeaderCase{"ReservedLayer", 0xFFF99040},
                      HeaderCase{"ForbiddenBitrate", 0xFFFBF040},
                      HeaderCase{"ReservedSampleRate", 0xFFFB9C40}),
    [](const auto& info) { return info.param.name; });

TEST_P(FixtureStream, CountsInAnyPiecesAndBuildsAHeaderFramePlayersRead) {
    const std::string fixture = GetParam().fixture;
    const Bytes stream = extractedAudio(fixture);
    const FixtureFacts facts = factsOf(fixture);
    const std::vector<std::uint64_t> starts = frameStarts(stream);
    ASSERT_EQ(stream.size(), facts.bytes);
    ASSERT_EQ(starts.size(), facts.frames); // the reference walk agrees with ffprobe

    for (const auto& sizes : kPieceSizes) {
        const Mp3StreamSummary s = countInPieces(stream, sizes);
        ASSERT_EQ(s.obstacle, VbrHeaderObstacle::None) << sizes[0];
        EXPECT_EQ(s.frames, facts.frames) << sizes[0];
        EXPECT_EQ(s.bytes, facts.bytes) << sizes[0];
        EXPECT_EQ(s.constantBitrate, fixture.starts_with("cbr")) << sizes[0];
        EXPECT_EQ(s.firstFrame->sampleRate, facts.sampleRate);
        EXPECT_EQ(s.firstFrame->channelMode == ChannelMode::Mono, facts.channels == 1);
        for (std::size_t i = 0; i < 100; ++i) {
            EXPECT_EQ(s.seekOffsets[i], starts[i * starts.size() / 100]) << sizes[0] << " " << i;
        }
    }

    // The header frame's size is known once the second frame's header confirms the first.
    Mp3FrameCounter counter;
    counter.feed(slice(stream, 0, starts[1] + 3));
    EXPECT_FALSE(counter.firstFrame());
    counter.feed(slice(stream, starts[1] + 3, starts[1] + 4));
    ASSERT_TRUE(counter.firstFrame());
    EXPECT_EQ(vbrHeaderFrameSize(*counter.firstFrame()), GetParam().headerFrameSize);

    // The whole run, asked for the header frame, puts it in front of the plain stream.
    const Extracted withHeader = extract(readFile(fixturePath(fixture)), true);
    EXPECT_TRUE(withHeader.notices.empty());
    const std::size_t size = GetParam().headerFrameSize;
    ASSERT_EQ(withHeader.mp3.size(), size + stream.size());
    EXPECT_EQ(slice(withHeader.mp3, size, withHeader.mp3.size()), stream);
    const Bytes built = slice(withHeader.mp3, 0, size);
    const Mp3StreamSummary s = countInPieces(stream, {1 << 30});
    const auto own = Mp3FrameHeader::parse(word32(built, 0));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->layer, 3);
    EXPECT_TRUE(own->sameStreamFormat(*s.firstFrame));
    EXPECT_EQ(own->channelMode, s.firstFrame->channelMode);
    EXPECT_FALSE(own->crcProtected);
    EXPECT_EQ(own->frameLength(), built.size());

    const ReadBack r = readHeaderFrame(built);
    EXPECT_EQ(r.tag, fixture.starts_with("cbr") ? "Info" : "Xing");
    EXPECT_TRUE(r.sideInfoSilent);
    EXPECT_EQ(r.flags, 7u);
    EXPECT_EQ(r.frames, facts.frames);
    const std::uint64_t total = built.size() + stream.size();
    EXPECT_EQ(r.bytes, total);
    for (std::size_t i = 0; i < 100; ++i) {
        // Entry i points into the last 256th of the output before the frame at i percent.
        const std::uint64_t target = built.size() + starts[i * starts.size() / 100];
        const std::uint64_t pointed = static_cast<std::uint64_t>(r.toc[i]) * total / 256;
        EXPECT_LE(pointed, target) << i;
        EXPECT_LE(target - pointed, total / 256 + 1) << i;
        if (i > 0) {
            EXPECT_GE(r.toc[i], r.toc[i - 1]) << i;
        }
    }
}

// MPEG 1 at 44.1 kHz needs 48 kbit/s (156 bytes, 40 give 130); MPEG 2 at 22.05 kHz 40 kbit/s
// (130 bytes, 32 give 104); MPEG 2.5 at 8 kHz 16 kbit/s (144 bytes, 8 give 72).
INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureStream,
                         ::testing::Values(FixtureCase{"Vbr44k", "vbr-44k-stereo.flv", 156},
                                           FixtureCase{"Cbr44k", "cbr-44k-stereo.flv", 156},
                                           FixtureCase{"Vbr22k", "vbr-22k-mono.flv", 130},
                                           FixtureCase{"Cbr22k", "cbr-22k-mono.flv", 130},
                                           FixtureCase{"Vbr8k", "vbr-8k-mono.flv", 144},
                                           FixtureCase{"Cbr8k", "cbr-8k-mono.flv", 144}),
                         [](const auto& info) { return info.param.name; });

TEST_P(DamagedStream, CountsOnlyWholeFramesOrSaysWhyNoHeader) {
    const Bytes vbr = extractedAudio("vbr-44k-stereo.flv");
    const Damaged d = GetParam().make(vbr, frameStarts(vbr));
    for (const auto& sizes : kPieceSizes) {
        const Mp3StreamSummary s = countInPieces(d.stream, sizes);
        EXPECT_EQ(s.obstacle, GetParam().obstacle) << sizes[0];
        EXPECT_EQ(s.bytes, d.stream.size()) << sizes[0];
        const VbrHeaderFrame built = buildVbrHeaderFrame(s);
        ASSERT_EQ(built.obstacle, GetParam().obstacle) << sizes[0];
        if (GetParam().obstacle != VbrHeaderObstacle::None) {
            EXPECT_TRUE(built.bytes.empty()) << sizes[0];
            continue;
        }
        EXPECT_EQ(s.frames, d.starts.size()) << sizes[0];
        EXPECT_EQ(readHeaderFrame(built.bytes).frames, s.frames) << sizes[0];
        // Which frame a shortened one hides can only be told while its bytes are at hand: in a
        // piece fed whole, the seek table points at whole frames only.
        if (sizes[0] == kPieceSizes.back()[0]) {
            for (std::size_t i = 0; i < 100; ++i) {
                EXPECT_EQ(s.seekOffsets[i], d.starts[i * d.starts.size() / 100]) << i;
            }
        }
    }

    // Through a whole run: a stream that allows no header frame comes out exactly plain, even
    // when that shows only after the header frame's place was kept, and the user is told why.
    const Extracted run = extract(flvCarrying(d.stream), true);
    if (d.stream.empty()) {
        EXPECT_TRUE(run.mp3.empty());
        EXPECT_TRUE(run.notices.empty());
        return;
    }
    if (GetParam().obstacle != VbrHeaderObstacle::None) {
        EXPECT_EQ(run.mp3, d.stream);
        EXPECT_EQ(run.notices,
                  (std::vector<Notice>{{Notice::Kind::NoVbrHeader, GetParam().obstacle}}));
        return;
    }
    EXPECT_TRUE(run.notices.empty());
    ASSERT_GT(run.mp3.size(), d.stream.size());
    const std::size_t size = run.mp3.size() - d.stream.size();
    EXPECT_EQ(slice(run.mp3, size, run.mp3.size()), d.stream);
    const ReadBack r = readHeaderFrame(slice(run.mp3, 0, size));
    EXPECT_EQ(r.frames, d.starts.size());
    EXPECT_EQ(r.bytes, run.mp3.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedStream,
    ::testing::Values(
        DamageCase{"JunkBeforeAndBetweenFrames",
                   [](const Bytes& v, const Starts& s) {
                       // Junk with sync words in it whose frames lead nowhere; frame 10 stands
                       // alone between junk, and junk follows the last frame.
                       const Bytes junk =
                           concat({pattern(300, 7), bytesOf({0xFF, 0xFB, 0x90, 0x40}), pattern(50),
                                   bytesOf({0xFF, 0xF3, 0x80, 0xC0, 0xFF})});
                       return Damaged{}
                           .junk(junk)
                           .frames(v, s, 0, 10)
                           .junk(junk)
                           .frames(v, s, 10, 11)
                           .junk(pattern(3))
                           .frames(v, s, 11, s.size())
                           .junk(pattern(77));
                   },
                   VbrHeaderObstacle::None},
        DamageCase{"TwoFramesOfAnotherRateAreJunk",
                   [](const Bytes& v, const Starts& s) {
                       // MPEG 1 layer III, 128 kbit/s at 32 kHz: 576 bytes.
                       return Damaged{}
                           .frames(v, s, 0, 30)
                           .junk(frameOf(0xFFFB9840, 576, 2))
                           .frames(v, s, 30, s.size());
                   },
                   VbrHeaderObstacle::None},
        DamageCase{"CutOffLastFrame",
                   [](const Bytes& v, const Starts& s) {
                       return Damaged{}
                           .frames(v, s, 0, s.size() - 1)
                           .junk(slice(v, s.back(), v.size() - 50));
                   },
                   VbrHeaderObstacle::None},
        DamageCase{"FrameCutShortMidStream",
                   [](const Bytes& v, const Starts& s) {
                       // Frame 40 (417 bytes) loses 100 bytes from its middle.
                       return Damaged{}
                           .frames(v, s, 0, 40)
                           .junk(slice(v, s[40], s[40] + 40))
                           .junk(slice(v, s[40] + 140, s[41]))
                           .frames(v, s, 41, s.size());
                   },
                   VbrHeaderObstacle::None},
        DamageCase{"SingleFrame",
                   [](const Bytes& v, const Starts& s) { return Damaged{}.frames(v, s, 5, 6); },
                   VbrHeaderObstacle::None},
        DamageCase{"SampleRateChanges",
                   [](const Bytes& v, const Starts&) {
                       return Damaged{}.junk(v).junk(frameOf(0xFFFB9840, 576, 5));
                   },
                   VbrHeaderObstacle::FormatChanges},
        DamageCase{"MpegVersionChanges",
                   [](const Bytes& v, const Starts&) {
                       return Damaged{}.junk(v).junk(extractedAudio("vbr-22k-mono.flv"));
                   },
                   VbrHeaderObstacle::FormatChanges},
        DamageCase{"FreeFormat",
                   [](const Bytes&, const Starts&) {
                       return Damaged{}.junk(frameOf(0xFFFB0040, 400, 10));
                   },
                   VbrHeaderObstacle::FreeFormat},
        DamageCase{"LayerTwo",
                   [](const Bytes&, const Starts&) {
                       // MPEG 1 layer II, 128 kbit/s at 48 kHz: 384 bytes.
                       return Damaged{}.junk(frameOf(0xFFFD8440, 384, 10));
                   },
                   VbrHeaderObstacle::NotLayerThree},
        DamageCase{"NoAudio",
                   [](const Bytes&, const Starts&) {
                       return Damaged{}.junk(bytesOf(std::string(5000, 'x')));
                   },
                   VbrHeaderObstacle::NoAudioFrames},
        DamageCase{"Empty", [](const Bytes&, const Starts&) { return Damaged{}; },
                   VbrHeaderObstacle::NoAudioFrames}),
    [](const auto& info) { return info.param.name; });

TEST(VbrHeader, LongStreamsKeepTheSeekTableCloseInFixedMemory) {
    // 10000 frames of two bitrates (MPEG 1, 44.1 kHz: 64 kbit/s = 208 bytes, 128 = 417).
    Bytes stream;
    for (int i = 0; i < 10000; ++i) {
        const Bytes f = i % 3 ? frameOf(0xFFFB5040, 208) : frameOf(0xFFFB9040, 417);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    const std::vector<std::uint64_t> starts = frameStarts(stream);
    const Mp3StreamSummary s = countInPieces(stream, {4096});
    ASSERT_EQ(s.frames, 10000u);
    for (std::size_t i = 0; i < 100; ++i) {
        // A frame start no more than 1/2048 of the frames before the one at i percent.
        const auto at = std::find(starts.begin(), starts.end(), s.seekOffsets[i]);
        ASSERT_NE(at, starts.end()) << i;
        const auto target = static_cast<std::ptrdiff_t>(i * starts.size() / 100);
        EXPECT_LE(at - starts.begin(), target) << i;
        EXPECT_LT(target - (at - starts.begin()), 10000 / 2048 + 1) << i;
    }
}

TEST(VbrHeader, CountsThatDoNotFitTheHeaderAreAnObstacle) {
    Mp3StreamSummary s;
    s.obstacle = VbrHeaderObstacle::None;
    s.firstFrame = Mp3FrameHeader::parse(0xFFFB9040);
    s.frames = 1;
    s.bytes = 0xFFFFFFFFu - 156; // the 156-byte header frame makes it the largest count there is
    EXPECT_EQ(buildVbrHeaderFrame(s).obstacle, VbrHeaderObstacle::None);
    s.bytes += 1;
    EXPECT_EQ(buildVbrHeaderFrame(s).obstacle, VbrHeaderObstacle::StreamTooLong);
}
