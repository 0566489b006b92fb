#!/usr/bin/env python3
"""Writes the seed files of the .mo reader's fuzz corpus (tests/gettext/corpus).

    python3 tests/gettext/make_corpus.py

"good-*" files are sound catalogues the reader must accept, "bad-*" files are
damaged or hostile ones it must refuse; the replay test checks both.
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")

ENTRIES = [
    (b"", b"Content-Type: text/plain; charset=CP1252\n"),
    (b"Cancel", b"Abbrechen"),
    (b"Close", b"Schlie\xdfen"),
    (b"Open", b"\xd6ffnen"),
]


def hashpjw(text):
    h = 0
    for c in text:
        h = ((h << 4) + c) & 0xFFFFFFFF
        g = h & 0xF0000000
        if g:
            h ^= (g >> 24) ^ g
    return h


def build(entries, hash_size=7, order="<"):
    """A catalogue laid out like msgfmt's: header, both tables, hash, strings."""
    n = len(entries)
    o = 28
    t = o + 8 * n
    h = t + 8 * n
    strings_at = h + 4 * hash_size
    blob = b""
    src, dst = [], []
    for key, _ in entries:
        src.append((len(key), strings_at + len(blob)))
        blob += key + b"\0"
    for _, value in entries:
        dst.append((len(value), strings_at + len(blob)))
        blob += value + b"\0"
    table = [0] * hash_size
    if hash_size > 2:
        for i, (key, _) in enumerate(entries):
            v = hashpjw(key)
            idx = v % hash_size
            inc = 1 + v % (hash_size - 2)
            while table[idx]:
                idx = (idx + inc) % hash_size
            table[idx] = i + 1
    w = lambda *v: struct.pack(order + "%dI" % len(v), *v)
    out = w(0x950412DE, 0, n, o, t, hash_size, h)
    for length, offset in src + dst:
        out += w(length, offset)
    out += w(*table) if hash_size else b""
    return bytearray(out + blob)


def put(image, offset, value, order="<"):
    image[offset:offset + 4] = struct.pack(order + "I", value)


def main():
    os.makedirs(HERE, exist_ok=True)
    seeds = {}
    seeds["good-little-endian.mo"] = build(ENTRIES)
    seeds["good-big-endian.mo"] = build(ENTRIES, order=">")
    seeds["good-no-hash.mo"] = build(ENTRIES, hash_size=0)

    good = build(ENTRIES)
    seeds["bad-truncated.mo"] = good[: len(good) - 5]
    seeds["bad-header-only.mo"] = good[:28]

    past = bytearray(good)
    put(past, 12, len(good) + 100)  # the source table lies beyond the end
    seeds["bad-table-past-end.mo"] = past

    past = bytearray(good)
    put(past, 28 + 8 * 3 + 4, 0xFFFFFFF0)  # a source string beyond the end
    seeds["bad-string-past-end.mo"] = past

    past = bytearray(good)
    put(past, 8, 0x20000000)  # a string count whose tables wrap 32 bits
    seeds["bad-huge-count.mo"] = past

    full = build(ENTRIES, hash_size=4)
    put(full, 28 + 16 * 4, 1)
    put(full, 28 + 16 * 4 + 4, 2)
    put(full, 28 + 16 * 4 + 8, 3)
    put(full, 28 + 16 * 4 + 12, 4)
    seeds["bad-full-hash.mo"] = full

    wrong = build(ENTRIES)
    put(wrong, 28 + 16 * 4, 99)  # a hash entry names no string
    seeds["bad-hash-entry.mo"] = wrong

    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(bytes(data))


if __name__ == "__main__":
    main()
