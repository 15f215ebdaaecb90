"""Encodes the skin's images with Pillow: PNG (straight alpha, lossless or with a palette), 24-bit
BMP and ICO.

The output depends on nothing but the pixels, so the same pixels always give the same bytes.
"""
import io
from collections import namedtuple

import numpy as np
from PIL import Image

# A palette version of an image is used only where the difference stays at the edge of what can be
# seen. Measured against the lossless original, per channel, in levels of 255:
#   - the mean difference at most MEAN_CHANNEL_DIFFERENCE: a palette that merely snaps a smooth
#     gradient to its nearest colours moves every pixel by a level or two and draws plain contour
#     lines across the gradient (seen from a mean of 0.33 up); one that dithers moves few pixels,
#     and those by little, though faint contours can remain in the darkest, flattest gradients;
#   - the difference averaged over each BLOCK x BLOCK square (what the eye sees of fine dither) at
#     most BLOCK_DIFFERENCE: no area of the image turns lighter, darker or another hue;
#   - no single pixel off by more than MAX_CHANNEL_DIFFERENCE (antialiased edges of small bright
#     shapes, which 256 colours follow less closely, may move a little more than the rest).
MEAN_CHANNEL_DIFFERENCE = 0.30
BLOCK = 8
BLOCK_DIFFERENCE = 2.5
MAX_CHANNEL_DIFFERENCE = 64


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


PaletteTry = namedtuple('PaletteTry', 'data method max_difference mean_difference block_difference')


def _block_difference(difference):
    """The largest difference of one channel averaged over a BLOCK x BLOCK square (the edges of the
    image are left out where they do not fill a square)."""
    h, w, ch = difference.shape
    hb, wb = h // BLOCK, w // BLOCK
    blocks = difference[:hb * BLOCK, :wb * BLOCK].reshape(hb, BLOCK, wb, BLOCK, ch).mean(axis=(1, 3))
    return float(np.abs(blocks).max())


def palette_tries(rgba):
    """256-colour palette PNGs of an opaque image, each with how far it is from the original; none
    for an image with transparency (a palette's alpha would blur antialiased edges). Two ways: the
    colours chosen for coverage, each pixel snapped to its nearest, and libimagequant's, which
    dithers where a gradient falls between its colours."""
    image = _to_image(rgba)
    if image.mode != 'RGB':
        return []
    original = rgba[..., :3].astype(np.int16)
    tries = []
    for method, quantized in (('nearest colour', image.quantize(256, method=Image.Quantize.MAXCOVERAGE, kmeans=1)),
                              ('dithered', image.quantize(256, method=Image.Quantize.LIBIMAGEQUANT))):
        difference = np.asarray(quantized.convert('RGB'), np.int16) - original
        tries.append(PaletteTry(_encode(quantized, 'PNG', optimize=True), method, int(np.abs(difference).max()),
                                float(np.abs(difference).mean()), _block_difference(difference)))
    return tries


def invisible(attempt):
    return (attempt.mean_difference <= MEAN_CHANNEL_DIFFERENCE and attempt.block_difference <= BLOCK_DIFFERENCE
            and attempt.max_difference <= MAX_CHANNEL_DIFFERENCE)


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
