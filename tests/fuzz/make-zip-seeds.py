#!/usr/bin/env python3
"""Writes the ZIP reader's seeds into corpus/zip_reader: small real kits (python's zipfile, stored and
deflated, one written to a pipe so its entries carry data descriptors) and small bad kits (names that
escape, truncation, a CRC mismatch, an unsupported method, an entry that inflates past its claim)."""
import io
import os
import struct
import zlib
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "zip_reader")

FILES = [
    ("firebird.conf", b"RemoteServicePort = 3050\r\n#DefaultDbCachePages = 2048\r\n" * 8),
    ("bin/instsvc.exe", bytes(range(256)) * 3),
    ("doc/", b""),
    ("empty.txt", b""),
]


def real_kit(method):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", method) as z:
        for name, data in FILES:
            z.writestr(name, data)
    return out.getvalue()


class Pipe(io.RawIOBase):
    """Not seekable, so zipfile writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def descriptor_kit():
    pipe = Pipe()
    with zipfile.ZipFile(pipe, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in FILES:
            if not name.endswith("/"):
                with z.open(name, "w") as f:
                    f.write(data)
    return bytes(pipe.data)


def raw_kit(entries):
    """entries: (name bytes, data, method, crc or None, declared size or None, flags)."""
    body, central = bytearray(), bytearray()
    for name, data, method, crc, size, flags in entries:
        packed = data
        if method == 8:
            c = zlib.compressobj(9, zlib.DEFLATED, -15)
            packed = c.compress(data) + c.flush()
        crc = zlib.crc32(data) if crc is None else crc
        size = len(data) if size is None else size
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0x21, crc, len(packed), size,
                            len(name), 0) + name + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, 0, 0x21, crc, len(packed),
                               size, len(name), 0, 0, 0, 0, 0, offset) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central), len(body), 0)
    return bytes(body + central + end)


def one(name, data=b"evil", method=0, crc=None, size=None, flags=0):
    return raw_kit([(name, data, method, crc, size, flags)])


def main():
    os.makedirs(OUT, exist_ok=True)
    good = real_kit(zipfile.ZIP_DEFLATED)
    seeds = {
        "kit-stored.zip": real_kit(zipfile.ZIP_STORED),
        "kit-deflated.zip": good,
        "kit-descriptors.zip": descriptor_kit(),
        "name-utf8.zip": one("mappa/árvíztűrő.txt".encode(), flags=0x800),
        "name-cp437.zip": one(b"\x82kezet.txt"),
        "bad-dotdot-backslash.zip": one(b"..\\..\\evil.txt"),
        "bad-dotdot-slash.zip": one(b"../x"),
        "bad-absolute-slash.zip": one(b"/etc/x"),
        "bad-absolute-backslash.zip": one(b"\\x"),
        "bad-drive.zip": one(b"C:\\x"),
        "bad-drive-relative.zip": one(b"C:x"),
        "bad-truncated.zip": good[: len(good) // 2],
        "bad-crc.zip": one(b"a.txt", b"hello", crc=0x12345678),
        "bad-method.zip": one(b"a.txt", b"hello", method=12),
        "bad-encrypted.zip": one(b"a.txt", b"hello", flags=1),
        "bad-bomb.zip": one(b"zeros.bin", bytes(100000), method=8, size=100),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
