#!/usr/bin/python3
"""Independent peers for the signal file tests: sox, scipy and numpy.

  signal_file_oracle.py wav DIR     sox makes WAV files of every kind in DIR; for each
                                    it prints "name channels rate bits length" and
                                    writes DIR/name.f64, the samples a reader must give
                                    (integer units; floats as stored), decoded by
                                    scipy.io.wavfile or by sox.
  signal_file_oracle.py records DIR numpy builds .dat, .bin and .dbn files in DIR; for
                                    each record it prints "file record count rate
                                    channels precision" and writes DIR/file.R.f64.
  signal_file_oracle.py parse FILE  reads a file the writer made and prints what it
                                    holds: "record count duration|rate channels" lines
                                    and FILE.R.f64 (binary and text formats), or the
                                    soxi fields, the chunk list and FILE.f64 (WAV).
Every binary number is little-endian.
"""
import os
import struct
import subprocess
import sys

import numpy as np
import scipy.io.wavfile


def sox(*args):
    subprocess.run(["sox", *args], check=True, capture_output=True)


def sox_s16(path):
    out = subprocess.run(["sox", path, "-t", "s16", "-"], check=True, capture_output=True).stdout
    return np.frombuffer(out, dtype="<i2").astype(np.float64)


def chunks(path):
    """The top-level chunks of a RIFF file: (id, size, offset of the data)."""
    data = open(path, "rb").read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", path
    pos, found = 12, []
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4].decode("latin-1"), struct.unpack_from("<I", data, pos + 4)[0]
        found.append((cid, size, pos + 8))
        pos += 8 + size + (size & 1)
    return data, found


def wav_header(path):
    data, found = chunks(path)
    fmt = next(c for c in found if c[0] == "fmt ")
    dat = next(c for c in found if c[0] == "data")
    tag, ch, rate, avg, align, bits = struct.unpack_from("<HHIIHH", data, fmt[2])
    return tag, ch, rate, avg, align, bits, dat[1]


def make_wav(folder):
    kinds = [
        # name, sox options, decoder
        ("s16_stereo", ["-r", "44100", "-c", "2", "-b", "16"], "scipy"),
        ("u8", ["-r", "8000", "-c", "1", "-b", "8"], "scipy"),
        ("s24_ext", ["-r", "48000", "-c", "2", "-b", "24"], "scipy"),
        ("f32", ["-r", "8000", "-c", "1", "-e", "floating-point", "-b", "32"], "scipy"),
        ("s32", ["-r", "8000", "-c", "1", "-b", "32"], "scipy"),
        ("ima", ["-r", "8000", "-c", "1", "-e", "ima-adpcm"], "sox"),
        ("ima_stereo", ["-r", "22050", "-c", "2", "-e", "ima-adpcm"], "sox"),
        ("ms_adpcm", ["-r", "8000", "-c", "1", "-e", "ms-adpcm"], "sox"),
        ("ulaw", ["-r", "8000", "-c", "1", "-e", "u-law"], "sox"),
        ("alaw", ["-r", "8000", "-c", "2", "-e", "a-law"], "sox"),
        ("gsm", ["-r", "8000", "-c", "1", "-e", "gsm-full-rate"], "sox"),
    ]
    for name, options, decoder in kinds:
        path = os.path.join(folder, name + ".wav")
        sox("-n", *options, path, "synth", "0.1", "sine", "440", "sine", "1234", "vol", "0.8")
        tag, ch, rate, avg, align, bits, size = wav_header(path)
        if decoder == "scipy":
            _, samples = scipy.io.wavfile.read(path)
            samples = samples.astype(np.float64)
            if bits == 8:
                samples -= 128
            if bits == 24:
                samples /= 256  # scipy returns 24-bit samples left-justified in 32 bits
        else:
            samples = sox_s16(path)
        out_bits = bits if decoder == "scipy" else 16
        # The length of a record: from the byte rate, padding of the last block included.
        length = round(rate * (size / avg))
        samples.reshape(-1).astype("<f8").tofile(os.path.join(folder, name + ".f64"))
        print(name, ch, rate, out_bits, length)


