#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds a large FLV by repeating the tags of a real one with ever-increasing timestamps.

Usage: make-big-flv.py SOURCE.flv TARGET.flv MIN_BYTES

The header, the first script-data tag (the metadata) and the codec configurations (the AAC and
H.264 sequence headers) are kept once; every other tag is copied again and again, shifted in time
by the source's length each round, until the file holds at least MIN_BYTES. The result is a valid
FLV that any reader handles like the source, only longer.
"""
import struct
import sys


def read_tags(data):
    offset = struct.unpack(">I", data[5:9])[0]
    pos = offset + 4
    tags = []
    while pos + 11 <= len(data):
        kind = data[pos]
        size = int.from_bytes(data[pos + 1:pos + 4], "big")
        ts = int.from_bytes(data[pos + 4:pos + 7], "big") | (data[pos + 7] << 24)
        end = pos + 11 + size + 4
        if end > len(data):
            break
        tags.append((kind, ts, data[pos + 8:pos + 11], data[pos + 11:pos + 11 + size]))
        pos = end
    return data[:offset], tags


AUDIO, VIDEO, SCRIPT = 8, 9, 18
SOUND_FORMAT_AAC, CODEC_AVC, SEQUENCE_HEADER = 10, 7, 0


def is_sequence_header(kind, payload):
    if len(payload) < 2 or payload[1] != SEQUENCE_HEADER:
        return False
    return ((kind == AUDIO and payload[0] >> 4 == SOUND_FORMAT_AAC)
            or (kind == VIDEO and payload[0] & 0x0F == CODEC_AVC))


def write_tag(out, kind, ts, stream, payload):
    ts &= 0xFFFFFFFF
    out.write(bytes([kind]) + len(payload).to_bytes(3, "big") + (ts & 0xFFFFFF).to_bytes(3, "big")
              + bytes([ts >> 24]) + stream + payload + (11 + len(payload)).to_bytes(4, "big"))
    return 11 + len(payload) + 4


def main():
    source, target, min_bytes = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(source, "rb") as f:
        header, tags = read_tags(f.read())
    metadata = [t for t in tags if t[0] == SCRIPT][:1]
    metadata += [t for t in tags if is_sequence_header(t[0], t[3])]
    media = [t for t in tags if t[0] != SCRIPT and not is_sequence_header(t[0], t[3])]
    period = max(t[1] for t in media) + 40
    with open(target, "wb") as out:
        out.write(header + b"\0\0\0\0")
        written = len(header) + 4
        for kind, ts, stream, payload in metadata:
            written += write_tag(out, kind, ts, stream, payload)
        round_no = 0
        while written < min_bytes:
            for kind, ts, stream, payload in media:
                written += write_tag(out, kind, ts + round_no * period, stream, payload)
            round_no += 1
    print(f"{target}: {written} bytes, {round_no} rounds of {len(media)} tags")


if __name__ == "__main__":
    main()
