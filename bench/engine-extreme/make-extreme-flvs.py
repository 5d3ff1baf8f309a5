#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the extreme FLV files of the engine's stress benchmark into a folder.

Usage: make-extreme-flvs.py FOLDER
Each file is described in FILES below; all of them are small on disk except where noted (the
2.5 GiB one is sparse: its huge tags are holes)."""
import os
import struct
import sys

HEADER = b"FLV\x01\x05" + struct.pack(">I", 9)
BACK0 = b"\x00\x00\x00\x00"


def tag(kind, data, claimed=None, back=None):
    size = len(data) if claimed is None else claimed
    body = bytes([kind]) + size.to_bytes(3, "big") + b"\x00" * 7 + data
    return body + struct.pack(">I", 11 + len(data) if back is None else back)


def audio(payload):
    return tag(8, b"\x2f" + payload)


_RAMP = bytes(range(256)) * 2


def payload(n, seed):
    # Bytes counting up from seed: misplaced bytes show in a comparison.
    start = seed & 0xFF
    whole = (_RAMP[start:start + 256] * (n // 256 + 1))
    return whole[:n]


def empty_tags(path, count=10_000_000):
    # Empty audio, video and script tags in turn: every one is counted, pumps events and every
    # sixth moves the bar, so this is the loop's worst case per byte.
    cycle = tag(8, b"") + tag(9, b"") + tag(18, b"")
    with open(path, "wb") as f:
        f.write(HEADER + BACK0)
        f.write(cycle * (count // 3))
        f.write(tag(9, b"") * (count % 3))


def sparse_huge(path):
    # Real audio at both ends, 150 video tags of 16 MiB each between them, all holes: 2.5 GiB.
    with open(path, "wb") as f:
        f.write(HEADER + BACK0 + audio(payload(300, 1)))
        for _ in range(150):
            f.write(bytes([9]) + (0xFFFFFF).to_bytes(3, "big") + b"\x00" * 7)
            f.seek(0xFFFFFF, os.SEEK_CUR)
            f.write(struct.pack(">I", 0xFFFFFF + 11))
        f.write(audio(payload(300, 2)))


def largest_claim(path):
    # A 16,777,215-byte audio tag claimed in a file of a few hundred bytes.
    with open(path, "wb") as f:
        f.write(HEADER + BACK0 + audio(payload(200, 3)))
        f.write(tag(8, b"\x2f" + payload(100, 4), claimed=0xFFFFFF))


def largest_real(path):
    # Real audio tags of the largest size: the tag buffer holds 16 MiB of actual data.
    with open(path, "wb") as f:
        f.write(HEADER + BACK0)
        for i in range(4):
            f.write(tag(8, b"\x2f" + payload(0xFFFFFF - 1, i)))


def offset(path, value):
    with open(path, "wb") as f:
        f.write(b"FLV\x01\x05" + struct.pack(">I", value) + BACK0)
        for i in range(1000):
            f.write(audio(payload(400, i)))


def lying_back_pointers(path):
    # A million tags whose back-pointers contradict every size.
    lies = [0, 0xFFFFFFFF, 7, 0x7FFFFFFF]
    with open(path, "wb") as f:
        f.write(HEADER + struct.pack(">I", 0xFFFFFFFF))
        for i in range(1_000_000):
            f.write(tag(8 if i % 2 else 9, b"\x2f" + payload(30, i), back=lies[i % 4]))


FILES = {
    "empty-tags-10m.flv": empty_tags,
    "sparse-2.5gib.flv": sparse_huge,
    "largest-claim.flv": largest_claim,
    "largest-real-tags.flv": largest_real,
    "offset-0.flv": lambda p: offset(p, 0),
    "offset-5.flv": lambda p: offset(p, 5),
    "offset-max.flv": lambda p: offset(p, 0xFFFFFFFF),
    "lying-back-pointers.flv": lying_back_pointers,
}

if __name__ == "__main__":
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, make in FILES.items():
        make(os.path.join(folder, name))
        print(name)
