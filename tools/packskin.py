#!/usr/bin/env python3
"""Packs the layout documents and the drawn images into the skin archive.

    packskin.py --documents pages/skin --images BUILD/skin/images --out BUILD/skin/skin.zip

Members: every *.xml of the documents folder at the archive's root, and every file under the
images folder with its relative path ("Install uninstall/table_bg_install_01.png"), "/" as the
separator. A member is deflated where that makes it smaller and stored as it is otherwise (the
PNGs are deflated already: a second pass only adds bytes, and reading a stored member costs no
inflating at start-up). All carry one fixed timestamp and are written in sorted order, so the same
inputs always give the same archive byte for byte.
"""
import argparse
import os
import sys
import zipfile
import zlib

FIXED_TIME = (2024, 1, 1, 0, 0, 0)


def collect(documents, images):
    """(member name, file path) pairs, sorted by member name."""
    members = {}
    for name in os.listdir(documents):
        if name.lower().endswith('.xml'):
            members[name] = os.path.join(documents, name)
    for folder, _, files in os.walk(images):
        for name in files:
            if name.endswith('.tmp'):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, images).replace(os.sep, '/')
            if rel in members:
                raise SystemExit('packskin: %s is both a document and an image' % rel)
            members[rel] = path
    return sorted(members.items())


def deflating_helps(data):
    """Whether the zip's deflate (level 9, raw) makes the data smaller."""
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return len(packer.compress(data) + packer.flush()) < len(data)


def pack(members, out):
    tmp = out + '.tmp'
    with zipfile.ZipFile(tmp, 'w') as archive:
        for name, path in members:
            info = zipfile.ZipInfo(name, FIXED_TIME)
            info.create_system = 0      # MS-DOS: no Unix owner or permission bits to vary
            with open(path, 'rb') as f:
                data = f.read()
            info.compress_type = zipfile.ZIP_DEFLATED if deflating_helps(data) else zipfile.ZIP_STORED
            archive.writestr(info, data, compresslevel=9)
    os.replace(tmp, out)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--documents', required=True)
    ap.add_argument('--images', required=True)
    ap.add_argument('--out', required=True)
    args = ap.parse_args(argv)
    members = collect(args.documents, args.images)
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    pack(members, args.out)
    print('packskin: %d members, %d bytes' % (len(members), os.path.getsize(args.out)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
