#!/usr/bin/env python3
"""Writes the golden recordings and what quolix-cli must make of them.

The record files are built byte by byte from the file layout (header string,
count, time/reading pairs, five CP932 strings, all little-endian), and the
expected `info --json` and `export` outputs are computed here, independently
of the C++ code under test. Run it from this folder; the outputs are
committed, so the build never runs it.
"""

import datetime
import json
import re
import struct
from fractions import Fraction

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


def start_of(comments):
    """The start comment 4 records, as (local ISO text, UTC datetime), or None."""
    m = re.fullmatch(r"QLX1 start=(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)( .*)?",
                     comments[3])
    if not m:
        return None
    moment = datetime.datetime.fromisoformat(m.group(1))
    return m.group(1), moment.astimezone(datetime.timezone.utc)


def count_hz_of(comments):
    m = re.match(r"QLX1 (?:\S+ )*?count=(100|10|1)Hz( |$)", comments[4])
    return int(m.group(1)) if m else None


def info_json(samples, comments):
    start = start_of(comments)
    obj = {
        "header": HEADER.decode(),
        "count": len(samples),
        "interval": interval(samples),
        "full": len(samples) >= SAMPLE_LIMIT and interval(samples) == -1,
        "samples": [[t, r] for t, r in samples],
        "comments": comments,
        "start": start[0] if start else None,
        "count_hz": count_hz_of(comments),
    }
    return json.dumps(obj, ensure_ascii=False) + "\n"


def export_table(samples, comments, hz_per_count, sep=","):
    start = start_of(comments)
    columns = ["time_s", "reading", "frequency_hz"] + (["utc"] if start else [])
    lines = [sep.join(columns)]
    for t, r in samples:
        row = [str(t), str(r), str(r * hz_per_count)]
        if start:
            moment = start[1] + datetime.timedelta(seconds=t)
            row.append(moment.strftime("%Y-%m-%dT%H:%M:%SZ"))
        lines.append(sep.join(row))
    return "\n".join(lines) + "\n"


def decimal(value, digits=15):
    """value rounded half away from zero to `digits` places."""
    scaled = abs(value) * 10**digits
    rounded = int(scaled + Fraction(1, 2))
    sign = "-" if value < 0 and rounded else ""
    return "%s%d.%0*d" % (sign, rounded // 10**digits, digits, rounded % 10**digits)


def export_two_columns(samples, hz_per_count, kind, nominal=None):
    reference = nominal if nominal else samples[0][1] * hz_per_count
    lines = []
    phase = Fraction(0)
    for i, (t, r) in enumerate(samples):
        y = Fraction(r * hz_per_count - reference, reference)
        if i:
            phase += y * (t - samples[i - 1][0])
        lines.append("%d %s" % (t, decimal(y if kind == "freq" else phase)))
    return "\n".join(lines) + "\n"


def write(name, samples, comments, resolutions=(0,), outputs=True):
    with open(name + ".qlx", "wb") as f:
        f.write(record_file(samples, comments))
    if not outputs:
        return
    with open(name + ".json", "w", encoding="utf-8", newline="\n") as f:
        f.write(info_json(samples, comments))
    for resolution in resolutions:
        # The recording's own unit wins over the settings'.
        hz = count_hz_of(comments) or {0: 100, 1: 10, 2: 1}[resolution]
        with open("%s.r%d.csv" % (name, resolution), "w", newline="\n") as f:
            f.write(export_table(samples, comments, hz))


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
# Recorded by the program: comments 4 and 5 say when it started and that a
# count is 1 Hz, so settings at 100 Hz must not change the frequencies.
STAMPED_COMMENTS = ["10 MHz OCXO", "", "",
                    "QLX1 start=2026-12-07T08:10:00+09:00",
                    "QLX1 count=1Hz port=COM1 device=/dev/ttyUSB0 by=quolix-cli 1.1"]
STAMPED = [(0, 10_000_000), (1, 10_000_001), (2, 10_000_001), (4, 9_999_998),
           (6, 10_000_003)]
write("stamped", STAMPED, STAMPED_COMMENTS)
with open("stamped.tsv", "w", newline="\n") as f:
    f.write("".join("# %s\n" % c if c else "#\n" for c in STAMPED_COMMENTS))
    f.write(export_table(STAMPED, STAMPED_COMMENTS, 1, "\t"))
with open("stamped.freq", "w", newline="\n") as f:
    f.write(export_two_columns(STAMPED, 1, "freq"))
with open("stamped.phase", "w", newline="\n") as f:
    f.write(export_two_columns(STAMPED, 1, "phase", nominal=10_000_000))
