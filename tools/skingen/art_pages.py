"""The four 700 x 420 page backgrounds and the product mark they and the program icon share.

What the documents put on each page decides where the art may go:
  01 welcome:    title bar (y < 54) and bottom strip (y >= 352) plain; the install button at
                 246,264-454,308; the product mark above it.
  02 options:    "返回" at the top left, the path row at 131,78-651,118, a button at 246,198;
                 a calm panel.
  03 progress:   product name and feature list in the left half, the bar at y 342-356;
                 an illustration (a screen with a record dot) on the right.
  04 completion: heading "安装完成" at 245,96-455,152 and a button at 246,202; a success mark
                 between the title bar and the heading.
"""
import numpy as np

import palette as P
from raster import color, mix, smoothstep, with_alpha

W, H = 700, 420


_base_cache = {}


def page_base(c):
    """Near-black to charcoal diagonal with a faint cool glow low on the right, both smooth
    fields. The four pages share it, so each variant size is drawn once and copied."""
    key = (c.w, c.h, c.exact)
    if key not in _base_cache:
        s = c.smooth()
        s.fill_all(s.linear(0, 0, W, H, P.PAGE_STOPS))
        g = s.region(640 - 430, 430 - 300, W, H)
        g.fill_all(g.radial(640, 430, 430, 300, [(0.0, with_alpha(P.ACCENT, 0.09)),
                                                   (1.0, with_alpha(P.ACCENT, 0.0))]))
        _base_cache[key] = (c.rgb.copy(), c.a.copy())
    rgb, a = _base_cache[key]
    c.rgb[...] = rgb
    c.a[...] = a


def glow(c, cx, cy, rx, ry, strength):
    """A soft accent-blue light, a smooth field."""
    c = c.smooth().region(cx - rx, cy - ry, cx + rx, cy + ry)
    c.fill_all(c.radial(cx, cy, rx, ry, [(0.0, with_alpha(P.ACCENT, strength)),
                                          (0.45, with_alpha(P.ACCENT, strength * 0.35)),
                                          (1.0, with_alpha(P.ACCENT, 0.0))]))


def soft_shadow(c, sdf, spread, strength):
    """A blurred dark copy of a shape: full strength inside, fading over `spread` units."""
    t = smoothstep(-spread * 0.3, spread, sdf)
    c.paint((1.0 - t) ** 2, P.BLACK, strength)


def product_mark(c, x, y, s, detail=True):
    """The product's mark in the s x s square at (x, y): a blue rounded square with a white play
    triangle and a red record dot. `detail` adds the sheen, which small icons leave out."""
    square = c.rrect(x, y, x + s, y + s, s * 0.26)
    c.fill(square, c.linear(x, y, x + s, y + s, [(0.0, P.ACCENT_LIGHT), (1.0, P.ACCENT_DEEP)]))
    if detail:
        sheen = c.linear(x, y, x, y + s * 0.6, [(0.0, with_alpha(P.WHITE, 0.22)),
                                               (1.0, with_alpha(P.WHITE, 0.0))])
        c.paint(c.cover(square), sheen)
        # Hairline rim that separates the mark from a dark background.
        c.stroke(c.rrect(x + s * 0.006, y + s * 0.006, x + s * 0.994, y + s * 0.994, s * 0.254),
                 max(s * 0.012, 0.6), with_alpha(P.WHITE, 0.18))
    r = s * 0.045
    tri = [(x + s * 0.38 + r, y + s * 0.30 + r * 1.4), (x + s * 0.38 + r, y + s * 0.70 - r * 1.4),
           (x + s * 0.72 - r * 1.6, y + s * 0.50)]
    c.fill(c.polygon(tri) - r, P.WHITE)
    c.fill(c.circle(x + s * 0.755, y + s * 0.245, s * 0.085), P.RECORD_RED)


def welcome(c):
    page_base(c)
    cx, cy, s = 350.0, 150.0, 92.0
    glow(c, cx, cy, 250, 150, 0.20)
    c = c.region(cx - 135, cy - 135, cx + 135, cy + 135)
    # Quiet concentric rings around the mark: the "recording" pulse.
    for radius, alpha in ((78, 0.10), (104, 0.065), (130, 0.04)):
        c.stroke(c.circle(cx, cy, radius), 1.2, with_alpha(P.ACCENT_LIGHT, alpha))
    soft_shadow(c, c.rrect(cx - s / 2, cy - s / 2 + 6, cx + s / 2, cy + s / 2 + 6, s * 0.26), 16, 0.55)
    product_mark(c, cx - s / 2, cy - s / 2, s)


def options(c):
    page_base(c)
    glow(c, 390, 98, 380, 110, 0.045)


