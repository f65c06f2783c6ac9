#!/usr/bin/python3
"""Draws every image of the wizard's skin into assets/skin/.

Run with Debian's interpreter (it has python3-pil):
    /usr/bin/python3 scripts/make-art.py [--skin DIR] [--icon FILE]
Defaults: assets/skin (the skin's images) and assets/icon/tessaro.ico (the programs' icon).
The output depends only on this script, Pillow and the Noto Sans CJK fonts, so two runs give the
same bytes. Shapes and text are drawn at SCALE times the final size and box-filtered down.
Every image is drawn once per display scale of ZOOMS; the skin looks the larger ones up under
"name@150.png" and "name@200.png", with every length of the skin multiplied alike.
"""
import argparse
import pathlib
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SCALE = 4
ZOOMS = {100: 1.0, 150: 1.5, 200: 2.0}
ZOOM = 1.0  # the display scale being drawn: build() sets it for each pass
FONT_REGULAR = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
FONT_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_INDEX_SC = 2  # Simplified Chinese face inside the collections

PAGE_SIZE = (700, 420)
WINDOW_CORNER_RADIUS = 3  # the window region's 6 by 6 corner ellipse

ACCENT = (56, 155, 253)
ACCENT_LIGHT = (98, 184, 255)
ACCENT_DEEP = (36, 108, 224)
BG_TOP = (10, 22, 48)
BG_BOTTOM = (13, 43, 96)
WHITE = (255, 255, 255)
TAGLINE = (160, 188, 230)
HINT = (126, 154, 196)
RETURN_NORMAL = (0x77, 0x78, 0x79)
RETURN_HOT = ACCENT
RETURN_PUSHED = (0x27, 0x6C, 0xB0)
CLOSE_HOT = (232, 72, 77)
CLOSE_PUSHED = (194, 52, 58)

SUB = "Install_and_uninstall"


def font(size, bold=False):
    return ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, round(size * SCALE * ZOOM), index=FONT_INDEX_SC)


def rgba(color, alpha=1.0):
    return (color[0], color[1], color[2], max(0, min(255, round(255 * alpha))))


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


