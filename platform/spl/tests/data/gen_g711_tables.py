#!/usr/bin/python3
"""Writes g711_tables.csv: the G.711 mu-law and A-law bytes of every 16-bit
linear sample, and the 16-bit value each byte decodes to.

Source of every value: Python's audioop module (lin2ulaw, lin2alaw,
ulaw2lin, alaw2lin on 2-byte little-endian samples), as in Debian's python3.
Run from anywhere:

    /usr/bin/python3 platform/spl/tests/data/gen_g711_tables.py

The encoders are monotone step functions, so each is stored as runs:
"<law>,encode,<first sample of the run>,<byte>" holds for every sample from
the first of its run up to the first of the next run (the last run ends at
32767). "<law>,decode,<byte>,<linear value>" gives each of the 256 bytes.
"""
import csv
import os
import struct
import warnings

warnings.simplefilter("ignore", DeprecationWarning)
import audioop  # noqa: E402

rows = []
for law, encode, decode in (("mulaw", audioop.lin2ulaw, audioop.ulaw2lin),
                            ("alaw", audioop.lin2alaw, audioop.alaw2lin)):
    samples = struct.pack("<65536h", *range(-32768, 32768))
    codes = encode(samples, 2)
    previous = None
    for offset, byte in enumerate(codes):
        if byte != previous:
            rows.append([law, "encode", offset - 32768, byte])
            previous = byte
    linear = struct.unpack("<256h", decode(bytes(range(256)), 2))
    for byte, value in enumerate(linear):
        rows.append([law, "decode", byte, value])

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "g711_tables.csv")
with open(path, "w", newline="") as f:
    writer = csv.writer(f, lineterminator="\n")
    writer.writerow(["law", "kind", "key", "value"])
    writer.writerows(rows)
