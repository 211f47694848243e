#!/usr/bin/python3
"""Draws the skin windows' pictures and the program icon into assets/.

The windows show their pictures unscaled from the top-left corner, and their click
areas are invisible, so each picture marks where to click. Coordinates below are
the click areas' own (pixels, 15 twips each). Run again after changing a picture;
the results are committed. Needs python3-pil and fonts-dejavu-core (apt-get).
"""
import os
from PIL import Image, ImageDraw, ImageFont

ORANGE = (255, 128, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
CREAM = (255, 241, 224)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
FONTS = "/usr/share/fonts/truetype/dejavu/"


def font(size, bold=False):
    return ImageFont.truetype(FONTS + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), size)


def gradient(width, height, edge, middle):
    """Horizontal gradient: `edge` colour at both sides, `middle` in the centre."""
    img = Image.new("RGB", (width, height))
    px = img.load()
    for x in range(width):
        t = 1 - abs(2 * x / (width - 1) - 1)
        colour = tuple(round(e + (m - e) * t) for e, m in zip(edge, middle))
        for y in range(height):
            px[x, y] = colour
    return img


def centred(draw, box, text, fnt, fill):
    left, top, right, bottom = box
    l, t, r, b = draw.textbbox((0, 0), text, font=fnt)
    draw.text((left + (right - left - (r - l)) / 2 - l, top + (bottom - top - (b - t)) / 2 - t),
              text, font=fnt, fill=fill)


def save_bmp(img, name):
    # 256 colours with a palette of their own: a third of the bytes of 24-bit pictures,
    # which keeps loafix.exe small, and no visible change for gradients and text.
    img = img.convert("RGB").quantize(256, method=Image.Quantize.MEDIANCUT,
                                      dither=Image.Dither.NONE)
    img.save(os.path.join(OUT, name), format="BMP")


def splash():
    # 288 x 178; the window shows the top-left 287 x 177.
    img = gradient(288, 178, BLACK, ORANGE)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 286, 176), outline=ORANGE, width=2)
    centred(d, (0, 22, 287, 82), "l\u00f2\u00e0f\u00edx\u00b9", font(44, True), WHITE)
    centred(d, (0, 84, 287, 108), "the idle counter \u00b7 by zed\u00b2", font(14), CREAM)
    d.rounded_rectangle((78, 126, 209, 154), radius=6, fill=BLACK, outline=WHITE)
    centred(d, (78, 126, 209, 154), "click to start", font(14, True), ORANGE)
    save_bmp(img, "splash.bmp")


def strip():
    # 144 x 22; the window shows 144 x 21. Menu area at 2,2 (11 x 17), counters from
    # x 69 to 127, close area at 129,7 (11 x 10).
    img = gradient(144, 22, BLACK, ORANGE)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 143, 20), outline=BLACK)
    for y in (5, 9, 13):  # the menu mark: three bars
        d.rectangle((3, y, 12, y + 1), fill=WHITE)
    d.rounded_rectangle((17, 3, 64, 17), radius=3, fill=BLACK)
    d.text((20, 3), "idle", font=font(10, True), fill=ORANGE)
    d.rounded_rectangle((66, 2, 127, 18), radius=3, fill=CREAM, outline=BLACK)
    d.line((130, 8, 138, 16), fill=WHITE, width=2)  # the close mark
    d.line((130, 16, 138, 8), fill=WHITE, width=2)
    save_bmp(img, "strip.bmp")


def linksite():
    # 252 x 108; the window shows the top 88 rows. done under 80,70 (40 x 15),
    # cancel under 127,72 (48 x 13). The boxes sit at x 66..247.
    img = gradient(252, 108, BLACK, ORANGE)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((80, 70, 119, 84), radius=4, fill=BLACK, outline=WHITE)
    centred(d, (80, 70, 120, 85), "done", font(10, True), WHITE)
    d.rounded_rectangle((127, 72, 174, 84), radius=4, fill=BLACK, outline=WHITE)
    centred(d, (127, 72, 175, 85), "cancel", font(10, True), WHITE)
    save_bmp(img, "linksite.bmp")


def feedback():
    # 144 x 144; the window shows 143 x 142. Text box at 11,22 (122 x 97), send under
    # 53,124 (39 x 15), close under 131,2 (11 x 13).
    img = gradient(144, 144, BLACK, ORANGE)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 142, 141), outline=BLACK)
    d.text((8, 3), "email zed\u00b2", font=font(11, True), fill=WHITE)
    d.rectangle((10, 21, 133, 119), outline=BLACK)
    d.line((133, 4, 140, 12), fill=WHITE, width=2)
    d.line((133, 12, 140, 4), fill=WHITE, width=2)
    d.rounded_rectangle((53, 124, 91, 138), radius=4, fill=BLACK, outline=WHITE)
    centred(d, (53, 124, 92, 139), "send", font(10, True), WHITE)
    save_bmp(img, "feedback.bmp")


def icon():
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((0, 0, 31, 31), radius=7, fill=ORANGE, outline=BLACK, width=2)
    centred(d, (0, 0, 32, 30), "\u00ac", font(30, True), BLACK)
    img.save(os.path.join(OUT, "loafix.ico"), format="ICO", sizes=[(32, 32)])
    img.save(os.path.join(OUT, "icon.png"))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    splash()
    strip()
    linksite()
    feedback()
    icon()
