#!/usr/bin/env python3
"""Draws every image of the installer's skin, and the program icon.

    skingen.py --images DIR [--icon FILE.ico] [--only SUBSTRING]

writes each image of catalogue.IMAGES (and its @1.25x, @1.5x, @1.75x and @2x variants where it
has them) under DIR with the archive's relative paths, plus scrollbar.bmp, and the program
icon when asked. Files whose bytes would not change are left alone, so their timestamps keep
later build steps from rerunning. Output is deterministic: the same sources always give the
same bytes.
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_extras  # noqa: E402
import catalogue  # noqa: E402
import imagefiles  # noqa: E402
from raster import Canvas  # noqa: E402


def render(image, factor):
    c = Canvas(image.width, image.height, factor)
    image.draw(c)
    return c.rgba8()


def planned_files():
    """(relative path, image, factor) for every PNG file of the skin."""
    for image in catalogue.IMAGES:
        yield image.path, image, 1.0
        if image.variants:
            for factor in catalogue.FACTORS:
                yield catalogue.variant_path(image.path, factor), image, factor


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return False
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)
    return True


def remove_unplanned(folder):
    """Deletes files that an earlier run drew but the catalogue no longer has, so that the
    archive packed from the folder holds exactly the planned images."""
    planned = {os.path.normpath(rel) for rel, _, _ in planned_files()}
    planned.add(catalogue.SCROLLBAR_BMP)
    for root, _, files in os.walk(folder):
        for name in files:
            rel = os.path.normpath(os.path.relpath(os.path.join(root, name), folder))
            if rel not in planned:
                os.remove(os.path.join(root, name))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--images', required=True, help='folder that receives the skin images')
    ap.add_argument('--icon', help='where to write the program icon (.ico)')
    ap.add_argument('--only', help='draw only files whose path contains this text')
    args = ap.parse_args(argv)

    started = time.monotonic()
    count = 0
    for rel, image, factor in planned_files():
        if args.only and args.only not in rel:
            continue
        write_if_changed(os.path.join(args.images, rel), imagefiles.png_bytes(render(image, factor)))
        count += 1
    if not args.only or args.only in catalogue.SCROLLBAR_BMP:
        write_if_changed(os.path.join(args.images, catalogue.SCROLLBAR_BMP),
                         imagefiles.bmp_bytes(art_extras.scrollbar_bmp_pixels()))
        count += 1
    if not args.only:
        remove_unplanned(args.images)
    if args.icon:
        icons = [art_extras.program_icon_pixels(s) for s in art_extras.ICON_SIZES]
        write_if_changed(os.path.abspath(args.icon), imagefiles.ico_bytes(icons))
    print('skingen: %d images in %.1f s' % (count, time.monotonic() - started))
    return 0


if __name__ == '__main__':
    sys.exit(main())
