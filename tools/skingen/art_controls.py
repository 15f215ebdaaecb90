"""Buttons, check boxes, title-bar glyphs, bars and the path field.

Images drawn as nine-grids keep their rounded corners inside the documents' corner margins
(10 px for the buttons, 20,10,20,10 for the path field, 10,0,10,0 for the progress bar,
0,5,0,5 for the scroll thumb), so stretching never touches a curve.
"""
import numpy as np

import palette as P
from raster import mix, with_alpha

# --- large and small buttons -----------------------------------------------------------------

LIGHT_STATES = {
    'normal': (P.LIGHT_TOP, P.LIGHT_BOTTOM, None),
    'hover': (P.LIGHT_HOVER_TOP, P.LIGHT_HOVER_BOTTOM, with_alpha(P.ACCENT, 0.55)),
    'press': (P.LIGHT_PRESS_TOP, P.LIGHT_PRESS_BOTTOM, None),
}


def light_button(state):
    """The light large button (146 x 44; also the message box's Cancel): near-white fill with a
    soft vertical gradient, a bright top edge; hover brighter and blue-tinted, pressed darker."""
    top, bottom, rim = LIGHT_STATES[state]

    def draw(c):
        w, h = c.base_w, c.base_h
        body = c.rrect(0, 0, w, h, 9)
        c.fill(body, c.linear(0, 0, 0, h, [(0.0, top), (1.0, bottom)]))
        if state != 'press':
            c.paint(c.cover(body) * (c.Y < 2.5), with_alpha(P.WHITE, 0.7))
        else:
            # Pressed: a faint inner shadow along the top edge.
            c.paint(c.cover(body), c.linear(0, 0, 0, 6, [(0.0, with_alpha(P.BLACK, 0.10)),
                                                       (1.0, with_alpha(P.BLACK, 0.0))]))
        c.stroke(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 8.5), 1.0,
                 rim if rim else with_alpha(P.BLACK, 0.10))
    return draw


def ok_button(state):
    """The message box's OK button (96 x 36): dark fill behind grey #807F7F text, a hairline
    border that turns blue on hover; pressed goes darker."""
    def draw(c):
        w, h = c.base_w, c.base_h
        body = c.rrect(0, 0, w, h, 8)
        top, bottom = (P.OK_FILL_TOP, P.OK_FILL_BOTTOM)
        if state == 'press':
            top, bottom = mix(top, P.BLACK, 0.3), mix(bottom, P.BLACK, 0.3)
        c.fill(body, c.linear(0, 0, 0, h, [(0.0, top), (1.0, bottom)]))
        border = {'normal': P.OK_BORDER, 'hover': P.ACCENT, 'press': P.ACCENT_PRESSED}[state]
        c.stroke(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 7.5), 1.0, border)
        if state == 'hover':
            c.stroke(c.rrect(1.5, 1.5, w - 1.5, h - 1.5, 6.5), 1.0, with_alpha(P.ACCENT, 0.18))
    return draw


def modify_button(state):
    """"修改" (60 x 32), white text: a raised dark button; blue rim on hover, sunk when pressed."""
    def draw(c):
        w, h = c.base_w, c.base_h
        body = c.rrect(0, 0, w, h, 6)
        top, bottom = P.RAISED_TOP, P.RAISED_BOTTOM
        if state == 'hover':
            top, bottom = mix(top, P.WHITE, 0.05), mix(bottom, P.WHITE, 0.05)
        elif state == 'press':
            top, bottom = mix(bottom, P.BLACK, 0.25), mix(top, P.BLACK, 0.25)
        c.fill(body, c.linear(0, 0, 0, h, [(0.0, top), (1.0, bottom)]))
        border = {'normal': P.RAISED_BORDER, 'hover': P.ACCENT, 'press': P.ACCENT_PRESSED}[state]
        c.stroke(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 5.5), 1.0, border)
        if state != 'press':
            c.paint(c.cover(c.rrect(1, 1, w - 1, h - 1, 5)) * (c.Y < 2), with_alpha(P.WHITE, 0.10))
    return draw


# --- check boxes -----------------------------------------------------------------------------

def check_box(checked):
    """18 x 18: an outlined rounded square, or a blue one with a white tick."""
    def draw(c):
        box = c.rrect(1.5, 1.5, 16.5, 16.5, 3.5)
        if checked:
            c.fill(box, c.linear(0, 1.5, 0, 16.5, [(0.0, P.ACCENT_LIGHT), (1.0, P.ACCENT)]))
            tick = c.polyline([(5.0, 9.2), (7.9, 12.1), (13.2, 6.2)])
            c.fill(tick - 0.95, P.WHITE)
        else:
            c.fill(box, with_alpha(P.BLACK, 0.25))
            c.stroke(c.rrect(2.25, 2.25, 15.75, 15.75, 2.75), 1.5, P.OUTLINE_GREY)
    return draw