class Canvas:
    """An RGBA picture drawn at SCALE times its size, in 100 % pixel coordinates; the picture itself
    has ZOOM times that size."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.size = (round(w * ZOOM), round(h * ZOOM))
        self.img = Image.new("RGBA", (self.size[0] * SCALE, self.size[1] * SCALE), (0, 0, 0, 0))

    @staticmethod
    def s(v):
        return round(v * SCALE * ZOOM)

    def box(self, b):
        return [self.s(b[0]), self.s(b[1]), self.s(b[2]) - 1, self.s(b[3]) - 1]

    def new_layer(self):
        return Image.new("RGBA", self.img.size, (0, 0, 0, 0))

    def put(self, layer):
        self.img.alpha_composite(layer)

    def mask(self, draw_fn):
        m = Image.new("L", self.img.size, 0)
        draw_fn(ImageDraw.Draw(m))
        return m

    def fill_mask(self, m, paint):
        """Composites `paint` (an RGBA image of canvas size or a colour) through mask m."""
        if not isinstance(paint, Image.Image):
            paint = Image.new("RGBA", self.img.size, paint)
        layer = paint.copy()
        layer.putalpha(ImageChops.multiply(paint.getchannel("A"), m))
        self.put(layer)

    # Shapes -------------------------------------------------------------------------------------
    def rrect(self, b, r, fill=None, outline=None, width=1.0):
        if fill is not None:
            self.fill_mask(self.mask(lambda d: d.rounded_rectangle(self.box(b), self.s(r), fill=255)), fill)
        if outline is not None:
            w = self.s(width)

            def ring(d):
                d.rounded_rectangle(self.box(b), self.s(r), fill=255)
                inner = [self.s(b[0]) + w, self.s(b[1]) + w, self.s(b[2]) - 1 - w, self.s(b[3]) - 1 - w]
                d.rounded_rectangle(inner, max(0, self.s(r) - w), fill=0)
            self.fill_mask(self.mask(ring), outline)

    def ellipse(self, b, fill=None, outline=None, width=1.0):
        if fill is not None:
            self.fill_mask(self.mask(lambda d: d.ellipse(self.box(b), fill=255)), fill)
        if outline is not None:
            self.fill_mask(self.mask(lambda d: d.ellipse(self.box(b), outline=255, width=self.s(width))), outline)

    def line(self, pts, color, width, round_caps=True):
        sp = [(self.s(x), self.s(y)) for x, y in pts]
        w = self.s(width)

        def draw(d):
            d.line(sp, fill=255, width=w, joint="curve")
            if round_caps:
                for x, y in (sp[0], sp[-1]):
                    d.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=255)
        self.fill_mask(self.mask(draw), color)

    def arc(self, b, start, end, color, width):
        self.fill_mask(self.mask(lambda d: d.arc(self.box(b), start, end, fill=255, width=self.s(width))), color)

    def polygon(self, pts, color):
        sp = [(self.s(x), self.s(y)) for x, y in pts]
        self.fill_mask(self.mask(lambda d: d.polygon(sp, fill=255)), color)

    def text(self, xy, s, fnt, color, anchor="mm"):
        layer = self.new_layer()
        ImageDraw.Draw(layer).text((self.s(xy[0]), self.s(xy[1])), s, font=fnt, fill=color, anchor=anchor)
        self.put(layer)

    # Paints -------------------------------------------------------------------------------------
    def vgradient(self, top, bottom, b=None, top_alpha=1.0, bottom_alpha=1.0):
        """A vertical gradient image of canvas size, running over the rows of box b."""
        b = b or (0, 0, self.w, self.h)
        y0, y1 = self.s(b[1]), self.s(b[3])
        ramp = Image.linear_gradient("L").resize((1, max(1, y1 - y0)), Image.BILINEAR)
        col = Image.new("RGBA", (1, self.img.height), rgba(top, top_alpha))
        for y in range(self.img.height):
            t = 0.0 if y < y0 else 1.0 if y >= y1 else ramp.getpixel((0, y - y0)) / 255.0
            c = mix(top, bottom, t)
            a = top_alpha + (bottom_alpha - top_alpha) * t
            col.putpixel((0, y), rgba(c, a))
        return col.resize(self.img.size, Image.NEAREST)

    def hgradient(self, left, right, b):
        x0, x1 = self.s(b[0]), self.s(b[2])
        row = Image.new("RGBA", (self.img.width, 1))
        for x in range(self.img.width):
            t = 0.0 if x < x0 else 1.0 if x >= x1 else (x - x0) / max(1, x1 - x0 - 1)
            row.putpixel((x, 0), rgba(mix(left, right, t)))
        return row.resize(self.img.size, Image.NEAREST)

    def glow(self, cx, cy, radius, color, alpha):
        """A soft round light: alpha falls off smoothly from the centre to the radius."""
        size = self.s(radius * 2)
        g = Image.radial_gradient("L").resize((size, size), Image.BILINEAR)
        # the gradient reads 181 at the middle of each side (the radius) and 255 in the corners
        g = Image.eval(g, lambda v: round(alpha * 255 * max(0.0, 1.0 - v / 181.0) ** 2.2))
        layer = self.new_layer()
        spot = Image.new("RGBA", (size, size), rgba(color))
        spot.putalpha(g)
        layer.paste(spot, (self.s(cx - radius), self.s(cy - radius)))
        self.put(layer)

    def shadow(self, b, r, blur, alpha, dy=0.0):
        m = self.mask(lambda d: d.rounded_rectangle(self.box((b[0], b[1] + dy, b[2], b[3] + dy)), self.s(r), fill=255))
        m = m.filter(ImageFilter.GaussianBlur(self.s(blur)))
        m = Image.eval(m, lambda v: round(v * alpha))
        self.fill_mask(m, (0, 0, 0, 255))

    def finish(self):
        return self.img.resize(self.size, Image.BOX)


# Shared drawings ----------------------------------------------------------------------------------

def logo_mark(c, x, y, size, shadow=True):
    """Tessaro's mark: a blue tile holding a white record ring."""
    b = (x, y, x + size, y + size)
    if shadow:
        c.shadow(b, size * 0.28, size * 0.12, 0.45, dy=size * 0.06)
    m = c.mask(lambda d: d.rounded_rectangle(c.box(b), c.s(size * 0.28), fill=255))
    c.fill_mask(m, c.vgradient(ACCENT_LIGHT, ACCENT_DEEP, b))
    c.rrect(b, size * 0.28, outline=rgba(WHITE, 0.22), width=max(0.5, size / 60))
    cx, cy = x + size / 2, y + size / 2
    ring = size * 0.27
    c.ellipse((cx - ring, cy - ring, cx + ring, cy + ring), outline=rgba(WHITE), width=size * 0.075)
    dot = size * 0.12
    c.ellipse((cx - dot, cy - dot, cx + dot, cy + dot), fill=rgba(WHITE))


