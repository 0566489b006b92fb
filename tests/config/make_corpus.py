#!/usr/bin/env python3
"""Writes the seed files of the configuration fuzz corpus.

Run from the source tree: python3 tests/config/make_corpus.py
Seeds named good-* are whole settings files; bad-* are damaged ones that
the reader must refuse.
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def i32(v):
    return struct.pack("<i", v)


def f64(v):
    return struct.pack("<d", v)


def b(v):
    return bytes([v])


def text(s):
    return i32(len(s)) + s


def wide(s):
    units = s.encode("utf-16-le")
    return i32(len(units)) + units


def settings(heading="", flags=1, depth=(30.0, 52.0)):
    out = b(flags) + f64(100.0)
    out += b(flags) + b(0) + b(flags) * 5
    out += f64(1.5) + f64(6.0) + b(flags) + b(flags)
    out += f64(0.03) + f64(0.01) + f64(1.4) + f64(6.0)
    out += b(flags) * 4 + i32(9)
    out += b(flags) * 3 + b(0)
    out += f64(depth[0]) + f64(depth[1])
    out += wide(heading)
    out += b(flags) + i32(5) + b(flags) * 3
    return out


def controller(icons=(0, 1, 2, 3, 4, 5), languages=(b"en", b"de", b"fr"), legends=(b"",) * 6):
    out = text(b"AHA 2005") + text(b"ERC 2005")
    out += i32(len(icons)) + b"".join(i32(i) for i in icons)
    out += i32(len(languages)) + b"".join(text(s) for s in languages)
    out += i32(len(legends)) + b"".join(text(s) for s in legends)
    return out + b(1) + b(0)


def main():
    default = i32(1) + settings() + controller() + i32(0x1234)
    seeds = {
        "good-default": default,
        "good-version0": i32(0) + settings() + i32(0x1234),
        "good-unusual": i32(1)
        + settings("Course\r\nRoom \u65e5 \U0001F600", flags=0, depth=(-0.0, 99.5))
        + controller((96, 0, 12, 3, 40, 5), (b"ko", b"ru", b"en"),
                     (b"Drugs", b"Shock", b"\xe9", b"", b"Airway", b"IV"))
        + i32(0x1234),
        "bad-cut": default[:150],
        "bad-version2": i32(2) + default[4:],
        "bad-trailer": default[:-4] + i32(0x1235),
        "bad-seven-icons": i32(1) + settings() + controller(icons=tuple(range(7))) + i32(0x1234),
        "bad-negative-length": i32(1) + settings() + i32(-8) + default[110:],
    }
    os.makedirs(HERE, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(HERE, name + ".cprcfg"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
