#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpus.

Each seed is built byte by byte from the formats as they are described (the
record file's layout and string prefixes, the settings file's 31 lines, the
line file's terminator rules, the counter's reply rule), at their edges. Run
it from anywhere; it rewrites only the files named seed-* in corpus/<parser>/
and leaves what the fuzzer found alone. The outputs are committed.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
HEADER = b"Quolix V1.001"


def write(parser, name, data):
    folder = os.path.join(HERE, "corpus", parser)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


def clear_seeds(parser):
    folder = os.path.join(HERE, "corpus", parser)
    if os.path.isdir(folder):
        for name in os.listdir(folder):
            if name.startswith("seed-"):
                os.remove(os.path.join(folder, name))


# ---- record files ----------------------------------------------------------

def short(data):
    return bytes([len(data)]) + data


def prefix16(data):
    return b"\xff" + struct.pack("<H", len(data)) + data


def prefix32(data):
    return b"\xff\xff\xff" + struct.pack("<I", len(data)) + data


def text(data):
    """The shortest prefix, as a writer writes it."""
    if len(data) < 255:
        return short(data)
    if len(data) < 0xFFFE:
        return prefix16(data)
    return prefix32(data)


def record(samples, comments=(b"",) * 5, header=None, count=None):
    out = header if header is not None else text(HEADER)
    out += struct.pack("<i", len(samples) if count is None else count)
    for t, r in samples:
        out += struct.pack("<ii", t, r)
    for c in comments:
        out += text(c)
    return out


def record_seeds():
    p = "record-file"
    clear_seeds(p)
    write(p, "empty.qlx", record([]))
    write(p, "one-sample.qlx", record([(0, 1234567)]))
    write(p, "negative.qlx", record([(-5, -1234567), (-2**31, 2**31 - 1)]))
    write(p, "2040-samples.qlx",
          record([(i * 4100, 10_000_000 + (i * 37) % 201 - 100) for i in range(2040)],
                 (b"2040 samples", b"", b"", b"", b"")))
    write(p, "2100-samples.qlx",
          record([(i, 1000 + i) for i in range(2100)], (b"2100",) + (b"",) * 4))
    cp932 = ["周波数の記録 テスト", "ｶﾀｶﾅ ①② ～", "注釈3", "注釈4", "五"]
    write(p, "cp932-comments.qlx",
          record([(0, 99_998), (1, 100_003), (2, -5)], [c.encode("cp932") for c in cp932]))
    # Every prefix form: one byte (254 is its longest), 0xFF and 16 bits (255
    # and 65533), 0xFF 0xFFFF and 32 bits (65534), and the 16-bit value
    # 0xFFFE, which no writer produces.
    body = struct.pack("<i", 1) + struct.pack("<ii", 7, 8)
    write(p, "prefix-1-byte.qlx",
          text(HEADER) + body + short(b"a" * 254) + short(b"") * 4)
    write(p, "prefix-16-bit.qlx",
          text(HEADER) + body + prefix16(b"b" * 255) + short(b"c") * 4)
    write(p, "prefix-16-bit-longest.qlx",
          text(HEADER) + body + short(b"") * 4 + prefix16(b"d" * 65533))
    write(p, "prefix-32-bit.qlx",
          text(HEADER) + body + short(b"") * 4 + prefix32(b"e" * 65534))
    write(p, "prefix-fffe.qlx",
          text(HEADER) + body + short(b"") * 4 + b"\xff\xfe\xff" + b"f" * 65534)
    # Longer prefixes than needed are still read: the header and comments
    # written with the 16- and 32-bit forms.
    write(p, "prefix-wide-short-texts.qlx",
          prefix16(HEADER) + body + prefix32(b"x") + prefix16(b"") + short(b"y") * 3)
    # Refused files: another program's, another version, a count out of range,
    # cut short in every part, and hostile lengths.
    write(p, "foreign.qlx", b"\x0dNotQuolix!!!!" + body)
    write(p, "other-version.qlx", record([], header=text(b"Quolix V1.002")))
    write(p, "count-negative.qlx", record([], count=-1))
    write(p, "count-2101.qlx", record([(i, i) for i in range(2101)]))
    whole = record([(1, 2), (3, 4)], (b"one", b"two", b"", b"", b"five"))
    for cut in (0, 1, 9, 14, 16, 22, len(whole) - 6, len(whole) - 1):
        write(p, "cut-at-%d.qlx" % cut, whole[:cut])
    write(p, "hostile-16-bit.qlx", text(HEADER) + struct.pack("<i", 0) + b"\xff\xfd\xff")
    write(p, "hostile-32-bit.qlx",
          text(HEADER) + struct.pack("<i", 0) + b"\xff\xff\xff\xff\xff\xff\xff")
    write(p, "trailing-bytes.qlx", record([(1, 1)]) + b"after the fifth comment")


# ---- settings files ---------------------------------------------------------