def page_base(footer):
    c = Canvas(*PAGE_SIZE)
    c.put(c.vgradient(BG_TOP, BG_BOTTOM))
    c.glow(560, -40, 300, (46, 110, 220), 0.35)
    c.glow(90, 430, 260, (30, 90, 190), 0.30)
    if footer:
        c.rrect((0, 352, 700, 420), 0, fill=rgba((4, 12, 30), 0.35))
        c.rrect((0, 352, 700, 353), 0, fill=rgba(WHITE, 0.07))
    return c


def title_brand(c, caption="安装向导"):
    logo_mark(c, 22, 16, 22)
    c.text((52, 27), "Tessaro", font(14, True), rgba(WHITE), anchor="lm")
    c.text((116, 27.5), caption, font(12), rgba(TAGLINE, 0.85), anchor="lm")


def window_card(c, b, alpha=1.0):
    """A faint application window, part of the welcome illustration."""
    x0, y0, x1, y1 = b
    c.shadow(b, 8, 10, 0.35 * alpha, dy=6)
    c.rrect(b, 8, fill=rgba((22, 46, 94), 0.85 * alpha))
    c.rrect(b, 8, outline=rgba(WHITE, 0.14 * alpha), width=1)
    for i, col in enumerate(((255, 95, 87), (254, 188, 46), (40, 200, 64))):
        cx = x0 + 12 + i * 9
        c.ellipse((cx - 2.5, y0 + 9.5, cx + 2.5, y0 + 14.5), fill=rgba(col, 0.8 * alpha))
    c.rrect((x0, y0 + 23, x1, y0 + 24), 0, fill=rgba(WHITE, 0.08 * alpha))
    return x0, y0 + 24, x1, y1


def check_glyph(c, cx, cy, size, color, width):
    c.line([(cx - size * 0.42, cy + size * 0.02), (cx - size * 0.12, cy + size * 0.32),
            (cx + size * 0.45, cy - size * 0.3)], color, width)


# Page backgrounds -------------------------------------------------------------------------------

def page_welcome():
    c = page_base(footer=True)
    title_brand(c)
    # left card: a recording in progress
    ix0, iy0, ix1, iy1 = window_card(c, (44, 92, 194, 204), 0.9)
    c.rrect((ix0 + 12, iy0 + 12, ix1 - 12, iy1 - 30), 5, fill=c.vgradient((40, 92, 170), (26, 58, 120), (0, iy0, 0, iy1)))
    c.polygon([(110, iy0 + 28), (110, iy0 + 50), (129, iy0 + 39)], rgba(WHITE, 0.85))
    c.rrect((ix0 + 12, iy1 - 18, ix1 - 12, iy1 - 14), 2, fill=rgba(WHITE, 0.12))
    c.rrect((ix0 + 12, iy1 - 18, ix0 + 80, iy1 - 14), 2, fill=rgba(ACCENT, 0.95))
    c.ellipse((ix1 - 24, iy0 + 18, ix1 - 16, iy0 + 26), fill=rgba((255, 84, 84), 0.95))
    # right card: a timeline
    jx0, jy0, jx1, jy1 = window_card(c, (506, 92, 656, 204), 0.9)
    for i, (w, col) in enumerate(((96, ACCENT), (70, (122, 96, 255)), (110, (46, 197, 255)))):
        y = jy0 + 14 + i * 18
        c.rrect((jx0 + 12, y, jx0 + 12 + w, y + 10), 3, fill=rgba(col, 0.75))
    c.rrect((jx0 + 58, jy0 + 8, jx0 + 60, jy1 - 10), 1, fill=rgba(WHITE, 0.9))
    c.polygon([(jx0 + 53, jy0 + 6), (jx0 + 65, jy0 + 6), (jx0 + 59, jy0 + 12)], rgba(WHITE, 0.9))
    # centre: the mark with rings, the name and the tagline
    c.glow(350, 104, 120, ACCENT, 0.35)
    for r, a in ((58, 0.16), (76, 0.09), (94, 0.05)):
        c.ellipse((350 - r, 104 - r, 350 + r, 104 + r), outline=rgba(ACCENT_LIGHT, a), width=1)
    logo_mark(c, 314, 68, 72)
    c.text((350, 176), "Tessaro", font(40, True), rgba(WHITE))
    c.text((350, 216), "高清录屏 · 轻松剪辑 · 一键分享", font(15), rgba(TAGLINE))
    return c.finish()


