// SPDX-License-Identifier: GPL-3.0-or-later
// The frame counter's cost on the extraction's hot path: a stream the size of bench/engine's audio
// (about 14 MB, 128 kbit/s at 44.1 kHz), fed one frame per write as FLV audio tags carry it, and in
// large writes. bench/engine's whole extraction of that file takes about 49 ms.
#include "engine/mp3framecounter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <vector>

using namespace quillon::engine;

namespace {

struct Stream {
    std::vector<std::byte> bytes;
    std::vector<std::size_t> frameSizes;
};

// `vbr`: the bitrate index changes from frame to frame (48 to 320 kbit/s); otherwise 128 kbit/s
// with the padding that keeps 44.1 kHz in step.
Stream makeStream(std::size_t size, bool vbr) {
    Stream s;
    std::mt19937 random(7);
    double owed = 0;
    while (s.bytes.size() < size) {
        const std::uint32_t index = vbr ? 3 + random() % 12 : 9;
        const auto header = Mp3FrameHeader::parse((0xFFFB9040 & ~0xF000u) | index << 12);
        const double exact = 144.0 * header->bitrate / 44100;
        owed += exact - static_cast<std::uint32_t>(exact);
        const bool pad = owed >= 1;
        owed -= pad ? 1 : 0;
        const std::uint32_t word = header->word | (pad ? 0x200u : 0);
        const std::size_t length = static_cast<std::uint32_t>(exact) + (pad ? 1 : 0);
        const std::size_t at = s.bytes.size();
        s.bytes.resize(at + length);
        for (std::size_t i = 4; i < length; ++i) {
            s.bytes[at + i] = static_cast<std::byte>(random());
        }
        for (std::size_t i = 0; i < 4; ++i) {
            s.bytes[at + i] = static_cast<std::byte>(word >> (24 - 8 * i));
        }
        s.frameSizes.push_back(length);
    }
    return s;
}

constexpr std::size_t kStreamSize = 14 << 20;

// Each piece is first copied into an output buffer, as the writer does, so the counter finds it in
// the cache as it will in the extraction; `count` adds the counter. The difference between the
// two is the counter's cost.
void writePieces(benchmark::State& state, const Stream& s, const std::vector<std::size_t>& pieces,
                 bool count) {
    std::vector<std::byte> output(1 << 20);
    for (auto _ : state) {
        Mp3FrameCounter counter;
        std::size_t at = 0, written = 0;
        for (std::size_t length : pieces) {
            if (written + length > output.size()) {
                written = 0;
            }
            std::memcpy(output.data() + written, s.bytes.data() + at, length);
            written += length;
            if (count) {
                counter.feed(std::span(s.bytes).subspan(at, length));
            }
            at += length;
        }
        benchmark::DoNotOptimize(output.data());
        benchmark::DoNotOptimize(counter.finish());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * s.bytes.size()));
}

void oneFramePerWrite(benchmark::State& state, bool vbr, bool count) {
    const Stream s = makeStream(kStreamSize, vbr);
    writePieces(state, s, s.frameSizes, count);
}

void largeWrites(benchmark::State& state, bool count) {
    const Stream s = makeStream(kStreamSize, true);
    std::vector<std::size_t> pieces(s.bytes.size() / 65536, 65536);
    pieces.push_back(s.bytes.size() % 65536);
    writePieces(state, s, pieces, count);
}

} // namespace

// The machine may be shared: the fastest repetition is the one least disturbed.
double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

BENCHMARK_CAPTURE(oneFramePerWrite, cbr_write_only, false, false)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneFramePerWrite, cbr_write_and_count, false, true)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneFramePerWrite, vbr_write_only, true, false)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(oneFramePerWrite, vbr_write_and_count, true, true)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(largeWrites, vbr_write_only, false)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(largeWrites, vbr_write_and_count, true)
    ->ComputeStatistics("min", fastest)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