DEFAULT_LINES = [
    b"Quolix V1.001",
    b"0", b"2", b"0", b"0", b"0", b"0", b"0", b"1", b"0", b"0",
    b"Quolix Frequency Counter", b"( Frequency Data Logger )",
    b"default data", b"default data", b"default data",
    b"0", b"0", b"0", b"0", b"0",
    b"44", b"44", b"700", b"550", b"0",
    b"0", b"0", b"0", b"0", b"0",
]
TITLE = 11  # index of the first title line in DEFAULT_LINES


def settings(lines, terminators=None):
    terminators = terminators or [b"\r\n"] * len(lines)
    return b"".join(line + end for line, end in zip(lines, terminators))


def with_line(index, value, lines=None):
    lines = list(lines or DEFAULT_LINES)
    lines[index] = value
    return lines


def settings_seeds():
    p = "settings"
    clear_seeds(p)
    write(p, "defaults.ini", settings(DEFAULT_LINES))
    values = with_line(1, b"255")
    values = with_line(3, b"-5", values)
    values = with_line(17, b"2", values)
    values = with_line(25, b"3", values)
    values = with_line(TITLE, "周波数カウンタ".encode("cp932"), values)
    values = with_line(TITLE + 1, "（ 記録 ）".encode("cp932"), values)
    write(p, "cp932-titles.ini", settings(values))
    write(p, "empty.ini", b"")
    # The terminator rules of the line file: a lone CR or LF ends a line when
    # TAB or a byte from 0x21 to 0x7F follows, FF always ends one, and
    # anything else keeps the CR or LF inside the line.
    n = len(DEFAULT_LINES)
    write(p, "lone-cr.ini", settings(DEFAULT_LINES, [b"\r"] * (n - 1) + [b"\r\n"]))
    write(p, "lone-lf.ini", settings(DEFAULT_LINES, [b"\n"] * (n - 1) + [b"\r\n"]))
    write(p, "form-feed.ini", settings(DEFAULT_LINES, [b"\x0c"] * n))
    # A lone terminator as the very last byte stays in the line, which then
    # fails: these files end with CR LF.
    write(p, "lf-then-tab.ini",
          settings(with_line(TITLE, b"\ttab title"), [b"\n"] * (n - 1) + [b"\r\n"]))
    write(p, "cr-then-blank-stays.ini",
          settings(with_line(TITLE, b"a\r b")))
    write(p, "cr-then-lead-byte-stays.ini",
          settings(with_line(TITLE, b"a\r" + "周".encode("cp932"))))
    # In LF CR LF the LF belongs to the line: numbers still read, the header
    # would not.
    write(p, "lf-cr-lf.ini", settings(DEFAULT_LINES, [b"\r\n"] + [b"\n\r\n"] * (n - 1)))
    write(p, "no-last-terminator.ini", settings(DEFAULT_LINES)[:-2])
    write(p, "last-byte-cr.ini", settings(DEFAULT_LINES)[:-1])
    write(p, "ctrl-z.ini", settings(DEFAULT_LINES[:20]) + b"\x1a" + settings(DEFAULT_LINES[20:]))
    write(p, "nul-in-title.ini", settings(with_line(TITLE, b"before\x00after")))
    write(p, "title-256.ini", settings(with_line(TITLE, b"t" * 256)))
    write(p, "title-300.ini", settings(with_line(TITLE, b"u" * 300)))
    write(p, "number-300.ini", settings(with_line(2, b"7" * 300)))
    write(p, "number-text.ini", settings(with_line(2, b"abc")))
    write(p, "number-limits.ini",
          settings(with_line(1, b"99999999999", with_line(3, b"-2147483649"))))
    write(p, "empty-title.ini", settings(with_line(TITLE, b"")))
    write(p, "header-case.ini", settings(with_line(0, b"quolix V1.001")))
    write(p, "ends-after-20.ini", settings(DEFAULT_LINES[:20]))
    write(p, "extra-lines.ini", settings(DEFAULT_LINES + [b"more", b"lines"]))


# ---- counter replies ----------------------------------------------------------

def replies_seeds():
    p = "replies"
    clear_seeds(p)
    cases = {
        "cr": b"01234567\r",
        "cr-lf": b"01234567\r\n",
        "seven": b"0123456\r",
        "nine": b"012345678\r",
        "signs-and-blanks": b" 1234567\r-0001234\r+1234567\r   -1234\r",
        "point": b"1234.567\r",
        "letters": b"ABCDEFGH\x00",
        "high-byte": b"1234567\xb0\r",
        "limits": b"99999999\r\n-9999999\r\n",
        "two-replies": b"00000001\r\n00000002\r\n",
        "short-runs": b"0123\r4567\r",
        "tab": b"01234567\t",
        "no-terminator": b"01234567",
        "overlong": b"7" * 2000 + b"\r01234567\r",
        "drain-and-more": (b"00012345\r\n" * 150),
    }
    for name, data in cases.items():
        write(p, name, data)


record_seeds()
settings_seeds()
replies_seeds()