def folder_glyph(c, cx, cy, w, alpha):
    h = w * 0.74
    x0, y0 = cx - w / 2, cy - h / 2
    c.shadow((x0, y0, x0 + w, y0 + h), 8, 10, 0.4 * alpha, dy=5)
    c.rrect((x0, y0, x0 + w * 0.45, y0 + h * 0.3), 5, fill=rgba((70, 140, 235), alpha))
    c.rrect((x0, y0 + h * 0.14, x0 + w, y0 + h), 7,
            fill=c.vgradient(ACCENT_LIGHT, ACCENT_DEEP, (0, y0 + h * 0.14, 0, y0 + h)))
    c.rrect((x0, y0 + h * 0.14, x0 + w, y0 + h), 7, outline=rgba(WHITE, 0.2), width=1)
    # an arrow into the folder
    c.line([(cx, cy - h * 0.05), (cx, cy + h * 0.3)], rgba(WHITE), 3)
    c.line([(cx - w * 0.13, cy + h * 0.16), (cx, cy + h * 0.3), (cx + w * 0.13, cy + h * 0.16)], rgba(WHITE), 3)


def page_options():
    c = page_base(footer=True)
    c.text((350, 22), "自定义安装", font(15, True), rgba(WHITE, 0.92))
    c.text((131, 130), "程序将安装到所选位置的 zkbin 子文件夹中", font(12), rgba(HINT), anchor="lm")
    c.glow(350, 294, 110, ACCENT, 0.22)
    folder_glyph(c, 350, 292, 56, 1.0)
    c.text((350, 335), "Tessaro · 选择你喜欢的位置，随时开始录制", font(13), rgba(TAGLINE, 0.9))
    return c.finish()


def page_progress(title="正在安装 Tessaro", tagline="稍候片刻，高清录屏即将就绪", caption="安装向导", upward=False):
    c = page_base(footer=False)
    title_brand(c, caption)
    cx = 350
    c.glow(cx, 138, 150, ACCENT, 0.30)
    for r, a in ((86, 0.10), (108, 0.06)):
        c.arc((cx - r, 138 - r, cx + r, 138 + r), 200, 340, rgba(ACCENT_LIGHT, a), 1)
    # a monitor receiving the product
    scr = (cx - 84, 74, cx + 84, 180)
    c.shadow(scr, 10, 14, 0.5, dy=8)
    c.rrect(scr, 10, fill=rgba((24, 50, 102)))
    c.rrect(scr, 10, outline=rgba(WHITE, 0.18), width=1.2)
    inner = (scr[0] + 8, scr[1] + 8, scr[2] - 8, scr[3] - 8)
    c.rrect(inner, 5, fill=c.vgradient((38, 92, 178), (22, 52, 112), inner))
    c.rrect((cx - 12, 180, cx + 12, 196), 2, fill=rgba((30, 62, 122)))
    c.rrect((cx - 40, 194, cx + 40, 200), 3, fill=rgba((40, 80, 150)))
    logo_mark(c, cx - 22, 100, 44)
    c.ellipse((cx + 30, 90, cx + 58, 118), fill=rgba(ACCENT))
    c.line([(cx + 44, 97), (cx + 44, 110)], rgba(WHITE), 2.4)
    if upward:
        c.line([(cx + 38.5, 102.5), (cx + 44, 97), (cx + 49.5, 102.5)], rgba(WHITE), 2.4)
    else:
        c.line([(cx + 38.5, 104.5), (cx + 44, 110), (cx + 49.5, 104.5)], rgba(WHITE), 2.4)
    for (px, py, s, a) in ((cx - 128, 96, 8, 0.5), (cx + 118, 158, 6, 0.45), (cx - 110, 170, 5, 0.35),
                           (cx + 136, 84, 5, 0.35)):
        c.rrect((px, py, px + s, py + s), 1.5, fill=rgba(ACCENT_LIGHT, a))
    c.text((cx, 240), title, font(22, True), rgba(WHITE))
    c.text((cx, 276), tagline, font(14), rgba(TAGLINE))
    c.text((648, 377.5), "Tessaro 9.0.3", font(12), rgba(HINT, 0.9), anchor="rm")
    return c.finish()


