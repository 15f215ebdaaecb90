#!/usr/bin/env python3
"""Draws every image of the installer's skin, and the program icon.

    skingen.py --images DIR [--icon FILE.ico] [--only SUBSTRING]

writes each image of catalogue.IMAGES (and its @1.25x, @1.5x, @1.75x and @2x variants where it
has them) under DIR with the archive's relative paths, plus scrollbar.bmp, and the program
icon when asked. Every PNG is as small as a lossless encoding makes it; a large opaque image is
stored with a 256-colour palette instead where that changes no pixel visibly (see
imagefiles.invisible), and each such choice is printed. An image that still takes more than
BAD_BITS_PER_PIXEL is reported as compressing badly. Files whose bytes would not change are left alone, so their timestamps keep
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


# Opaque images whose lossless PNG is at least this large are tried with a palette; below it the
# palette's own 768 bytes eat most of the gain.
PALETTE_FROM_BYTES = 16 * 1024
# The drawn images need under one bit a pixel (smooth gradients and flat shapes); noise, dithering
# or a photograph would need several, and would swell the exe.
BAD_BITS_PER_PIXEL = 2.0
BAD_FROM_BYTES = 8 * 1024


def _figures(attempt):
    return ('channels differ by %d at most, %.2f on average, %.2f over %d-pixel squares'
            % (attempt.max_difference, attempt.mean_difference, attempt.block_difference, imagefiles.BLOCK))


def encode_png(rel, rgba, say=print):
    """The bytes to store for one image: its lossless PNG, or its smallest palette PNG whose
    difference from it is invisible (imagefiles.invisible)."""
    data = imagefiles.png_bytes(rgba)
    if len(data) >= PALETTE_FROM_BYTES:
        tries = imagefiles.palette_tries(rgba)
        good = [t for t in tries if imagefiles.invisible(t) and len(t.data) < len(data)]
        if good:
            best = min(good, key=lambda t: len(t.data))
            say('skingen: %s with a palette (%s): %d -> %d bytes; %s'
                % (rel, best.method, len(data), len(best.data), _figures(best)))
            data = best.data
        elif tries:
            closest = min(tries, key=lambda t: t.mean_difference)
            say('skingen: %s stays lossless (%d bytes): its closest palette (%s) is visibly different: %s'
                % (rel, len(data), closest.method, _figures(closest)))
    bits = 8.0 * len(data) / (rgba.shape[0] * rgba.shape[1])
    if len(data) >= BAD_FROM_BYTES and bits > BAD_BITS_PER_PIXEL:
        say('skingen: warning: %s compresses badly: %d bytes, %.2f bits a pixel (the skin\'s images need '
            'under %.1f); it makes the exe larger than it should be' % (rel, len(data), bits, BAD_BITS_PER_PIXEL))
    return data


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
        write_if_changed(os.path.join(args.images, rel), encode_png(rel, render(image, factor)))
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
