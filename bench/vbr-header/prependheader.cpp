// Writes IN.mp3 to OUT.mp3 with the VBR/Info header frame in front, counting the stream in pieces
// the way the extraction writes it. With --filler, the place of the header frame holds the filler
// instead, as when a kept place cannot get its header frame.
// Usage: quillon-vbr-header-tool [--filler] IN.mp3 OUT.mp3
#include "engine/vbrheader.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

using namespace quillon::engine;

namespace {

const char* obstacleName(VbrHeaderObstacle obstacle) {
    switch (obstacle) {
    case VbrHeaderObstacle::None:
        return "none";
    case VbrHeaderObstacle::NoAudioFrames:
        return "no audio frames";
    case VbrHeaderObstacle::FreeFormat:
        return "free format";
    case VbrHeaderObstacle::FormatChanges:
        return "format changes";
    case VbrHeaderObstacle::NotLayerThree:
        return "not layer III";
    case VbrHeaderObstacle::StreamTooLong:
        return "stream too long";
    }
    return "?";
}

} // namespace

int main(int argc, char** argv) {
    const bool filler = argc == 4 && std::string(argv[1]) == "--filler";
    if (argc != 3 + (filler ? 1 : 0)) {
        std::fputs("usage: quillon-vbr-header-tool [--filler] IN.mp3 OUT.mp3\n", stderr);
        return 2;
    }
    std::ifstream in(argv[argc - 2], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::span stream(reinterpret_cast<const std::byte*>(text.data()), text.size());

    // Uneven pieces, as audio tags end anywhere in a frame.
    Mp3FrameCounter counter;
    for (std::size_t at = 0, i = 0; at < stream.size(); ++i) {
        const std::size_t n = std::min<std::size_t>(i % 2 ? 333 : 1000, stream.size() - at);
        counter.feed(stream.subspan(at, n));
        at += n;
    }
    const Mp3StreamSummary summary = counter.finish();
    const VbrHeaderFrame header = buildVbrHeaderFrame(summary);
    if (header.obstacle != VbrHeaderObstacle::None) {
        std::fprintf(stderr, "no header frame: %s\n", obstacleName(header.obstacle));
        return 3;
    }
    const std::vector<std::byte> front =
        filler ? vbrHeaderFiller(header.bytes.size()) : header.bytes;
    std::ofstream out(argv[argc - 1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(front.data()),
              static_cast<std::streamsize>(front.size()));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::printf("frames %llu bytes %llu %s header %zu\n",
                static_cast<unsigned long long>(summary.frames),
                static_cast<unsigned long long>(summary.bytes),
                summary.constantBitrate ? "Info" : "Xing", header.bytes.size());
    return out.good() ? 0 : 1;
}