def feature(c, cx, top, caption, glyph):
    tile = (cx - 22, top, cx + 22, top + 44)
    c.rrect(tile, 12, fill=rgba(WHITE, 0.07))
    c.rrect(tile, 12, outline=rgba(WHITE, 0.12), width=1)
    glyph(c, cx, top + 22)
    c.text((cx, top + 62), caption, font(13), rgba((190, 206, 232)))


def glyph_record(c, x, y):
    c.ellipse((x - 11, y - 11, x + 11, y + 11), outline=rgba(ACCENT_LIGHT), width=2)
    c.ellipse((x - 5, y - 5, x + 5, y + 5), fill=rgba((255, 96, 96)))


def glyph_cut(c, x, y):
    col = rgba(ACCENT_LIGHT)
    c.ellipse((x - 11, y + 3, x - 3, y + 11), outline=col, width=2)
    c.ellipse((x + 3, y + 3, x + 11, y + 11), outline=col, width=2)
    c.line([(x - 4.5, y + 4.5), (x + 8, y - 11)], col, 2)
    c.line([(x + 4.5, y + 4.5), (x - 8, y - 11)], col, 2)


def glyph_share(c, x, y):
    col = rgba(ACCENT_LIGHT)
    c.line([(x - 7, y - 2), (x - 10, y - 2), (x - 10, y + 10), (x + 10, y + 10), (x + 10, y - 2), (x + 7, y - 2)],
           col, 2)
    c.line([(x, y + 4), (x, y - 11)], col, 2)
    c.line([(x - 5.5, y - 5.5), (x, y - 11), (x + 5.5, y - 5.5)], col, 2)


def page_done():
    c = page_base(footer=False)
    title_brand(c)
    cy = 86
    c.glow(350, cy, 110, (60, 200, 140), 0.20)
    c.glow(350, cy, 90, ACCENT, 0.22)
    c.ellipse((350 - 42, cy - 42, 350 + 42, cy + 42), outline=rgba(ACCENT_LIGHT, 0.12), width=1)
    disc = (350 - 28, cy - 28, 350 + 28, cy + 28)
    c.shadow(disc, 28, 8, 0.45, dy=4)
    m = c.mask(lambda d: d.ellipse(c.box(disc), fill=255))
    c.fill_mask(m, c.vgradient((84, 214, 160), (36, 160, 120), disc))
    check_glyph(c, 350, cy + 1, 24, rgba(WHITE), 4.0)
    c.text((350, 141), "安装完成", font(22, True), rgba(WHITE))
    c.text((350, 171), "Tessaro 已准备就绪，开启你的创作之旅", font(13), rgba(TAGLINE))
    c.rrect((150, 270, 550, 271), 0, fill=rgba(WHITE, 0.07))
    for cx, cap, g in ((230, "高清录制", glyph_record), (350, "一键剪辑", glyph_cut), (470, "极速分享", glyph_share)):
        feature(c, cx, 290, cap, g)
    return c.finish()


def page_uninstall_confirm():
    """The question and the hint below the mark are labels of the skin."""
    c = page_base(footer=False)
    title_brand(c, "卸载向导")
    c.glow(350, 112, 120, ACCENT, 0.30)
    for r, a in ((50, 0.16), (66, 0.09), (82, 0.05)):
        c.ellipse((350 - r, 112 - r, 350 + r, 112 + r), outline=rgba(ACCENT_LIGHT, a), width=1)
    logo_mark(c, 318, 80, 64)
    return c.finish()


