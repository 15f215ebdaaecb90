"""Every image of the skin: its path inside the archive, its 100 % size, whether it has the
display-scale variants, and the function that draws it.

Paths use "/" as the archive does; the documents name the same files with "\\".
"""
from collections import namedtuple

import art_controls as C
import art_extras as E
import art_pages as PG

# Display scales for which variants exist, and the suffix inserted before ".png"
# (the framework formats it with "@%gx.").
FACTORS = (1.25, 1.5, 1.75, 2.0)


def variant_suffix(factor):
    return '@%gx' % factor


Image = namedtuple('Image', 'path width height variants draw')

IU = 'Install uninstall/'


def _states(path_stem, w, h, variants, painter):
    """The normal, _hover and _press files of one button."""
    return [Image('%s%s.png' % (path_stem, suffix), w, h, variants, painter(state))
            for state, suffix in (('normal', ''), ('hover', '_hover'), ('press', '_press'))]


IMAGES = (
    [Image(IU + 'table_bg_install_01.png', 700, 420, True, PG.welcome),
     Image(IU + 'table_bg_install_02.png', 700, 420, True, PG.options),
     Image(IU + 'table_bg_install_03.png', 700, 420, True, PG.progress),
     Image(IU + 'table_bg_install_04.png', 700, 420, True, PG.completion)]
    + _states(IU + 'btn_Install_new_package', 146, 44, True, C.light_button)
    + _states(IU + 'btn_complete_the_uninstall', 96, 36, True, C.ok_button)
    + _states(IU + 'btn_modify_path', 60, 32, True, C.modify_button)
    + [Image('btn_multiple_choice.png', 18, 18, True, C.check_box(False)),
       Image('btn_multiple_choice_select.png', 18, 18, True, C.check_box(True))]
    + _states('btn_return', 24, 24, True, C.return_chevron)
    + _states('icon_public_close', 20, 20, True, lambda s: C.title_icon('close', s))
    + _states('icon_public_hide', 20, 20, True, lambda s: C.title_icon('hide', s))
    + [Image('icon_pupup_tips.png', 24, 24, True, C.tips_icon),
       Image('path_bkimage.png', 520, 40, False, C.path_field(False)),
       Image('table_bg_progress_bar.png', 103, 14, False, C.progress_track),
       Image('table_progress_bar.png', 103, 14, False, C.progress_fill)]
    + _states('table_slide_bar', 6, 64, False, C.scroll_thumb)
    # In the archive although no document names them.
    + [Image('icon_bg_pop_up_prompt.png', 417, 213, False, lambda c: PG.prompt_panel(c, True)),
       Image('table_bg_Installation_path.png', 520, 40, False, C.path_field(True)),
       Image('table_popup_bg.png', 417, 212, False, lambda c: PG.prompt_panel(c, False)),
       Image('table_scroll_bar.png', 4, 64, False, C.scroll_track)]
    # Named by the documents or the code: the hidden taskbar option's boxes, the main window's
    # scroll thumb and the message box's shadow.
    + [Image('btn_unchecked.png', 18, 18, True, C.check_box(False)),
       Image('btn_select.png', 18, 18, True, C.check_box(True))]
    + _states('image15/table_slide_bar', 6, 64, False, C.scroll_thumb)
    + [Image('kp_appended/shadow/shadow_black.png', E.SHADOW_SIZE, E.SHADOW_SIZE, False, E.shadow)]
)

# Decoded before the main window's first frame: the welcome page's background. Stored for the
# fastest decoding rather than the fewest bytes (pngshrink.FAST_DECODE).
FIRST_FRAME = {IU + 'table_bg_install_01.png'}

# The scroll-bar sprite is a BMP, drawn separately (see art_extras).
SCROLLBAR_BMP = 'scrollbar.bmp'


def variant_path(path, factor):
    stem, dot, ext = path.rpartition('.')
    return '%s%s.%s' % (stem, variant_suffix(factor), ext)
