#!/usr/bin/env python3
"""Writes the files that ResourceWinTest.rc embeds in the resource test program:
resource_test.zip (a small skin: a document, an image in a folder, a resource index) and
logo.png (an image read through its resource type)."""
import struct
import sys
import zipfile
import zlib
from pathlib import Path


def png(width, height, rgba):
    """A truecolour-with-alpha PNG whose every pixel is `rgba`."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    row = b"\x00" + bytes(rgba) * width
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(row * height))
            + chunk(b"IEND", b""))


def main(out_dir):
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    document = ('<?xml version="1.0" encoding="utf-8" standalone="yes" ?>\r\n'
                '<Window size="700,420"><VerticalLayout name="verRoot" /></Window>\r\n')
    index = ('<?xml version="1.0" encoding="utf-8"?>\r\n'
             '<Resources><Image name="logo.png" file="Install uninstall\\table_bg_install_01.png" /></Resources>\r\n')
    fixed = (1980, 1, 1, 0, 0, 0)
    with zipfile.ZipFile(out / "resource_test.zip", "w") as z:
        for name, data, method in [
            ("KPMainFrame.xml", document.encode("utf-8"), zipfile.ZIP_DEFLATED),
            ("Install uninstall/table_bg_install_01.png", png(7, 4, (10, 20, 30, 255)), zipfile.ZIP_STORED),
            ("res.xml", index.encode("utf-8"), zipfile.ZIP_DEFLATED),
        ]:
            info = zipfile.ZipInfo(name, fixed)
            info.compress_type = method
            z.writestr(info, data)
    (out / "logo.png").write_bytes(png(3, 2, (255, 0, 0, 128)))


if __name__ == "__main__":
    main(sys.argv[1])