def page_uninstall_done():
    """The outcome and what was kept are labels of the skin."""
    c = page_base(footer=False)
    title_brand(c, "卸载向导")
    c.glow(350, 84, 100, ACCENT, 0.22)
    c.ellipse((350 - 42, 84 - 42, 350 + 42, 84 + 42), outline=rgba(ACCENT_LIGHT, 0.12), width=1)
    logo_mark(c, 322, 56, 56)
    return c.finish()


def round_window_corners(img):
    """Clears the pixels outside the window's round corners, so a layered window shows them."""
    m = Image.new("L", (img.width * SCALE, img.height * SCALE), 0)
    radius = round(WINDOW_CORNER_RADIUS * ZOOM * SCALE)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, m.width - 1, m.height - 1], radius, fill=255)
    m = m.resize(img.size, Image.BOX)
    img.putalpha(ImageChops.multiply(img.getchannel("A"), m))
    return img


# Buttons and small parts -------------------------------------------------------------------------

def big_button(label, state, muted=False):
    c = Canvas(208, 44)
    top, bottom = ({
        "normal": ((64, 86, 124), (44, 64, 100)),
        "hover": ((80, 104, 146), (56, 78, 118)),
        "press": ((40, 58, 92), (32, 48, 80)),
    } if muted else {
        "normal": ((84, 174, 255), (44, 132, 246)),
        "hover": ((112, 190, 255), (62, 150, 252)),
        "press": ((46, 128, 232), (32, 104, 206)),
    })[state]
    b = (0, 0, 208, 44)
    m = c.mask(lambda d: d.rounded_rectangle(c.box(b), c.s(22), fill=255))
    c.fill_mask(m, c.vgradient(top, bottom))
    if state != "press":
        c.fill_mask(c.mask(lambda d: d.rounded_rectangle(c.box((1, 1, 207, 22)), c.s(21), fill=255)),
                    c.vgradient(WHITE, WHITE, (0, 1, 0, 22), 0.16, 0.0))
    c.rrect(b, 22, outline=rgba(WHITE, 0.22 if state != "press" else 0.1), width=1)
    dy = 0.5 if state == "press" else 0
    c.text((104, 21.5 + dy), label, font(17, True), rgba((10, 40, 100), 0.25), anchor="mm")
    c.text((104, 20.8 + dy), label, font(17, True), rgba(WHITE), anchor="mm")
    return c.finish()


def title_glyph(kind, state):
    c = Canvas(24, 24)
    if state != "normal":
        if kind == "close":
            c.rrect((0, 0, 24, 24), 6, fill=rgba(CLOSE_HOT if state == "hover" else CLOSE_PUSHED))
        else:
            c.rrect((0, 0, 24, 24), 6, fill=rgba(WHITE, 0.16 if state == "hover" else 0.09))
    col = rgba((214, 226, 244), 0.85) if state == "normal" else rgba(WHITE)
    if kind == "close":
        c.line([(7.5, 7.5), (16.5, 16.5)], col, 1.6)
        c.line([(16.5, 7.5), (7.5, 16.5)], col, 1.6)
    else:
        c.rrect((7, 11, 17, 13), 0.5, fill=rgba(col[:3], col[3] / 255 * 0.9))  # whole rows 11 and 12: crisp
    return c.finish()


def check_box(selected):
    c = Canvas(18, 18)
    b = (1, 1, 17, 17)
    if selected:
        c.rrect(b, 4, fill=c.vgradient(ACCENT_LIGHT, ACCENT, b))
        check_glyph(c, 9, 9.2, 9.5, rgba(WHITE), 1.9)
    else:
        c.rrect(b, 4, fill=rgba(WHITE, 0.06))
        c.rrect(b, 4, outline=rgba(WHITE, 0.62), width=1.3)
    return c.finish()


def path_box():
    c = Canvas(520, 40)
    b = (0, 0, 520, 40)
    c.rrect(b, 8, fill=rgba((3, 10, 28), 0.42))
    c.rrect(b, 8, outline=rgba(WHITE, 0.2), width=1)
    return c.finish()


