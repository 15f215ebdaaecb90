"""A tiny vector rasteriser over numpy: shapes as signed distance fields, coverage-based
anti-aliasing, gradients and "over" compositing.

Every drawing is written in the image's base coordinates (the 100 % size); a Canvas made for a
display-scale factor samples those coordinates at its own resolution, so each variant is drawn
at its own pixel size with strokes, radii and blur widths scaled by the factor: nothing is
ever resampled from a smaller image.

Distances are in base units; Canvas.cover() turns them into pixel coverage with a one-pixel
anti-aliasing ramp at the variant's resolution.

Smooth fields that span a page (its gradient and glows) are drawn through Canvas.smooth(): there
every square of smooth_block(factor) pixels takes the value at its centre. Those fields change by
a fraction of a level from one pixel to the next, so the squares move no pixel by more than one
level; what they save is the pixel-by-pixel wobble of the 8-bit contour lines, which PNG pays
for in every row (a 200 % page background shrinks by about a third). Shapes keep their edges at
full resolution.
"""
import numpy as np

F = np.float32


def scaled_size(base, factor):
    """Pixel length of a variant: base x factor, halves rounded up (18 at 1.25 is 23)."""
    return int(np.floor(base * factor + 0.5))


def smooth_block(factor):
    """Side in pixels of the squares that smooth fields are sampled on: the largest whole number
    of pixels within two pixels of the 100 % image (2 at 100 %, 4 at 200 %, 3 at 150 %)."""
    return max(1, int(np.floor(2.0 * factor + 1e-9)))