def progress(c):
    page_base(c)
    glow(c, 530, 190, 220, 170, 0.16)
    c = c.region(400, 95, 660, 310)
    # A monitor: bezel, screen, neck and foot.
    x0, y0, x1, y1 = 420.0, 112.0, 640.0, 252.0
    soft_shadow(c, c.rrect(x0, y0 + 8, x1, y1 + 8, 12), 18, 0.5)
    bezel = c.rrect(x0, y0, x1, y1, 12)
    c.fill(bezel, c.linear(0, y0, 0, y1, [(0.0, color('#3A3D44')), (1.0, color('#2A2C32'))]))
    c.stroke(c.rrect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 11.5), 1.0, with_alpha(P.WHITE, 0.10))
    sx0, sy0, sx1, sy1 = x0 + 8, y0 + 8, x1 - 8, y1 - 8
    screen = c.rrect(sx0, sy0, sx1, sy1, 6)
    c.fill(screen, c.linear(sx0, sy0, sx1, sy1, [(0.0, color('#14345C')), (1.0, color('#0B1628'))]))
    c.paint(c.cover(screen), c.radial(530, 170, 120, 80, [(0.0, with_alpha(P.ACCENT, 0.35)),
                                                          (1.0, with_alpha(P.ACCENT, 0.0))]))
    # Play button in the middle of the screen.
    c.fill(c.circle(530, 172, 26), with_alpha(P.WHITE, 0.14))
    c.stroke(c.circle(530, 172, 26), 1.5, with_alpha(P.WHITE, 0.55))
    r = 1.5
    c.fill(c.polygon([(522 + r, 160 + r * 1.4), (522 + r, 184 - r * 1.4), (543 - r * 1.6, 172)]) - r, P.WHITE)
    # Recording badge top left: red dot with a soft halo.
    c.fill(c.circle(sx0 + 16, sy0 + 15, 9), with_alpha(P.RECORD_RED, 0.25))
    c.fill(c.circle(sx0 + 16, sy0 + 15, 5), P.RECORD_RED)
    c.fill(c.rrect(sx0 + 28, sy0 + 12, sx0 + 58, sy0 + 18, 3), with_alpha(P.WHITE, 0.45))
    # Timeline at the bottom of the screen.
    c.fill(c.rrect(sx0 + 14, sy1 - 18, sx1 - 14, sy1 - 14, 2), with_alpha(P.WHITE, 0.18))
    c.fill(c.rrect(sx0 + 14, sy1 - 18, sx0 + 100, sy1 - 14, 2), P.ACCENT)
    c.fill(c.circle(sx0 + 100, sy1 - 16, 4.5), P.WHITE)
    # Neck and foot.
    c.fill(c.polygon([(516, y1), (544, y1), (550, 280), (510, 280)]),
           c.linear(0, y1, 0, 280, [(0.0, color('#1E2025')), (1.0, color('#2C2F35'))]))
    c.fill(c.rrect(480, 278, 580, 288, 5), c.linear(0, 278, 0, 288, [(0.0, color('#3A3D44')),
                                                                      (1.0, color('#26282D'))]))


def completion(c):
    """The success mark fits between the title bar (y < 54) and the heading's box (y >= 96);
    only its faint halo rings reach behind the heading."""
    page_base(c)
    cx, cy, r = 350.0, 75.0, 19.0
    glow(c, cx, 130, 300, 150, 0.14)
    c = c.region(cx - 50, cy - 50, cx + 50, cy + 50)
    for radius, alpha in ((28, 0.14), (40, 0.06)):
        c.stroke(c.circle(cx, cy, radius), 1.2, with_alpha(P.ACCENT_LIGHT, alpha))
    soft_shadow(c, c.circle(cx, cy + 2.5, r), 8, 0.5)
    c.fill(c.circle(cx, cy, r), c.linear(cx - r, cy - r, cx + r, cy + r,
                                         [(0.0, P.ACCENT_LIGHT), (1.0, P.ACCENT_DEEP)]))
    tick = c.polyline([(cx - 8.6, cy + 0.4), (cx - 2.8, cy + 6.2), (cx + 9.0, cy - 6.0)])
    c.fill(tick - 1.65, P.WHITE)


def prompt_panel(c, header):
    """Message-box panel (the two 417-wide images no document names)."""
    w, h = c.base_w, c.base_h
    body = c.rrect(0, 0, w, h, 9)
    c.fill(body, P.PANEL)
    if header:
        c.paint(c.cover(body) * (c.Y < 40), mix(P.PANEL, P.WHITE, 0.03))
        c.fill(c.rrect(0, 39.5, w, 40.5, 0), with_alpha(P.WHITE, 0.06))
    c.stroke(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 8.5), 1.0, P.PANEL_BORDER)