def make_records(folder):
    rng = np.random.default_rng(20240611)
    # .dat: three records; the header is packed (a double at offset 4), as the format lays it out.
    header = np.dtype([("count", "<i4"), ("fs", "<f8"), ("precision", "<i4"), ("complex", "<i4"),
                       ("channels", "<i4")])
    assert header.itemsize == 24
    records = [
        (rng.standard_normal(2 * 300), 1000.0, 0, 2, "<f8"),
        (rng.integers(-32768, 32768, 257).astype(np.float64), 8000.0, 4, 1, "<i2"),
        (np.round(rng.standard_normal(3 * 100) * 1000) / 1000, 44100.0, 1, 3, "<f4"),
    ]
    with open(os.path.join(folder, "numpy.dat"), "wb") as f:
        for r, (values, fs, precision, channels, dtype) in enumerate(records):
            h = np.zeros(1, header)
            h["count"], h["fs"], h["precision"], h["complex"], h["channels"] = len(values), fs, precision, 0, channels
            f.write(h.tobytes())
            f.write(values.astype(dtype).tobytes())
            values.astype(dtype).astype("<f8").tofile(os.path.join(folder, "numpy.dat.%d.f64" % r))
            print("numpy.dat", r, len(values), fs, channels, precision)
    for ext, ftype, dtype, counts in ((".bin", "<f4", 1, (5, 1000, 0, 17)), (".dbn", "<f8", 0, (3, 4097, 1))):
        name = "numpy" + ext
        with open(os.path.join(folder, name), "wb") as f:
            for r, count in enumerate(counts):
                values = rng.standard_normal(count)
                duration = count / 250.0 if count else 0.0
                f.write(struct.pack("<i", count))
                f.write(np.array([duration], ftype).tobytes())
                f.write(values.astype(ftype).tobytes())
                values.astype(ftype).astype("<f8").tofile(os.path.join(folder, "%s.%d.f64" % (name, r)))
                print(name, r, count, 250.0 if count else 0.0, 1, dtype)


def parse_binary(path, ext):
    data = open(path, "rb").read()
    pos, r = 0, 0
    while pos < len(data):
        if ext == ".dat":
            count, fs, precision, complex_, channels = struct.unpack_from("<idiii", data, pos)
            dtype = {0: "<f8", 1: "<f4", 2: "<i4", 4: "<i2", 7: "<u1"}[precision]
            pos += 24
            values = np.frombuffer(data, dtype, count * (2 if complex_ else 1), pos)
            pos += values.nbytes
            print(r, count, "%.17g" % fs, channels, precision, complex_)
        else:
            count = struct.unpack_from("<i", data, pos)[0]
            ftype = "<f4" if ext == ".bin" else "<f8"
            duration = np.frombuffer(data, ftype, 1, pos + 4)[0]
            pos += 4 + np.dtype(ftype).itemsize
            values = np.frombuffer(data, ftype, count, pos)
            pos += values.nbytes
            print(r, count, "%.17g" % duration, 1)
        values.astype("<f8").tofile("%s.%d.f64" % (path, r))
        r += 1


def parse(path):
    ext = os.path.splitext(path)[1].lower()
    if ext in (".dat", ".bin", ".dbn"):
        parse_binary(path, ext)
    elif ext == ".sfs":
        raw = open(path, "rb").read()
        assert b"\n" not in raw.replace(b"\r\n", b""), "every line ends in CR LF"
        lines = raw.decode().split("\r\n")
        values = np.loadtxt(path, skiprows=3, ndmin=1)
        print(0, lines[0], lines[1], 1)
        values.astype("<f8").tofile(path + ".0.f64")
    elif ext == ".asc":
        raw = open(path, "rb").read()
        assert b"\n" not in raw.replace(b"\r\n", b""), "every line ends in CR LF"
        table = np.loadtxt(path, delimiter="\t", ndmin=2)
        print(0, len(table), "%.17g" % (1 / (table[1, 0] - table[0, 0])), 1)
        table[:, 0].astype("<f8").tofile(path + ".times.f64")
        table[:, 1].astype("<f8").tofile(path + ".0.f64")
    elif ext == ".wav":
        soxi = {}
        for flag in ("c", "r", "b", "s", "e"):
            soxi[flag] = subprocess.run(["soxi", "-" + flag, path], check=True, capture_output=True,
                                        text=True).stdout.strip()
        print("soxi", soxi["c"], soxi["r"], soxi["b"], soxi["s"], soxi["e"].replace(" ", "_"))
        data, found = chunks(path)
        print("chunks", " ".join("%s:%d" % (c[0].replace(" ", "_"), c[1]) for c in found))
        last = found[-1]
        if last[0] == "LIST":
            print("list", data[last[2]:last[2] + 4].decode("latin-1"))
        _, samples = scipy.io.wavfile.read(path)
        samples = samples.astype(np.float64)
        if soxi["b"] == "8":
            samples -= 128
        if soxi["b"] == "24":
            samples /= 256
        samples.reshape(-1).astype("<f8").tofile(path + ".f64")
    else:
        raise SystemExit("unknown kind: " + path)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    command, target = sys.argv[1], sys.argv[2]
    {"wav": make_wav, "records": make_records, "parse": parse}[command](target)


if __name__ == "__main__":
    main()