def modify_button(state):
    c = Canvas(60, 32)
    top, bottom = {
        "normal": ((236, 243, 253), (210, 226, 248)),
        "hover": ((255, 255, 255), (228, 239, 255)),
        "press": ((196, 214, 240), (182, 202, 232)),
    }[state]
    c.rrect((0, 0, 60, 32), 6, fill=c.vgradient(top, bottom))
    return c.finish()


def return_button(state):
    c = Canvas(100, 24)
    color = {"normal": RETURN_NORMAL, "hover": RETURN_HOT, "press": RETURN_PUSHED}[state]
    if state != "normal":
        c.rrect((0, 0, 66, 24), 12, fill=rgba(ACCENT, 0.12 if state == "hover" else 0.2))
    c.line([(16, 6.5), (10.5, 12), (16, 17.5)], rgba(color), 1.8)
    return c.finish()


def progress_track():
    c = Canvas(594, 14)
    c.rrect((0, 0, 594, 14), 7, fill=rgba(WHITE, 0.12))
    c.rrect((0, 0, 594, 14), 7, outline=rgba(WHITE, 0.08), width=1)
    return c.finish()


def progress_fill():
    c = Canvas(594, 14)
    b = (0, 0, 594, 14)
    m = c.mask(lambda d: d.rounded_rectangle(c.box(b), c.s(7), fill=255))
    c.fill_mask(m, c.hgradient((44, 128, 244), (96, 200, 255), b))
    c.fill_mask(c.mask(lambda d: d.rounded_rectangle(c.box((1, 1, 593, 7)), c.s(6), fill=255)),
                c.vgradient(WHITE, WHITE, (0, 1, 0, 7), 0.3, 0.0))
    return c.finish()


def scroll_thumb(state):
    c = Canvas(9, 40)
    c.rrect((1.5, 0, 7.5, 40), 3, fill=rgba(WHITE, {"normal": 0.22, "hover": 0.36, "press": 0.5}[state]))
    return c.finish()


def scrollbar_sprite():
    """A 48x64 sheet for the horizontal scroll bar: rows of left arrows, right arrows, thumbs and the
    track, columns normal/hot/pushed; magenta is the mask colour. Drawn without smoothing: the mask
    keys out exact magenta only."""
    magenta = (255, 0, 255)

    def z(v):
        return round(v * ZOOM)
    img = Image.new("RGB", (z(48), z(64)), magenta)
    d = ImageDraw.Draw(img)
    shades = ((92, 118, 160), (130, 160, 205), (70, 96, 140))
    for col, shade in enumerate(shades):
        x = col * 16
        d.polygon([(z(x + 10), z(4)), (z(x + 10), z(12)), (z(x + 5), z(8))], fill=shade)
        d.polygon([(z(x + 6), z(20)), (z(x + 6), z(28)), (z(x + 11), z(24))], fill=shade)
        d.rounded_rectangle([z(x + 1), z(36), z(x + 15) - 1, z(44) - 1], z(3), fill=shade)
    d.rectangle([0, z(52), z(16) - 1, z(60) - 1], fill=(20, 36, 70))
    return img


def app_icon(size):
    c = Canvas(size, size)
    inset = size / 32
    logo_mark(c, inset, inset, size - 2 * inset, shadow=False)
    return c.finish()


ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


# Output ----------------------------------------------------------------------------------------

