#!/usr/bin/env python3
"""Draws every image of the installer's skin, and the program icon.

    skingen.py --images DIR [--icon FILE.ico] [--only SUBSTRING] [--png-cache DIR] [--jobs N]

writes each image of catalogue.IMAGES (and its @1.25x, @1.5x, @1.75x and @2x variants where it
has them) under DIR with the archive's relative paths, plus scrollbar.bmp, and the program
icon when asked. Every PNG is lossless: Pillow writes it and zopflipng (pngshrink) makes it as
small as it can, keeping its results in the --png-cache folder. The page backgrounds draw their
smooth fields on small squares (raster.Canvas.smooth); each is measured against its exact drawing
and stored so only where the difference is invisible (imagefiles.invisible), with its figures
printed, and drawn exactly otherwise, with a warning. An image that still takes more than
BAD_BITS_PER_PIXEL is reported as compressing badly. Files whose bytes would not change are left
alone, so their timestamps keep later build steps from rerunning. Output is deterministic: the
same sources always give the same bytes.
"""
import argparse
import os
import sys
import time
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_extras  # noqa: E402
import catalogue  # noqa: E402
import imagefiles  # noqa: E402
import pngshrink  # noqa: E402
from raster import Canvas, smooth_block  # noqa: E402


# The drawn images need under one bit a pixel (smooth gradients and flat shapes); noise, dithering
# or a photograph would need several, and would swell the exe.
BAD_BITS_PER_PIXEL = 2.0
BAD_FROM_BYTES = 8 * 1024


def _figures(diff):
    return ('channels differ by %d at most (on %.1f %% of the pixels), by %.2f on average over %d-pixel squares'
            % (diff.max_difference, 100.0 * diff.changed, diff.square_difference, diff.square))


def choose_pixels(rel, image, factor, say=print):
    """The pixels to store for one image: drawn with its smooth fields on squares where that
    differs invisibly from the exact drawing, exactly otherwise."""
    rgba = render(image, factor)
    exact = render(image, factor, exact=True)
    if (rgba == exact).all():
        return rgba
    diff = imagefiles.difference(rgba, exact, factor)
    block = smooth_block(factor)
    if imagefiles.invisible(diff):
        say('skingen: %s: smooth fields on %d-pixel squares; against the exact drawing %s'
            % (rel, block, _figures(diff)))
        return rgba
    say('skingen: warning: %s is drawn exactly, which makes it larger: its smooth fields on %d-pixel squares '
        'would be visible (%s; the limits are %d and %.2f)'
        % (rel, block, _figures(diff), imagefiles.MAX_CHANNEL_DIFFERENCE, imagefiles.SQUARE_DIFFERENCE))
    return exact


def check_size(rel, data, width, height, say=print):
    """Warns when a stored image takes more bits a pixel than drawn art needs."""
    bits = 8.0 * len(data) / (width * height)
    if len(data) >= BAD_FROM_BYTES and bits > BAD_BITS_PER_PIXEL:
        say('skingen: warning: %s compresses badly: %d bytes, %.2f bits a pixel (the skin\'s images need '
            'under %.1f); it makes the exe larger than it should be' % (rel, len(data), bits, BAD_BITS_PER_PIXEL))


def render(image, factor, exact=False):
    c = Canvas(image.width, image.height, factor, exact=exact)
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
    ap.add_argument('--png-cache', help='folder that keeps zopflipng\'s results between builds')
    ap.add_argument('--jobs', type=int, default=os.cpu_count() or 1, help='zopflipng runs at a time')
    args = ap.parse_args(argv)

    started = time.monotonic()
    shrinker = pngshrink.Shrinker(args.png_cache)
    if not shrinker.available:
        print('skingen: warning: zopflipng is missing (Debian package zopfli; tools/setup.sh installs it): '
              'the images keep Pillow\'s encoding, which makes the skin archive about a quarter larger')
    count = 0
    with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        pending = []
        for rel, image, factor in planned_files():
            if args.only and args.only not in rel:
                continue
            notes = []
            rgba = choose_pixels(rel, image, factor, notes.append)
            pending.append((rel, rgba, notes, pool.submit(shrinker.shrink, imagefiles.png_bytes(rgba),
                                                          image.path in catalogue.FIRST_FRAME)))
        for rel, rgba, notes, job in pending:
            data = job.result()
            if not (imagefiles.decoded(data) == rgba).all():
                raise SystemExit('skingen: %s: the recompressed PNG does not hold the drawn pixels' % rel)
            for note in notes:
                print('%s; %d bytes' % (note, len(data)))
            check_size(rel, data, rgba.shape[1], rgba.shape[0])
            write_if_changed(os.path.join(args.images, rel), data)
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
    print('skingen: %d images in %.1f s (zopflipng ran %d times, %d results from its cache)'
          % (count, time.monotonic() - started, shrinker.runs, shrinker.hits))
    return 0


if __name__ == '__main__':
    sys.exit(main())
