#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the hand-made part of the fuzzer's seed corpus into seeds/ (the ffmpeg-made test
fixtures are the other part). Each file aims at one corner of the container the real files never
reach. Run it again after changing it and commit what it wrote."""
import pathlib
import struct

SEEDS = pathlib.Path(__file__).resolve().parent / "seeds"


def header(offset=9, signature=b"FLV", version=1, flags=5):
    head = signature + bytes([version, flags]) + struct.pack(">I", offset)
    return head + b"\xee" * max(0, offset - len(head)) if offset < 64 else head


def tag(kind, data, claimed=None, back=None):
    size = len(data) if claimed is None else claimed
    body = bytes([kind]) + size.to_bytes(3, "big") + b"\x00" * 7 + data
    return body + struct.pack(">I", 11 + len(data) if back is None else back)


def start(offset=9):
    return header(offset) + b"\x00\x00\x00\x00"


def audio(first, payload):
    return tag(8, bytes([first]) + payload)


PAYLOAD = bytes(range(40))

seeds = {
    "mixed": start() + tag(18, b"\x02" * 30) + audio(0x2F, PAYLOAD) + tag(9, b"\x17" * 20)
    + audio(0x2E, PAYLOAD[:7]) + tag(0x28, b"?" * 9) + audio(0xAF, PAYLOAD[:3]),
    "empty-tags": start() + tag(8, b"") * 4 + tag(9, b"") * 4 + tag(18, b"") * 4
    + audio(0x2F, PAYLOAD),
    "huge-claim": start() + audio(0x2F, PAYLOAD) + tag(8, b"\x2f" + PAYLOAD, claimed=0xFFFFFF),
    "aac-first": start() + audio(0xAF, PAYLOAD) + audio(0x2F, PAYLOAD),
    "offset-0": header(0) + audio(0x2F, PAYLOAD),
    "offset-5": header(5) + audio(0x2F, PAYLOAD),
    "offset-max": header(0xFFFFFFFF) + b"\x00" * 4 + audio(0x2F, PAYLOAD),
    "lying-back-pointers": start() + audio(0x2F, PAYLOAD) * 3
    + tag(8, b"\x2f" + PAYLOAD, back=0xFFFFFFFF) + tag(9, b"\x00" * 5, back=0),
    "cut-in-header": start() + audio(0x2F, PAYLOAD) + b"\x08\x00\x00\x32\x00\x00",
    "cut-in-data": start() + audio(0x2F, PAYLOAD) + tag(8, b"\x2f" + PAYLOAD, claimed=500),
    "one-byte-audio": start() + audio(0x2F, b"") * 3 + audio(0x2F, PAYLOAD[:5]),
    "short-header": b"FLV\x01\x05\x00\x00",
}

SEEDS.mkdir(exist_ok=True)
for name, content in seeds.items():
    (SEEDS / f"{name}.flv").write_bytes(content)
