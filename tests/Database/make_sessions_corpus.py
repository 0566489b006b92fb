#!/usr/bin/env python3
"""Writes the seed files of the session exchange file fuzz corpus.

Run from the source tree: python3 tests/Database/make_sessions_corpus.py
Seeds named good-* are whole exchange files; bad-* are damaged or hostile
ones that the reader must refuse.
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus-sessions")


def i32(v):
    return struct.pack("<i", v)


def f64(v):
    return struct.pack("<d", v)


def text(s):
    return i32(len(s)) + s


def record(serial=b"a0b1c2d3e4f5g6", data=b"0\n0\n0\n", version=0, trailer=0x1234, note=b"", person=b"Kari"):
    out = i32(version) + text(serial) + text(b"Guideline") + bytes([1]) + text(b"Hanne")
    out += f64(41.5) + f64(0.5) + text(b"2006-03-05") + text(b"Hanne") + i32(0) + text(b"09:00")
    out += i32(1) + i32(600) + f64(104.0) + text(b"09:17") + i32(2) + f64(50.0) + f64(0.0)
    out += i32(3) + i32(1) + i32(1) + text(note) + f64(2.5) + text(b"Ola") + text(person) + text(b"Adult")
    out += i32(1) + text(b"09:07") + f64(0) + f64(30) + f64(2) + f64(7) + f64(0.5) + f64(0)
    out += text(data) + i32(trailer)
    return out


def sessions(*records):
    return i32(len(records)) + b"".join(records)


SEEDS = {
    "good-one": sessions(record()),
    "good-two-with-data": sessions(record(), record(serial=b"0123456789abcd",
                                                     data=b"1\n5 0\n0\n1\n1 0 0 0 0 0\n")),
    "good-earlier-trailer-wrong": sessions(record(trailer=7), record(serial=b"0123456789abcd")),
    "good-trailing-bytes": sessions(record()) + b"\x00garbage",
    "bad-version": sessions(record(), record(serial=b"0123456789abcd", version=1)),
    "bad-cut": sessions(record(), record(serial=b"0123456789abcd"))[:-9],
    "bad-last-trailer": sessions(record(trailer=0x1235)),
    "bad-count-too-large": i32(5) + record(),
    "bad-negative-length": sessions(record())[:12] + i32(-3) + sessions(record())[16:],
    "bad-serial-path": sessions(record(serial=b"../../etc/passwd")),
    "bad-long-text": sessions(record(person=b"x" * 300)),
}


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
