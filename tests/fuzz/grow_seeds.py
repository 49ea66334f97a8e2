#!/usr/bin/env python3
"""Writes large inputs grown from a fuzz target's small seeds.

libFuzzer lengthens inputs a few bytes at a time, so in ten minutes it never gets near the
size of a file a user may pick. These seeds start it there: each seed is grown to just under
and just over the limit, in the shapes that stress a line-based reader differently:

  repeat    the whole seed again and again (many sections and keys, mostly duplicates)
  longline  the seed's longest line stretched by repeating its value (one huge list)
  brackets  the seed followed by lines of a lone '[' (section headers that never close)

    grow_seeds.py SEED_DIR OUT_DIR LIMIT
"""

import pathlib
import sys


def fill(unit: bytes, size: int) -> bytes:
    if not unit:
        unit = b"\n"
    return (unit * (size // len(unit) + 1))[:size]


def repeat(seed: bytes, size: int) -> bytes:
    if not seed.endswith(b"\n"):
        seed += b"\n"
    return fill(seed, size)


def longline(seed: bytes, size: int) -> bytes:
    lines = seed.split(b"\n")
    at = max(range(len(lines)), key=lambda i: len(lines[i]))
    line = lines[at]
    key, sep, value = line.partition(b"=")
    if not sep:
        key, value = b"", line
    # A list keeps its shape ("a, b, c" grows into more elements) when the value repeats
    # with its separator; anything else simply repeats.
    unit = (value + b", ") if value else b"0, "
    rest = b"\n".join(lines[:at] + lines[at + 1:])
    room = max(size - len(rest) - len(key) - len(sep) - 1, 1)
    lines[at] = key + sep + fill(unit, room)
    return b"\n".join(lines)[:size]


def brackets(seed: bytes, size: int) -> bytes:
    if not seed.endswith(b"\n"):
        seed += b"\n"
    return seed + fill(b"[\n", max(size - len(seed), 0))


def main() -> int:
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    seeds, out, limit = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), int(sys.argv[3])
    out.mkdir(parents=True, exist_ok=True)
    for seed in sorted(p for p in seeds.iterdir() if p.is_file()):
        data = seed.read_bytes()
        for shape in (repeat, longline, brackets):
            for size, side in ((limit, "at"), (limit + 1, "over")):
                (out / f"{seed.name}.{shape.__name__}-{side}").write_bytes(shape(data, size))
    return 0


if __name__ == "__main__":
    sys.exit(main())