def build():
    images = {
        f"{SUB}/table_bg_install_01.png": round_window_corners(page_welcome()),
        f"{SUB}/table_bg_install_02.png": round_window_corners(page_options()),
        f"{SUB}/table_bg_install_03.png": round_window_corners(page_progress()),
        f"{SUB}/table_bg_install_04.png": round_window_corners(page_done()),
        f"{SUB}/table_bg_uninstall_01.png": round_window_corners(page_uninstall_confirm()),
        f"{SUB}/table_bg_uninstall_02.png": round_window_corners(
            page_progress("正在卸载 Tessaro", "稍候片刻，正在移除程序文件和快捷方式", "卸载向导", upward=True)),
        f"{SUB}/table_bg_uninstall_03.png": round_window_corners(page_uninstall_done()),
        f"{SUB}/btn_uninstall.png": big_button("卸载", "normal"),
        f"{SUB}/btn_uninstall_hover.png": big_button("卸载", "hover"),
        f"{SUB}/btn_uninstall_press.png": big_button("卸载", "press"),
        f"{SUB}/btn_cancel.png": big_button("取消", "normal", muted=True),
        f"{SUB}/btn_cancel_hover.png": big_button("取消", "hover", muted=True),
        f"{SUB}/btn_cancel_press.png": big_button("取消", "press", muted=True),
        f"{SUB}/btn_finish.png": big_button("完成", "normal"),
        f"{SUB}/btn_finish_hover.png": big_button("完成", "hover"),
        f"{SUB}/btn_finish_press.png": big_button("完成", "press"),
        f"{SUB}/icon_public_hide.png": title_glyph("min", "normal"),
        f"{SUB}/icon_public_hide_hover.png": title_glyph("min", "hover"),
        f"{SUB}/icon_public_hide_press.png": title_glyph("min", "press"),
        f"{SUB}/icon_public_close.png": title_glyph("close", "normal"),
        f"{SUB}/icon_public_close_hover.png": title_glyph("close", "hover"),
        f"{SUB}/icon_public_close_press.png": title_glyph("close", "press"),
        f"{SUB}/btn_install.png": big_button("立即安装", "normal"),
        f"{SUB}/btn_install_hover.png": big_button("立即安装", "hover"),
        f"{SUB}/btn_install_press.png": big_button("立即安装", "press"),
        f"{SUB}/btn_experience.png": big_button("立即体验", "normal"),
        f"{SUB}/btn_experience_hover.png": big_button("立即体验", "hover"),
        f"{SUB}/btn_experience_press.png": big_button("立即体验", "press"),
        f"{SUB}/btn_unchecked.png": check_box(False),
        f"{SUB}/btn_select.png": check_box(True),
        f"{SUB}/table_bg_Installation_path.png": path_box(),
        f"{SUB}/btn_modify.png": modify_button("normal"),
        f"{SUB}/btn_modify_hover.png": modify_button("hover"),
        f"{SUB}/btn_modify_press.png": modify_button("press"),
        f"{SUB}/btn_return.png": return_button("normal"),
        f"{SUB}/btn_return_hover.png": return_button("hover"),
        f"{SUB}/btn_return_press.png": return_button("press"),
        f"{SUB}/table_bg_progress_bar.png": progress_track(),
        f"{SUB}/table_progress_bar.png": progress_fill(),
        "image15/scrollbar_thumb.png": scroll_thumb("normal"),
        "image15/scrollbar_thumb_hover.png": scroll_thumb("hover"),
        "image15/scrollbar_thumb_press.png": scroll_thumb("press"),
    }
    return images


def scaled_name(name, percent):
    """The name the skin looks an image up under at a display scale: every "." becomes "@150." and
    the like."""
    return name if percent == 100 else name.replace(".", f"@{percent}.")


def build_all():
    """Every image at every display scale, by file name."""
    global ZOOM
    images = {}
    for percent, zoom in ZOOMS.items():
        ZOOM = zoom
        for name, img in build().items():
            images[scaled_name(name, percent)] = img
        images[scaled_name("scrollbar.bmp", percent)] = scrollbar_sprite()
    ZOOM = 1.0
    return images


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description="Draws the skin's images and the programs' icon.")
    parser.add_argument("--skin", type=pathlib.Path, default=root / "assets/skin", help="skin folder to write into")
    parser.add_argument("--icon", type=pathlib.Path, default=root / "assets/icon/tessaro.ico", help="icon file to write")
    args = parser.parse_args()
    for name, img in build_all().items():
        path = args.skin / name
        path.parent.mkdir(parents=True, exist_ok=True)
        img.save(path, "BMP" if path.suffix == ".bmp" else "PNG", optimize=True)
    icons = [app_icon(n) for n in ICON_SIZES]
    args.icon.parent.mkdir(parents=True, exist_ok=True)
    icons[-1].save(args.icon, "ICO", sizes=[(n, n) for n in ICON_SIZES], append_images=icons[:-1])


if __name__ == "__main__":
    main()