def _block_centres(n, block, base):
    """Base-unit coordinates of the centres of the blocks that each of n pixels belongs to."""
    index = np.arange(n)
    centre = (index // block) * block + np.minimum(block, n - (index // block) * block) / 2.0
    return (centre * (base / n)).astype(F)


def color(hex_text, alpha=1.0):
    """'#RRGGBB' -> (r, g, b, a) floats in 0..1."""
    h = hex_text.lstrip('#')
    return (int(h[0:2], 16) / 255.0, int(h[2:4], 16) / 255.0, int(h[4:6], 16) / 255.0, float(alpha))


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def with_alpha(c, alpha):
    return (c[0], c[1], c[2], float(alpha))


class Canvas:
    """Premultiplied RGBA accumulation buffer of one image variant."""

    def __init__(self, base_w, base_h, factor=1.0, width=None, height=None, exact=False):
        self.base_w, self.base_h = base_w, base_h
        self.factor = float(factor)
        self.w = width if width is not None else scaled_size(base_w, factor)
        self.h = height if height is not None else scaled_size(base_h, factor)
        # Pixel centres in base units. The actual ratio (183 / 146 at 1.25) keeps the drawing
        # filling the image exactly even where the pixel size was rounded.
        xs = ((np.arange(self.w, dtype=F) + F(0.5)) * F(base_w / self.w))
        ys = ((np.arange(self.h, dtype=F) + F(0.5)) * F(base_h / self.h))
        self.X, self.Y = np.meshgrid(xs, ys)
        # The same centres snapped to their square's centre, for smooth(); an exact canvas
        # (the reference a page is measured against) keeps every pixel's own centre.
        self.exact = exact
        if exact:
            self.SX, self.SY = self.X, self.Y
        else:
            b = smooth_block(factor)
            self.SX, self.SY = np.meshgrid(_block_centres(self.w, b, base_w), _block_centres(self.h, b, base_h))
        # One pixel in base units, for the anti-aliasing ramp.
        self.px = F(base_w / self.w)
        self.rgb = np.zeros((self.h, self.w, 3), F)
        self.a = np.zeros((self.h, self.w), F)

    def region(self, x0, y0, x1, y1):
        """A canvas that shares this one's pixels inside the base-unit box (x0, y0)-(x1, y1):
        shapes drawn on it cost only the pixels of the box. Everything drawn there must lie
        inside the box."""
        sx, sy = self.w / self.base_w, self.h / self.base_h
        i0, i1 = max(int(np.floor(x0 * sx)) - 1, 0), min(int(np.ceil(x1 * sx)) + 1, self.w)
        j0, j1 = max(int(np.floor(y0 * sy)) - 1, 0), min(int(np.ceil(y1 * sy)) + 1, self.h)
        sub = Canvas.__new__(Canvas)
        sub.base_w, sub.base_h, sub.factor, sub.px, sub.exact = (self.base_w, self.base_h, self.factor, self.px,
                                                                 self.exact)
        sub.w, sub.h = i1 - i0, j1 - j0
        sub.X, sub.Y = self.X[j0:j1, i0:i1], self.Y[j0:j1, i0:i1]
        sub.SX, sub.SY = self.SX[j0:j1, i0:i1], self.SY[j0:j1, i0:i1]
        sub.rgb, sub.a = self.rgb[j0:j1, i0:i1], self.a[j0:j1, i0:i1]
        return sub

    def smooth(self):
        """This canvas for drawing a smooth field: the same pixels, with every shape, gradient and
        coverage sampled once per square (see the module's note)."""
        sub = Canvas.__new__(Canvas)
        sub.__dict__.update(self.__dict__)
        sub.X, sub.Y = self.SX, self.SY
        return sub

    # --- coverage and compositing -------------------------------------------------------------

    def cover(self, sdf):
        """Coverage 0..1 of a shape whose signed distance (base units) is sdf."""
        return np.clip(F(0.5) - sdf / self.px, 0.0, 1.0).astype(F)

    def paint(self, coverage, paint, opacity=1.0):
        """Composites `paint` (a colour tuple or an (h, w, 4) array) over the canvas where
        `coverage` says, times `opacity`."""
        if isinstance(paint, np.ndarray):
            src_rgb, src_a = paint[..., :3], paint[..., 3]
        else:
            src_rgb = np.array(paint[:3], F)
            src_a = F(paint[3])
        alpha = (coverage * src_a * F(opacity)).astype(F)
        keep = F(1.0) - alpha
        # In place: a region() canvas writes through to its parent's pixels.
        self.rgb *= keep[..., None]
        self.rgb += src_rgb * alpha[..., None]
        self.a *= keep
        self.a += alpha

    def fill(self, sdf, paint, opacity=1.0):
        self.paint(self.cover(sdf), paint, opacity)

    def stroke(self, sdf, width, paint, opacity=1.0):
        """Draws the outline of a shape centred on its edge, `width` base units wide."""
        self.paint(self.cover(np.abs(sdf) - F(width / 2.0)), paint, opacity)

    def fill_all(self, paint, opacity=1.0):
        self.paint(np.ones((self.h, self.w), F), paint, opacity)

    def rgba8(self):
        """Straight-alpha 8-bit RGBA (h, w, 4)."""
        a = self.a
        safe = np.where(a > 0, a, F(1.0))
        rgb = np.where(a[..., None] > 0, self.rgb / safe[..., None], F(0.0))
        out = np.empty((self.h, self.w, 4), np.uint8)
        out[..., :3] = np.clip(np.floor(rgb * 255.0 + 0.5), 0, 255)
        out[..., 3] = np.clip(np.floor(a * 255.0 + 0.5), 0, 255)
        return out

    # --- shapes (signed distances in base units, negative inside) -----------------------------

    def rrect(self, x0, y0, x1, y1, r):
        """Rounded rectangle from (x0, y0) to (x1, y1) with corner radius r."""
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
        qx = np.abs(self.X - F(cx)) - F(hx)
        qy = np.abs(self.Y - F(cy)) - F(hy)
        outside = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
        inside = np.minimum(np.maximum(qx, qy), 0)
        return (outside + inside - F(r)).astype(F)

    def circle(self, cx, cy, r):
        return (np.hypot(self.X - F(cx), self.Y - F(cy)) - F(r)).astype(F)

    def segment(self, ax, ay, bx, by):
        """Distance to the segment from a to b (a stroke is this minus half its width)."""
        px, py = self.X - F(ax), self.Y - F(ay)
        ex, ey = F(bx - ax), F(by - ay)
        ee = float(ex * ex + ey * ey)
        t = np.clip((px * ex + py * ey) / F(ee), 0.0, 1.0) if ee > 0 else F(0.0)
        return np.hypot(px - ex * t, py - ey * t).astype(F)

    def polyline(self, points):
        d = None
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            s = self.segment(ax, ay, bx, by)
            d = s if d is None else np.minimum(d, s)
        return d

    def polygon(self, points):
        """Exact signed distance to a simple polygon given by its corners."""
        X, Y = self.X, self.Y
        vx0, vy0 = points[0]
        d = (X - F(vx0)) ** 2 + (Y - F(vy0)) ** 2
        sign = np.ones_like(X)
        n = len(points)
        for i in range(n):
            vix, viy = points[i]
            vjx, vjy = points[i - 1]
            ex, ey = F(vjx - vix), F(vjy - viy)
            wx, wy = X - F(vix), Y - F(viy)
            t = np.clip((wx * ex + wy * ey) / F(ex * ex + ey * ey), 0.0, 1.0)
            bx, by = wx - ex * t, wy - ey * t
            d = np.minimum(d, bx * bx + by * by)
            c1 = Y >= F(viy)
            c2 = Y < F(vjy)
            c3 = ex * wy > ey * wx
            flip = (c1 & c2 & c3) | (~c1 & ~c2 & ~c3)
            sign = np.where(flip, -sign, sign)
        return (sign * np.sqrt(d)).astype(F)

    # --- paints --------------------------------------------------------------------------------

    def _ramp(self, t, stops):
        """Colour array for parameter t through colour stops [(pos, colour), ...]: piecewise
        linear, clamped to the end colours (a sum of clipped ramps, one per segment)."""
        colours = [np.array(c, F) for _, c in stops]
        out = np.empty(t.shape + (4,), F)
        out[...] = colours[0]
        for (p0, _), (p1, _), c0, c1 in zip(stops, stops[1:], colours, colours[1:]):
            w = np.clip((t - F(p0)) * F(1.0 / (p1 - p0)), 0.0, 1.0)
            out += w[..., None] * (c1 - c0)
        return out

    def linear(self, x0, y0, x1, y1, stops):
        dx, dy = x1 - x0, y1 - y0
        t = ((self.X - F(x0)) * F(dx) + (self.Y - F(y0)) * F(dy)) / F(dx * dx + dy * dy)
        return self._ramp(t, stops)

    def radial(self, cx, cy, rx, ry, stops):
        """Elliptic radial gradient: t = 0 at the centre, 1 on the ellipse of radii rx, ry."""
        t = np.hypot((self.X - F(cx)) / F(rx), (self.Y - F(cy)) / F(ry))
        return self._ramp(t, stops)


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return (t * t * (3.0 - 2.0 * t)).astype(F)
