#!/usr/bin/env python3
"""Writes the golden recordings and what quolix-cli must make of them.

The record files are built byte by byte from the file layout (header string,
count, time/reading pairs, five CP932 strings, all little-endian), and the
expected `info --json` and `export` outputs are computed here, independently
of the C++ code under test. Run it from this folder; the outputs are
committed, so the build never runs it.
"""

import json
import struct

HEADER = b"Quolix V1.001"
SAMPLE_LIMIT = 2040
INTERVALS = [1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096]


def archive_string(data):
    if len(data) < 255:
        return bytes([len(data)]) + data
    if len(data) < 0xFFFE:
        return b"\xff" + struct.pack("<H", len(data)) + data
    return b"\xff\xff\xff" + struct.pack("<I", len(data)) + data


def record_file(samples, comments):
    out = archive_string(HEADER) + struct.pack("<i", len(samples))
    for time, reading in samples:
        out += struct.pack("<ii", time, reading)
    for comment in comments:
        out += archive_string(comment.encode("cp932"))
    return out


def interval(samples):
    last = samples[-1][0] if samples else 0
    for entry in INTERVALS:
        if entry * SAMPLE_LIMIT > last:
            return entry
    return -1


def info_json(samples, comments):
    obj = {
        "header": HEADER.decode(),
        "count": len(samples),
        "interval": interval(samples),
        "full": len(samples) >= SAMPLE_LIMIT and interval(samples) == -1,
        "samples": [[t, r] for t, r in samples],
        "comments": comments,
    }
    return json.dumps(obj, ensure_ascii=False) + "\n"


def export_csv(samples, hz_per_count):
    lines = ["time_s,reading,frequency_hz"]
    lines += ["%d,%d,%d" % (t, r, r * hz_per_count) for t, r in samples]
    return "\n".join(lines) + "\n"


def write(name, samples, comments, resolutions=(0,), outputs=True):
    with open(name + ".qlx", "wb") as f:
        f.write(record_file(samples, comments))
    if not outputs:
        return
    with open(name + ".json", "w", encoding="utf-8", newline="\n") as f:
        f.write(info_json(samples, comments))
    for resolution in resolutions:
        hz = {0: 100, 1: 10, 2: 1}[resolution]
        with open("%s.r%d.csv" % (name, resolution), "w", newline="\n") as f:
            f.write(export_csv(samples, hz))


NO_COMMENTS = [""] * 5

write("empty", [], NO_COMMENTS)
write("one-sample", [(0, 1234567)], NO_COMMENTS)
# A full store: the last time lies beyond every interval, so no interval fits
# any more; readings swing both ways around the first one.
write("full-2040",
      [(i * 4100, 10_000_000 + (i * 37) % 201 - 100) for i in range(SAMPLE_LIMIT)],
      ["2040 samples", "", "", "", ""])
write("cp932-comments",
      [(0, 99_998), (1, 100_003), (2, -5)],
      ["周波数の記録 テスト", "ｶﾀｶﾅ ①② ～", 'quote " back \\ tab\t.', "注釈4", "五"],
      resolutions=(0, 1, 2))
# For drawing: three samples at 0, 10 and 20 s, the last two 5 counts above
# the first, so the data line runs at half the frame's height above the centre.
write("step", [(0, 1_000_000), (10, 1_000_005), (20, 1_000_005)],
      ["step comment", "", "", "", ""], outputs=False)
