"""Images outside the pages and controls: the message box's drop shadow, the classic scroll-bar
sprite (BMP with a magenta key colour) and the program icon."""
import numpy as np

import palette as P
from art_pages import product_mark
from raster import Canvas, color, mix, smoothstep, with_alpha

# --- drop shadow -------------------------------------------------------------------------------

SHADOW_SIZE = 96        # the window's code slices it with 38 px corners
SHADOW_SPREAD = 16      # and draws it 16 px around the window


def shadow(c):
    """Black soft shadow around a 9 px rounded window footprint inset by the spread; the centre
    stays dark so that the window's transparent rounded corners show shadow, not a hole."""
    s, spread = SHADOW_SIZE, SHADOW_SPREAD
    footprint = c.rrect(spread, spread, s - spread, s - spread, 9)
    t = smoothstep(-3.0, float(spread), footprint)
    c.paint((1.0 - t) ** 2, P.BLACK, 0.45)


# --- scroll-bar sprite -------------------------------------------------------------------------

CELL = 16
SPRITE_W, SPRITE_H = 4 * CELL, 5 * CELL
MAGENTA = np.array([255, 0, 255], np.uint8)
# Columns: normal, hot, pushed, disabled.
BUTTON_FILL = [color('#2A2C31'), color('#363940'), color('#2C7CCA'), color('#202125')]
GLYPH_FILL = [P.ICON_GREY, P.WHITE, P.WHITE, color('#55585E')]
THUMB_FILL = [color('#4A4D55'), color('#60646C'), P.ACCENT, color('#2E3036')]


def _scrollbar_canvas():
    c = Canvas(SPRITE_W, SPRITE_H, 1.0)
    for col in range(4):
        x = col * CELL
        # Rows 0 and 1: the two arrow buttons (left, right).
        for row, direction in ((0, -1), (1, 1)):
            y = row * CELL
            c.fill(c.rrect(x + 1, y + 1, x + CELL - 1, y + CELL - 1, 3), BUTTON_FILL[col])
            cx, cy = x + CELL / 2, y + CELL / 2
            tip, back = cx + 2.5 * direction, cx - 2.0 * direction
            c.fill(c.polygon([(tip, cy), (back, cy - 3.5), (back, cy + 3.5)]) if direction > 0
                   else c.polygon([(tip, cy), (back, cy + 3.5), (back, cy - 3.5)]), GLYPH_FILL[col])
        # Row 2: thumb; row 3: its grip (drawn in the thumb's middle); row 4: the track.
        c.fill(c.rrect(x + 1, 2 * CELL + 3, x + CELL - 1, 3 * CELL - 3, 3), THUMB_FILL[col])
        for gx in (-3, 0, 3):
            c.fill(c.rrect(x + CELL / 2 + gx - 0.5, 3 * CELL + 5, x + CELL / 2 + gx + 0.5, 4 * CELL - 5, 0.5),
                   mix(THUMB_FILL[col], P.WHITE, 0.35))
        c.fill(c.rrect(x, 4 * CELL + 2, x + CELL, 5 * CELL - 2, 2),
               color('#18191C') if col != 3 else color('#141517'))
    return c


def scrollbar_bmp_pixels():
    """RGB pixels of scrollbar.bmp: what is less than half covered is the magenta key colour
    (made transparent by the documents' mask); the rest is flattened onto the panel colour so
    that no magenta fringe appears."""
    rgba = _scrollbar_canvas().rgba8().astype(np.float32)
    alpha = rgba[..., 3:4] / 255.0
    panel = np.array([c * 255.0 for c in P.PANEL[:3]], np.float32)
    flat = np.floor(rgba[..., :3] * alpha + panel * (1.0 - alpha) + 0.5).astype(np.uint8)
    out = np.where(alpha >= 0.5, flat, MAGENTA)
    return out.astype(np.uint8)


# --- program icon ------------------------------------------------------------------------------

ICON_SIZES = (16, 24, 32, 48, 64, 256)


def program_icon_pixels(size):
    """The product mark drawn at one icon size (its own resolution, no resampling)."""
    c = Canvas(size, size, 1.0)
    margin = 0.0 if size <= 16 else size * 0.04
    product_mark(c, margin, margin, size - 2 * margin, detail=size >= 32)
    return c.rgba8()
