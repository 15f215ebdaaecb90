"""Encodes the skin's images with Pillow: PNG (straight alpha, lossless), 24-bit BMP and ICO; and
measures how far a stored page is from its exact drawing.

The output depends on nothing but the pixels, so the same pixels always give the same bytes.
"""
import io
from collections import namedtuple

import numpy as np
from PIL import Image

# A page's smooth fields are sampled on small squares (raster.Canvas.smooth), which moves some
# pixels of its 8-bit contour lines. The result is stored only if, against the exact drawing,
#   - no channel of any pixel differs by more than MAX_CHANNEL_DIFFERENCE level;
#   - the difference averaged over any square of SQUARE x SQUARE logical pixels (SQUARE times
#     the display scale in pixels) stays within SQUARE_DIFFERENCE level, sign kept, for every
#     channel: no area turns lighter, darker or another hue. Shifted contour lines average out;
#     an area moved by a whole level, which a dark flat gradient shows as a blotch between its
#     contours, does not.
MAX_CHANNEL_DIFFERENCE = 1
SQUARE = 8
SQUARE_DIFFERENCE = 0.5

Difference = namedtuple('Difference', 'max_difference changed square_difference square')


def _to_image(rgba):
    """Pillow image of an (h, w, 4) uint8 straight-alpha array: RGB when no pixel is transparent."""
    if np.all(rgba[..., 3] == 255):
        return Image.fromarray(np.ascontiguousarray(rgba[..., :3]), 'RGB')
    return Image.fromarray(np.ascontiguousarray(rgba), 'RGBA')


def _encode(image, fmt, **options):
    out = io.BytesIO()
    image.save(out, fmt, **options)
    return out.getvalue()


def png_bytes(rgba):
    """Lossless PNG of an (h, w, 4) uint8 straight-alpha image, as small as Pillow's encoder makes
    it: RGB (colour type 2) when no pixel is transparent, RGBA (colour type 6) otherwise."""
    return _encode(_to_image(rgba), 'PNG', optimize=True)


def decoded(data):
    """(h, w, 4) uint8 straight-alpha pixels of a PNG."""
    with Image.open(io.BytesIO(data)) as image:
        return np.asarray(image.convert('RGBA'))


def difference(stored, exact, factor):
    """How far a stored (h, w, 4) image is from the exact drawing, at a display scale `factor`."""
    d = stored.astype(np.int16) - exact.astype(np.int16)
    side = max(1, int(round(SQUARE * factor)))
    h, w, ch = d.shape
    # The mean of every side x side square, at every position, from a summed-area table.
    table = np.zeros((h + 1, w + 1, ch), np.int64)
    table[1:, 1:] = d.cumsum(0).cumsum(1)
    if h >= side and w >= side:
        sums = table[side:, side:] - table[:-side, side:] - table[side:, :-side] + table[:-side, :-side]
        square = float(np.abs(sums).max()) / (side * side)
    else:
        square = float(np.abs(d.mean(axis=(0, 1))).max())
    return Difference(int(np.abs(d).max()), float(np.any(d != 0, axis=2).mean()), square, side)


def invisible(diff):
    return diff.max_difference <= MAX_CHANNEL_DIFFERENCE and diff.square_difference <= SQUARE_DIFFERENCE


def bmp_bytes(rgb):
    """Bottom-up 24-bit BMP of an (h, w, 3) uint8 image."""
    return _encode(Image.fromarray(np.ascontiguousarray(rgb), 'RGB'), 'BMP')


def ico_bytes(images):
    """ICO holding the given (h, w, 4) square images, every size stored as PNG (which Windows
    reads from Vista on)."""
    frames = [Image.fromarray(np.ascontiguousarray(rgba), 'RGBA') for rgba in images]
    largest = max(frames, key=lambda f: f.size[0])
    others = [f for f in frames if f is not largest]
    return _encode(largest, 'ICO', sizes=[f.size for f in frames], append_images=others)