# --- title bar, back link, tips icon ------------------------------------------------------------

GLYPH = {'normal': (P.ICON_GREY, 0.0), 'hover': (P.WHITE, 0.12), 'press': (P.ICON_DIM, 0.07)}


def title_icon(kind, state):
    """20 x 20 close (an x) or minimise (a short bar) glyph, 1.5 px strokes; hover white on a
    faint round highlight, pressed dimmer."""
    glyph, halo = GLYPH[state]

    def draw(c):
        if halo:
            c.fill(c.circle(10, 10, 10), with_alpha(P.WHITE, halo))
        if kind == 'close':
            d = np.minimum(c.segment(5.6, 5.6, 14.4, 14.4), c.segment(14.4, 5.6, 5.6, 14.4))
        else:
            d = c.segment(5.5, 10.0, 14.5, 10.0)
        c.fill(d - 0.75, glyph)
    return draw


RETURN_COLOURS = {'normal': P.LINK_GREY, 'hover': P.ACCENT, 'press': P.ACCENT_PRESSED_DARK}


def return_chevron(state):
    """24 x 24 with a left chevron in the left 20 px (the document keeps those 20 px and
    stretches the transparent rest under the text "返回")."""
    def draw(c):
        d = c.polyline([(12.0, 7.0), (7.0, 12.0), (12.0, 17.0)])
        c.fill(d - 0.85, RETURN_COLOURS[state])
    return draw


def tips_icon(c):
    """24 x 24: accent-blue disc with a white exclamation mark."""
    c.fill(c.circle(12, 12, 11), c.linear(1, 1, 23, 23, [(0.0, P.ACCENT_LIGHT), (1.0, P.ACCENT_DEEP)]))
    c.fill(c.segment(12, 6.6, 12, 13.4) - 1.2, P.WHITE)
    c.fill(c.circle(12, 17.2, 1.35), P.WHITE)


# --- bars and fields -----------------------------------------------------------------------------

def progress_track(c):
    """103 x 14 dark pill."""
    w, h = c.base_w, c.base_h
    pill = c.rrect(0, 0, w, h, h / 2)
    c.fill(pill, P.TRACK)
    c.paint(c.cover(pill), c.linear(0, 0, 0, 5, [(0.0, with_alpha(P.BLACK, 0.25)),
                                               (1.0, with_alpha(P.BLACK, 0.0))]))


def progress_fill(c):
    """103 x 14 accent-blue pill, lighter at the top."""
    w, h = c.base_w, c.base_h
    pill = c.rrect(0, 0, w, h, h / 2)
    c.fill(pill, c.linear(0, 0, 0, h, [(0.0, P.ACCENT_LIGHT), (1.0, P.ACCENT_PRESSED)]))
    c.paint(c.cover(pill), c.linear(0, 0, 0, h * 0.6, [(0.0, with_alpha(P.WHITE, 0.22)),
                                                     (1.0, with_alpha(P.WHITE, 0.0))]))


def path_field(focused):
    """520 x 40 recessed field that frames the install path and the "修改" button."""
    def draw(c):
        w, h = c.base_w, c.base_h
        body = c.rrect(0, 0, w, h, 8)
        c.fill(body, P.DARK_FIELD)
        c.paint(c.cover(body), c.linear(0, 0, 0, 6, [(0.0, with_alpha(P.BLACK, 0.35)),
                                                   (1.0, with_alpha(P.BLACK, 0.0))]))
        border = with_alpha(P.ACCENT, 0.8) if focused else P.DARK_FIELD_BORDER
        c.stroke(c.rrect(0.5, 0.5, w - 0.5, h - 0.5, 7.5), 1.0, border)
    return draw


SLIDER = {'normal': P.RAISED_BORDER, 'hover': mix(P.RAISED_BORDER, P.WHITE, 0.25), 'press': P.ACCENT}


def scroll_thumb(state):
    """6 x 64 rounded thumb."""
    def draw(c):
        c.fill(c.rrect(0.5, 0.5, c.base_w - 0.5, c.base_h - 0.5, 2.5), SLIDER[state])
    return draw


def scroll_track(c):
    """4 x 64 faint track."""
    c.fill(c.rrect(0, 0, c.base_w, c.base_h, 2), with_alpha(P.WHITE, 0.06))
