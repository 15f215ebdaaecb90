"""The skin's colours, in one place."""
from raster import color

ACCENT = color('#389BFD')            # hover blue of the documents' links
ACCENT_LIGHT = color('#5BB0FF')
ACCENT_PRESSED = color('#2C7CCA')
ACCENT_DEEP = color('#2368D8')
ACCENT_PRESSED_DARK = color('#276CB0')
RECORD_RED = color('#FF4F5E')
WHITE = color('#FFFFFF')
BLACK = color('#000000')

# Page backgrounds: near-black in the top-left corner (where the grey "返回" link sits, so that
# #777879 text keeps 4.5:1) to deep charcoal in the bottom-right.
PAGE_STOPS = [(0.0, color('#040506')), (0.16, color('#060709')),
              (0.6, color('#16171B')), (1.0, color('#25272C'))]

# Light large buttons (dark text #1C1C1E on them).
LIGHT_TOP, LIGHT_BOTTOM = color('#FAFBFC'), color('#E8EAEE')
LIGHT_HOVER_TOP, LIGHT_HOVER_BOTTOM = color('#FFFFFF'), color('#E3EFFD')
LIGHT_PRESS_TOP, LIGHT_PRESS_BOTTOM = color('#DDE0E5'), color('#D0D4DA')

# Dark buttons and fields.
DARK_FIELD = color('#0E0F12')        # recessed path field
DARK_FIELD_BORDER = color('#363940')
OK_FILL_TOP, OK_FILL_BOTTOM = color('#141518'), color('#101113')   # grey #807F7F text: >= 4.5:1
OK_BORDER = color('#3C3E44')
RAISED_TOP, RAISED_BOTTOM = color('#31343A'), color('#282A30')   # white "修改" text
RAISED_BORDER = color('#4A4D55')

# Glyphs and outlines.
ICON_GREY = color('#C8CACF')
ICON_DIM = color('#8E9096')
OUTLINE_GREY = color('#8A8D93')
LINK_GREY = color('#808183')          # chevron beside the #777879 "返回" text
TRACK = color('#2E3036')
PANEL = color('#1C1C1E')              # message box body
PANEL_BORDER = color('#464749')
