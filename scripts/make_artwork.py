#!/usr/bin/python3
"""Generate Morrowby's artwork into res/art/.

Writes, with the splash, the padlock and the moon drawn anew at each display
scale of 100, 125, 150, 175 and 200 % (not resampled, so edges stay crisp and
the magenta key stays exact: the color key makes only RGB(255, 0, 255)
see-through):
  res/art/splash.bmp    531x449, 8 bpp palette, lilac cloud + child portrait on
                        magenta key (the splash at 100 %)
  res/art/splash_N.png  the same at N % (664x561, 797x674, 929x786, 1062x898),
                        its text boxes scaled with it
  res/art/padlock.bmp   128x128, 24 bpp, open golden padlock on magenta key
  res/art/padlock_N.png the same at N % (160, 192, 224 and 256 px square)
  res/art/moon_N.png    a sleepy crescent moon with two stars on magenta key, the
                        padlock's size at N % from 100 up (the last minute before
                        the screen goes dark)
  res/art/eye.bmp       16x13, 32 bpp (opaque), small eye glyph
  res/art/morrowby.ico  toddler face, 16/24/32/48/64/128/256 px, 32-bit RGBA
                        (48 px and up stored as PNG, the rest as bitmaps)
  res/art/locked.ico    same face with a closed padlock, same sizes

Pictures with more than 255 colors (the splash: about 1,000, mostly edge
shades) are reduced to a palette of 256 without dithering, and every PNG is
stored with a palette: that keeps the program well under 1 MB.

Run from the repository root with Debian's Python (it ships PIL):
    /usr/bin/python3 scripts/make_artwork.py
Optionally pass a path to also write an enlarged preview sheet (PNG), e.g.
    /usr/bin/python3 scripts/make_artwork.py --preview /tmp/build-art-preview.png

Everything is drawn from simple shapes, so the output is byte-identical on
every run.
"""

import io
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor for anti-aliased drawing
MAGENTA = (255, 0, 255)
LILAC = (211, 190, 253)
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# Display scales in percent the splash, the padlock and the moon are drawn
# for: each is drawn anew at every scale, not resampled, so that edges stay
# crisp and the key color stays exact.
SCALES = (100, 125, 150, 175, 200)
PADLOCK_SIZE = 128  # the padlock and the moon, square, at 100 %
# Icon frames this size and larger are stored PNG-compressed, as Windows Vista
# and later read them (a 32-bit bitmap frame of 256 px alone is 256 KiB). The
# small frames stay bitmaps: they are tiny either way, and the tray and the
# window captions use them.
ICON_PNG_FROM = 48

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "res", "art")

# Palette shared by the portrait and the icons.
SKIN = (255, 214, 178)
SKIN_SHADE = (240, 184, 146)
SKIN_LINE = (176, 112, 84)
HAIR = (150, 92, 48)
HAIR_DARK = (104, 60, 30)
EYE = (52, 36, 34)
CHEEK = (255, 140, 150)
MOUTH = (176, 58, 72)
TONGUE = (255, 138, 150)
GOLD_TOP = (255, 218, 84)
GOLD_BOTTOM = (238, 168, 28)
GOLD_LINE = (150, 94, 10)


# --------------------------------------------------------------------------
# Generic helpers
# --------------------------------------------------------------------------

class Pen:
    """ImageDraw wrapper working in unscaled units on a supersampled canvas."""

    def __init__(self, image, scale):
        self.img = image
        self.d = ImageDraw.Draw(image)
        self.s = scale

    def _box(self, x0, y0, x1, y1):
        s = self.s
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=0):
        self.d.ellipse(self._box(cx - rx, cy - ry, cx + rx, cy + ry), fill=fill,
                       outline=outline, width=max(0, round(width * self.s)))

    def circle(self, cx, cy, r, **kw):
        self.ellipse(cx, cy, r, r, **kw)

    def rect(self, x0, y0, x1, y1, fill=None, radius=0, outline=None, width=0):
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=round(radius * self.s),
                                 fill=fill, outline=outline,
                                 width=max(0, round(width * self.s)))

    def polygon(self, pts, fill=None):
        self.d.polygon([(x * self.s, y * self.s) for x, y in pts], fill=fill)

    def line(self, pts, fill, width, round_caps=True):
        s = self.s
        w = max(1, round(width * s))
        self.d.line([(x * s, y * s) for x, y in pts], fill=fill, width=w, joint="curve")
        if round_caps:
            for x, y in (pts[0], pts[-1]):
                self.circle(x, y, w / s / 2, fill=fill)

    def arc(self, cx, cy, rx, ry, start, end, fill, width):
        """Arc with round caps; angles in degrees, clockwise from 3 o'clock."""
        pts = []
        steps = max(8, int(abs(end - start) / 3))
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
        self.line(pts, fill, width)

    def chord(self, cx, cy, rx, ry, start, end, fill):
        self.d.chord(self._box(cx - rx, cy - ry, cx + rx, cy + ry), start, end, fill=fill)


def scaled(v, k):
    """A length of the 100 % artwork at scale k, rounded half up (so that
    796.5 becomes 797 as the eye expects, not 796 as round() gives)."""
    return math.floor(v * k + 0.5)


def vgradient(w, h, top, bottom):
    """RGB image with a vertical linear gradient."""
    col = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        col.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return col.resize((w, h), Image.NEAREST)


def downsample(img, w, h):
    """Box-filter a supersampled image down (RGBA is premultiplied by PIL)."""
    return img.resize((w, h), Image.BOX)


def hard_mask(alpha):
    """Threshold an anti-aliased mask so the edge has no partial pixels."""
    return alpha.point(lambda v: 255 if v >= 128 else 0)


def on_magenta(rgba):
    """Flatten RGBA onto the magenta color key with a hard-edged mask."""
    out = Image.new("RGB", rgba.size, MAGENTA)
    out.paste(rgba.convert("RGB"), (0, 0), hard_mask(rgba.getchannel("A")))
    return avoid_key_color(out, hard_mask(rgba.getchannel("A")))


def avoid_key_color(img, mask):
    """Nudge any foreground pixel that happens to be exactly magenta."""
    px, mk = img.load(), mask.load()
    for y in range(img.height):
        for x in range(img.width):
            if mk[x, y] and px[x, y] == MAGENTA:
                px[x, y] = (254, 0, 254)
    return img


def font(size):
    for name in ("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                 "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"):
        if os.path.exists(name):
            return ImageFont.truetype(name, size)
    return ImageFont.load_default()


# --------------------------------------------------------------------------
# File writers (explicit, so headers are exactly what rc.exe / windres expect)
# --------------------------------------------------------------------------

def dib_header(w, h, bpp, image_size, colors=0):
    # BITMAPINFOHEADER: 2835 px/m = 72 dpi, `colors` palette entries.
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, image_size, 2835, 2835, colors,
                       colors)


def bmp_pixels(img, bpp):
    """Bottom-up palette indices or BGR(A) rows, padded to 4 bytes."""
    w, h = img.size
    if bpp == 8:
        raw = img.tobytes()
        stride_in, pad = w, (-w) % 4
    elif bpp == 24:
        raw = img.convert("RGB").tobytes("raw", "BGR")
        stride_in, pad = w * 3, (-w * 3) % 4
    else:
        raw = img.convert("RGBA").tobytes("raw", "BGRA")
        stride_in, pad = w * 4, 0
    rows = [raw[y * stride_in:(y + 1) * stride_in] + b"\0" * pad for y in range(h)]
    return b"".join(reversed(rows))


def write_bmp(path, img, bpp):
    """A .bmp of 32 or 24 bits, or of 8 bits with img's palette (mode P)."""
    pixels = bmp_pixels(img, bpp)
    palette = b""
    if bpp == 8:
        rgb = img.getpalette()
        palette = b"".join(bytes((rgb[i + 2], rgb[i + 1], rgb[i], 0))
                           for i in range(0, len(rgb), 3))
    header = dib_header(img.width, img.height, bpp, len(pixels), len(palette) // 4) + palette
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        f.write(header)
        f.write(pixels)


def ico_bmp_entry(img):
    """32-bit DIB icon entry: BGRA rows + 1-bit AND mask, height doubled."""
    w, h = img.size
    xor = bmp_pixels(img, 32)
    alpha = img.getchannel("A").load()
    stride = ((w + 31) // 32) * 4
    rows = []
    for y in range(h):
        row = bytearray(stride)
        for x in range(w):
            if alpha[x, y] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    and_mask = b"".join(reversed(rows))
    return dib_header(w, h * 2, 32, len(xor) + len(and_mask)) + xor + and_mask


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, format="PNG", optimize=False, compress_level=9)
    return buf.getvalue()


def to_palette(img):
    """The picture with at most 256 colors (mode P), without dithering: the
    key color is entry 0 and stays exact; every other color becomes its
    nearest palette entry, so no drawn pixel can turn into the key.

    Small pictures keep all their colors. For the rest, libimagequant picks
    255 colors from the picture's colors, each weighted by the square root of
    its pixel count, so that the shades along edges are not all given up to
    the large flat areas.
    """
    counts = [(n, c) for n, c in img.getcolors(1 << 24) if c != MAGENTA]
    colors = sorted(c for _, c in counts)
    if len(colors) > 255:
        sample = [c for n, c in counts for _ in range(math.ceil(math.sqrt(n)))]
        strip = Image.new("RGB", (len(sample), 1))
        strip.putdata(sample)
        rgb = strip.quantize(255, method=Image.Quantize.LIBIMAGEQUANT,
                             dither=Image.Dither.NONE).getpalette()[:3 * 255]
        colors = sorted(set(tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)) - {MAGENTA})

    def nearest(c):
        return min(range(len(colors)),
                   key=lambda i: sum((a - b) ** 2 for a, b in zip(c, colors[i])))

    index = {c: nearest(c) + 1 for _, c in counts}
    index[MAGENTA] = 0
    out = Image.new("P", img.size)
    out.putpalette([v for c in [MAGENTA] + colors for v in c])
    out.putdata([index[c] for c in img.getdata()])
    return out


def write_ico(path, images):
    """ICO with one 32-bit image per size; ICON_PNG_FROM px and up as PNG."""
    blobs = [png_bytes(im) if im.width >= ICON_PNG_FROM else ico_bmp_entry(im)
             for im in images]
    offset = 6 + 16 * len(images)
    out = [struct.pack("<HHH", 0, 1, len(images))]
    for im, blob in zip(images, blobs):
        out.append(struct.pack("<BBBBHHII", im.width % 256, im.height % 256, 0, 0, 1, 32,
                               len(blob), offset))
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(b"".join(out + blobs))


# --------------------------------------------------------------------------
# Splash: lilac cloud, child portrait, a few toys
# --------------------------------------------------------------------------

SPLASH_W, SPLASH_H = 531, 449
PORTRAIT_C, PORTRAIT_R = (100, 110), 71


def splash_size(k):
    return scaled(SPLASH_W, k), scaled(SPLASH_H, k)

# (cx, cy, rx, ry) puffs making up the cloud, plus a rounded core.
CLOUD_CORE = (22, 44, 512, 392, 60)
CLOUD_PUFFS = [
    (104, 108, 102, 102),   # behind the portrait
    (238, 62, 62, 52),
    (330, 48, 72, 46),
    (446, 62, 74, 54),
    (484, 106, 40, 54),
    (474, 160, 52, 90),
    (462, 230, 62, 58),
    (48, 196, 42, 50),
    (60, 262, 52, 52),
    (94, 330, 80, 70),
    (210, 378, 82, 62),
    (338, 384, 86, 58),
    (448, 330, 72, 72),
]


def cloud_mask(k):
    w, h = splash_size(k)
    m = Image.new("L", (w * SS, h * SS), 0)
    p = Pen(m, SS * k)
    x0, y0, x1, y1, r = CLOUD_CORE
    p.rect(x0, y0, x1, y1, fill=255, radius=r)
    for cx, cy, rx, ry in CLOUD_PUFFS:
        p.ellipse(cx, cy, rx, ry, fill=255)
    return hard_mask(downsample(m, w, h))


def hair_shape(cx, cy, r, locks, top_gap=0.0, sides=0.36):
    """Polygon of a hair cap over a head of radius r with a scalloped fringe.

    `sides` controls how far the hair comes down at the temples.
    """
    pts = []
    for i in range(41):                       # outer edge, left to right over the top
        a = math.radians(188 + 164 * i / 40)
        pts.append((cx + (r + top_gap) * math.cos(a), cy + (r + top_gap) * math.sin(a)))
    for i in range(81):                       # fringe, right to left
        t = i / 80
        x = cx + r * 0.97 * (1 - 2 * t)
        xn = (x - cx) / r
        base = cy - r * (0.42 - sides * xn * xn)
        bump = abs(math.sin(math.pi * locks * t)) ** 0.6
        pts.append((x, base + r * 0.16 * bump))
    return pts


def hair_curl(p, cx, top, size, color):
    """Little spiral curl sprouting from the top of the head at (cx, top)."""
    r0 = size
    ccx, ccy = cx + r0 * 0.2, top - r0 * 0.9
    steps = 40
    for i in range(steps + 1):
        t = i / steps
        a = math.radians(120 - 320 * t)
        rr = r0 * (1 - 0.55 * t)
        x, y = ccx + rr * math.cos(a), ccy + rr * math.sin(a)
        p.circle(x, y, size * (0.42 - 0.22 * t), fill=color)


def draw_child(p, cx, cy, u):
    """Head-and-shoulders toddler; u = size unit (head radius ~ 44u)."""
    # Shoulders in a teal shirt with a white collar.
    p.ellipse(cx, cy + 98 * u, 66 * u, 52 * u, fill=(120, 196, 190))
    p.rect(cx - 12 * u, cy + 30 * u, cx + 12 * u, cy + 54 * u, fill=SKIN_SHADE)
    p.chord(cx, cy + 50 * u, 18 * u, 10 * u, 0, 180, fill=(255, 255, 255))
    # Ears.
    for sx in (-1, 1):
        p.circle(cx + sx * 44 * u, cy + 6 * u, 10 * u, fill=SKIN)
        p.circle(cx + sx * 45 * u, cy + 6 * u, 5 * u, fill=SKIN_SHADE)
    # Face, hair cap with a soft fringe, and a curl on top.
    p.ellipse(cx, cy, 46 * u, 44 * u, fill=SKIN)
    p.polygon(hair_shape(cx, cy + 1 * u, 47 * u, 5, top_gap=1 * u), fill=HAIR)
    hair_curl(p, cx + 2 * u, cy - 44 * u, 9 * u, HAIR)
    p.arc(cx - 14 * u, cy - 30 * u, 16 * u, 10 * u, 200, 290, HAIR_DARK, 1.6 * u)
    p.arc(cx + 18 * u, cy - 28 * u, 16 * u, 10 * u, 250, 330, HAIR_DARK, 1.6 * u)
    # Eyebrows, eyes with highlights, nose, smile.
    for sx in (-1, 1):
        ex = cx + sx * 17 * u
        p.arc(ex, cy - 2 * u, 8 * u, 6 * u, 225, 315, HAIR_DARK, 2 * u)
        p.ellipse(ex, cy + 8 * u, 6.5 * u, 8 * u, fill=EYE)
        p.circle(ex + 2.2 * u, cy + 5 * u, 2.4 * u, fill=(255, 255, 255))
        p.circle(ex - 2.2 * u, cy + 11 * u, 1.1 * u, fill=(255, 255, 255))
    p.arc(cx, cy + 16 * u, 4 * u, 3 * u, 20, 160, SKIN_LINE, 2 * u)
    p.chord(cx, cy + 23 * u, 12 * u, 11 * u, 0, 180, fill=MOUTH)
    p.chord(cx, cy + 31 * u, 7 * u, 4 * u, 180, 360, fill=TONGUE)


def soft_spots(size, spots, color, blur, k):
    """RGBA layer of blurred ellipses (color is kept, only alpha is blurred)."""
    alpha = Image.new("L", size, 0)
    ap = Pen(alpha, SS * k)
    for cx, cy, rx, ry, a in spots:
        ap.ellipse(cx, cy, rx, ry, fill=a)
    layer = Image.new("RGBA", size, color + (0,))
    layer.putalpha(alpha.filter(ImageFilter.GaussianBlur(blur * SS * k)))
    return layer


def portrait(radius, k):
    """Round 'photo' of the toddler with a white and lilac frame, RGBA.

    Returns the supersampled image and its size in output pixels at scale k.
    """
    ring = 5
    size = scaled(2 * (radius + ring), k)
    big = size * SS
    photo = vgradient(big, big, (176, 220, 250), (236, 246, 255)).convert("RGBA")
    p = Pen(photo, SS * k)
    c = size / 2 / k
    # Sunny blob behind the head for warmth.
    p.circle(c + 40, c - 46, 30, fill=(255, 241, 196))
    draw_child(p, c, c + 6, 1.0)
    # Rosy cheeks: a blurred layer.
    cheeks = soft_spots((big, big), [(c + sx * 29, c + 6 + 19, 9, 6.5, 150) for sx in (-1, 1)],
                        CHEEK, 2, k)
    photo = Image.alpha_composite(photo, cheeks)
    # Clip to a circle and add the frame.
    out = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    clip = Image.new("L", (big, big), 0)
    Pen(clip, SS * k).circle(c, c, radius, fill=255)
    out.paste(photo, (0, 0), clip)
    fp = Pen(out, SS * k)
    fp.circle(c, c, radius + ring - 0.5, outline=(160, 132, 228), width=1.6)
    fp.circle(c, c, radius + ring - 2, outline=(255, 255, 255), width=3.6)
    return out, size


def star_points(cx, cy, r):
    pts = []
    for i in range(10):
        a = math.radians(-90 + 36 * i)
        rr = r if i % 2 == 0 else r * 0.48
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return pts


def draw_star(p, cx, cy, r, fill, outline=None):
    if outline:
        p.polygon(star_points(cx, cy, r), fill=outline)
        r -= 2.2
    p.polygon(star_points(cx, cy, r), fill=fill)


def draw_block(img, p, x, y, s, face, letter_col, letter):
    """Wooden toy block with a letter, front face at (x, y), size s."""
    dark = tuple(int(c * 0.78) for c in face)
    light = tuple(min(255, int(c + (255 - c) * 0.45)) for c in face)
    d = s * 0.22
    p.polygon([(x, y), (x + d, y - d), (x + s + d, y - d), (x + s, y)], fill=light)
    p.polygon([(x + s, y), (x + s + d, y - d), (x + s + d, y + s - d), (x + s, y + s)], fill=dark)
    p.rect(x, y, x + s, y + s, fill=face, radius=s * 0.08)
    p.rect(x + s * 0.1, y + s * 0.1, x + s * 0.9, y + s * 0.9, outline=light, radius=s * 0.1,
           width=s * 0.04)
    f = font(round(s * 0.62 * p.s))
    dr = ImageDraw.Draw(img)
    dr.text(((x + s / 2) * p.s, (y + s / 2 + s * 0.02) * p.s), letter, font=f, fill=letter_col,
            anchor="mm")


def draw_duck(p, cx, cy, u):
    yellow, shade = (255, 214, 64), (240, 180, 30)
    p.ellipse(cx, cy + 8 * u, 26 * u, 15 * u, fill=shade)
    p.ellipse(cx - 2 * u, cy + 6 * u, 25 * u, 14 * u, fill=yellow)
    p.polygon([(cx + 16 * u, cy + 2 * u), (cx + 32 * u, cy - 8 * u), (cx + 24 * u, cy + 10 * u)],
              fill=yellow)
    p.circle(cx - 14 * u, cy - 12 * u, 13 * u, fill=yellow)
    p.ellipse(cx - 29 * u, cy - 9 * u, 7 * u, 4 * u, fill=(255, 140, 40))
    p.circle(cx - 17 * u, cy - 15 * u, 2.4 * u, fill=EYE)
    p.arc(cx, cy + 6 * u, 12 * u, 7 * u, 20, 150, shade, 2.4 * u)


# Areas where the program draws text: (x0, x1, y0, y1) of the box, and the
# x range that must be covered by plain cloud.
SPLASH_TEXT_BOXES = [
    ((200, 511, 50, 90), (200, 511)),    # product name
    ((180, 531, 89, 190), (185, 520)),   # version block
    ((0, 531, 208, 235), (20, 511)),     # status line
]


def check_splash(img, k):
    """Text areas, scaled with the picture, must be plain lilac (or key color
    outside the cloud)."""
    px = img.load()
    for box, (c0, c1) in SPLASH_TEXT_BOXES:
        x0, y0 = (math.floor(v * k) for v in box[0::2])
        x1, y1 = (math.ceil(v * k) for v in box[1::2])
        c0, c1 = math.floor(c0 * k), math.ceil(c1 * k)
        for y in range(y0, y1 + 1):
            for x in range(x0, min(x1, img.width - 1) + 1):
                ok = px[x, y] == LILAC or (px[x, y] == MAGENTA and not c0 <= x <= c1)
                if not ok:
                    raise SystemExit(f"splash: pixel {(x, y)} = {px[x, y]} in a text area")


def make_splash(k):
    w, h = splash_size(k)
    mask = cloud_mask(k)
    big = Image.new("RGBA", (w * SS, h * SS), LILAC + (255,))
    p = Pen(big, SS * k)

    # Decorations below the status line.
    draw_star(p, 66, 300, 15, (255, 226, 110), outline=(236, 178, 60))
    draw_star(p, 122, 334, 9, (255, 255, 255))
    draw_star(p, 60, 362, 10, (255, 160, 196))
    draw_duck(p, 206, 336, 1.0)
    draw_block(big, p, 330, 338, 46, (255, 150, 150), (255, 255, 255), "A")
    draw_block(big, p, 386, 338, 46, (120, 196, 190), (255, 255, 255), "B")
    draw_block(big, p, 358, 284, 46, (255, 204, 90), (255, 255, 255), "C")
    draw_star(p, 288, 300, 7, (255, 255, 255))
    draw_star(p, 472, 300, 10, (255, 226, 110), outline=(236, 178, 60))

    img = downsample(big, w, h)
    photo, size = portrait(PORTRAIT_R, k)
    photo = downsample(photo, size, size)
    img.alpha_composite(photo, tuple(scaled(c, k) - size // 2 for c in PORTRAIT_C))
    img = img.convert("RGB")

    # Cartoon underside: a darker lilac rim along the bottom edge of the cloud
    # (cloud pixels whose neighbour 9 px further down is outside the cloud).
    below = Image.new("L", mask.size, 0)
    below.paste(mask.crop((0, scaled(9, k), w, h)), (0, 0))
    rim = ImageChops.subtract(mask, below)
    rim.paste(0, (0, 0, w, scaled(262, k)))      # keep it well below the text
    img.paste((188, 160, 246), (0, 0), rim)

    out = Image.new("RGB", img.size, MAGENTA)
    out.paste(img, (0, 0), mask)
    return avoid_key_color(out, mask)


# --------------------------------------------------------------------------
# Padlocks
# --------------------------------------------------------------------------

def draw_padlock(img, p, x0, y0, w, h, open_, line, detail=True):
    """Padlock whose body is the box (x0, y0, x0+w, y0+h); shackle above it.

    `line` is the outline width in output pixels.  With open_ the shackle is
    lifted so that its right leg hangs free above the body.
    """
    sw = w * 0.16                      # shackle thickness
    lx = x0 + w * 0.25                 # left leg centre
    rx = x0 + w * 0.75                 # right leg centre
    r = (rx - lx) / 2
    top = y0 - w * (0.36 if open_ else 0.14)   # centre line of the arc
    right_end = y0 - w * 0.17 if open_ else y0 + h * 0.2
    grey, grey_dark, grey_light = (180, 186, 196), (78, 82, 94), (236, 240, 246)

    def shackle(width, color):
        pts = [(lx, y0 + h * 0.2), (lx, top)]
        steps = 36
        for i in range(1, steps + 1):
            a = math.radians(180 + 180 * i / steps)
            pts.append((lx + r + r * math.cos(a), top + r * math.sin(a)))
        pts.append((rx, right_end))
        p.line(pts, color, width)

    shackle(sw + 2 * line, grey_dark)
    shackle(sw, grey)
    if detail:                         # shine along the left leg and the arc
        hx = lx - sw * 0.15
        p.line([(hx, y0 - line * 1.5), (hx, top)], grey_light, sw * 0.26)
        p.arc(lx + r, top, r + hx - lx, r + hx - lx, 180, 250, grey_light, sw * 0.26)

    # Body with a vertical golden gradient and rounded corners.
    rad = w * 0.17
    p.rect(x0 - line, y0 - line, x0 + w + line, y0 + h + line, fill=GOLD_LINE, radius=rad + line)
    s = p.s
    grad = vgradient(round(w * s), round(h * s), GOLD_TOP, GOLD_BOTTOM).convert("RGBA")
    m = Image.new("L", grad.size, 0)
    Pen(m, s).rect(0, 0, w, h, fill=255, radius=rad)
    img.paste(grad, (round(x0 * s), round(y0 * s)), m)
    if detail:
        p.rect(x0 + w * 0.09, y0 + h * 0.08, x0 + w * 0.91, y0 + h * 0.22,
               fill=(255, 240, 170), radius=h * 0.07)
    # Keyhole.
    kx, ky = x0 + w / 2, y0 + h * 0.47
    kr = w * 0.1
    p.circle(kx, ky, kr, fill=(24, 18, 12))
    p.polygon([(kx - kr * 0.5, ky), (kx + kr * 0.5, ky), (kx + kr * 0.8, ky + h * 0.33),
               (kx - kr * 0.8, ky + h * 0.33)], fill=(24, 18, 12))


def make_padlock(k):
    size = scaled(PADLOCK_SIZE, k)
    big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    p = Pen(big, SS * k)
    draw_padlock(big, p, 22, 64, 84, 58, open_=True, line=3)
    return on_magenta(downsample(big, size, size))


# --------------------------------------------------------------------------
# Moon: the padlock's size, for the last minute before the screen goes dark
# --------------------------------------------------------------------------

MOON_LIGHT = (255, 244, 184)
MOON_SHADE = (250, 212, 104)
MOON_LINE = (196, 140, 36)
MOON_CHEEK = (255, 176, 150)


def crescent(size, k, lit, bite, grow=0.0):
    """Mask of the disk `lit` less the disk `bite` (cx, cy, r each), both
    grown by `grow` units outwards from the crescent."""
    m = Image.new("L", (size * SS, size * SS), 0)
    p = Pen(m, SS * k)
    p.circle(lit[0], lit[1], lit[2] + grow, fill=255)
    p.circle(bite[0], bite[1], bite[2] - grow, fill=0)
    return m


def make_moon(k):
    """A sleepy crescent moon with two small stars, on the key color."""
    size = scaled(PADLOCK_SIZE, k)
    lit, bite = (58, 66, 46), (84, 50, 42)
    big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    big.paste(MOON_LINE + (255,), (0, 0), crescent(size, k, lit, bite, grow=3))
    body = vgradient(size * SS, size * SS, MOON_LIGHT, MOON_SHADE).convert("RGBA")
    big.paste(body, (0, 0), crescent(size, k, lit, bite))
    p = Pen(big, SS * k)
    # A closed, sleeping eye, a rosy cheek and a small smile on the crescent's
    # broad side.
    p.arc(30, 62, 8, 6, 20, 160, MOON_LINE, 2.6)
    p.ellipse(25, 80, 7, 4.5, fill=MOON_CHEEK)
    p.arc(42, 84, 7, 5, 30, 120, MOON_LINE, 2.4)
    draw_star(p, 92, 46, 12, (255, 226, 110), outline=(236, 178, 60))
    draw_star(p, 112, 96, 7, (255, 226, 110), outline=(236, 178, 60))
    return on_magenta(downsample(big, size, size))


# --------------------------------------------------------------------------
# Eye glyph (pixel art)
# --------------------------------------------------------------------------

EYE_PIXELS = [
    "................",
    "................",
    "......####......",
    "...###bbbb###...",
    "..#..bbbbbb..#..",
    ".#...bwkkbb...#.",
    "#....bkkkkb....#",
    ".#...bbkkbb...#.",
    "..#..bbbbbb..#..",
    "...###bbbb###...",
    "......####......",
    "................",
    "................",
]
EYE_COLOURS = {".": (255, 255, 255), "#": (0, 0, 0), "k": (0, 0, 0),
               "b": (40, 120, 230), "w": (255, 255, 255)}


def make_eye():
    img = Image.new("RGBA", (16, 13))
    for y, row in enumerate(EYE_PIXELS):
        for x, ch in enumerate(row):
            img.putpixel((x, y), EYE_COLOURS[ch] + (255,))
    return img


# --------------------------------------------------------------------------
# Icons: toddler face, optionally with a closed padlock
# --------------------------------------------------------------------------

def draw_face(p, n):
    """Toddler face filling an n x n icon; detail is reduced for small n."""
    line = max(1.0, n / 32)            # outline width in output pixels
    cx, cy, r = n / 2, n * 0.56, n * 0.42 - line
    if n <= 24:                        # snap to the pixel grid for crispness
        cx, cy, r = n // 2, n // 2 + 1, n // 2 - 2 - n // 24
    if n > 24:
        for sx in (-1, 1):
            p.circle(cx + sx * r * 0.97, cy + r * 0.1, r * 0.2 + line, fill=SKIN_LINE)
            p.circle(cx + sx * r * 0.97, cy + r * 0.1, r * 0.2, fill=SKIN)
    p.circle(cx, cy, r + line, fill=SKIN_LINE)
    p.circle(cx, cy, r, fill=SKIN)
    if n <= 24:
        draw_small_features(p, n, cx, cy, r)
        return
    # Hair cap with a fringe and a curl on top.
    p.polygon(hair_shape(cx, cy, r, 4), fill=HAIR)
    hair_curl(p, cx + r * 0.05, cy - r - line * 0.6, r * 0.2, HAIR)
    for sx in (-1, 1):
        p.ellipse(cx + sx * r * 0.6, cy + r * 0.34, r * 0.17, r * 0.12, fill=CHEEK)
        ex, ey = cx + sx * r * 0.34, cy + r * 0.04
        p.ellipse(ex, ey, r * 0.14, r * 0.19, fill=EYE)
        p.circle(ex + r * 0.05, ey - r * 0.07, max(r * 0.055, 0.7), fill=(255, 255, 255))
    p.chord(cx, cy + r * 0.32, r * 0.28, r * 0.26, 0, 180, fill=MOUTH)
    p.chord(cx, cy + r * 0.52, r * 0.17, r * 0.09, 180, 360, fill=TONGUE)


def draw_small_features(p, n, cx, cy, r):
    """Pixel-aligned hair, eyes, cheeks and smile for the 16 and 24 px icons."""
    def px(x, y, w=1, h=1, fill=EYE):
        p.rect(x, y, x + w, y + h, fill=fill)

    big = n > 16
    if big:
        p.polygon(hair_shape(cx, cy, r + 0.4, 3, sides=0.2), fill=HAIR)
        hair_curl(p, cx + 0.5, cy - r - 0.6, 2.2, HAIR)
    else:
        p.polygon(hair_shape(cx, cy, r + 0.4, 2, sides=0.1), fill=HAIR)
        px(cx - 1, cy - r - 2, 1, 2, HAIR)       # curl: a little hook on top
        px(cx, cy - r - 3, 2, 1, HAIR)
        px(cx + 1, cy - r - 2, 1, 1, HAIR)
    ew, eh, eg = (2, 3, 2) if big else (2, 2, 1)
    ey = cy - 2 if big else cy - 1
    for x in (cx - eg - ew, cx + eg):
        px(x, ey, ew, eh)
    ch = (255, 150, 160)
    cw = 3 if big else 2
    cyc = ey + eh + (1 if big else 0)
    px(cx - eg - ew - cw + (1 if big else 0), cyc, cw, 1, ch)
    px(cx + eg + ew - (1 if big else 0), cyc, cw, 1, ch)
    my = cyc + (2 if big else 1)
    half = 2 if big else 1
    px(cx - half, my, 2 * half, 1, MOUTH)
    px(cx - half - 1, my - 1, 1, 1, MOUTH)
    px(cx + half, my - 1, 1, 1, MOUTH)


LOCK_16 = [
    "..dddd..",
    ".dggggd.",
    ".dg..gd.",
    ".dg..gd.",
    "bbbbbbbb",
    "bYYkkYYb",
    "byykkyyb",
    "boooooob",
    ".bbbbbb.",
]
LOCK_24 = [
    "...ddddd...",
    "..dgggggd..",
    ".dggdddggd.",
    ".dgd...dgd.",
    ".dgd...dgd.",
    "bbbbbbbbbbb",
    "bYYYYYYYYYb",
    "byyyykyyyyb",
    "byyyykyyyyb",
    "byyyykyyyyb",
    "booooooooob",
    ".bbbbbbbbb.",
]
LOCK_COLOURS = {"d": (74, 78, 90), "g": (196, 200, 210), "b": (122, 74, 6),
                "Y": (255, 232, 120), "y": (250, 200, 50), "o": (226, 160, 24),
                "k": (24, 18, 12)}


def paste_pixel_art(p, x0, y0, rows, colors):
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch in colors:
                p.rect(x0 + x, y0 + y, x0 + x + 1, y0 + y + 1, fill=colors[ch])


def draw_lock_badge(img, p, n):
    """Closed padlock over the bottom-right corner of an n x n icon."""
    if n <= 24:
        art = LOCK_16 if n <= 16 else LOCK_24
        paste_pixel_art(p, n - len(art[0]), n - len(art), art, LOCK_COLOURS)
        return
    line = max(1.0, n / 32)
    w, h = n * 0.44, n * 0.3
    draw_padlock(img, p, n - w - line, n - h - line, w, h, open_=False, line=line,
                 detail=n >= 48)


def icon(n, locked):
    big = Image.new("RGBA", (n * SS, n * SS), (0, 0, 0, 0))
    p = Pen(big, SS)
    draw_face(p, n)
    if locked:
        draw_lock_badge(big, p, n)
    return downsample(big, n, n)


# --------------------------------------------------------------------------
# Preview and main
# --------------------------------------------------------------------------

def preview(path, splash, padlock, moon, eye, faces, locks):
    """Sheet with everything enlarged: key color shown as a desktop blue."""
    desk = (58, 96, 140)

    def keyed(img):
        key = Image.new("RGB", img.size, MAGENTA)
        mask = ImageChops.difference(img, key).convert("L").point(lambda v: 255 if v else 0)
        out = Image.new("RGB", img.size, desk)
        out.paste(img, (0, 0), mask)
        return out

    def flat(im, bg):
        return Image.alpha_composite(Image.new("RGBA", im.size, bg + (255,)), im).convert("RGB")

    sheet = Image.new("RGB", (1360, 1080), (236, 236, 236))
    sheet.paste(keyed(splash), (10, 10))
    sheet.paste(keyed(padlock).resize((256, 256), Image.NEAREST), (560, 10))
    sheet.paste(padlock, (830, 10))
    sheet.paste(moon, (830, 150))
    sheet.paste(keyed(moon), (980, 150))
    sheet.paste(eye.convert("RGB").resize((160, 130), Image.NEAREST), (980, 10))
    sheet.paste(eye.convert("RGB"), (1160, 10))
    y = 480
    for row in (faces, locks):
        x = 10
        for im in row:                         # actual size on white
            sheet.paste(flat(im, (255, 255, 255)), (x, y))
            x += im.width + 8
        x = 650
        for im in row[:5]:                     # small sizes: 128 px enlargement,
            k = 128 // im.width                # and actual size on a dark background
            sheet.paste(flat(im, desk).resize((im.width * k,) * 2, Image.NEAREST), (x, y))
            sheet.paste(flat(im, (40, 40, 40)), (x, y + 136))
            x += 140
        y += 300
    sheet.save(path)


def near_key(color):
    """Close to the key color without being it: such a pixel shows as a pink
    speck or halo, since the color key makes only the exact color see-through."""
    r, g, b = color[:3]
    return color[:3] != MAGENTA and (255 - r) + g + (255 - b) < 96


def verify(pictures):
    """Re-read the written files and check the header fields, the key color
    in the corners and that no pixel comes close to the key color."""
    def bmp(name, w, h, bpp, colors=0):
        data = open(os.path.join(OUT_DIR, name), "rb").read()
        sig, size, _, _, off = struct.unpack_from("<2sIHHI", data, 0)
        hs, bw, bh, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
        assert (sig, size, off, hs) == (b"BM", len(data), 54 + 4 * colors, 40), name
        assert (bw, bh, planes, bits, comp) == (w, h, 1, bpp, 0), name
        return data[off:]

    def keyed(name, w, h):
        img = Image.open(os.path.join(OUT_DIR, name)).convert("RGB")
        assert img.size == (w, h), (name, img.size)
        for corner in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            assert img.getpixel(corner) == MAGENTA, (name, corner)
        assert not any(near_key(c) for _, c in img.getcolors(1 << 24)), name

    bmp("splash.bmp", SPLASH_W, SPLASH_H, 8, len(pictures["splash"][100].getpalette()) // 3)
    bmp("padlock.bmp", PADLOCK_SIZE, PADLOCK_SIZE, 24)
    eye_px = bmp("eye.bmp", 16, 13, 32)
    assert set(eye_px[3::4]) == {255}, "eye.bmp must be opaque"
    for name, scales in pictures.items():
        for pc, img in scales.items():
            keyed(art_file(name, pc), *img.size)
            if art_file(name, pc).endswith(".png"):
                data = open(os.path.join(OUT_DIR, art_file(name, pc)), "rb").read()
                # Signature, then IHDR: 8 bits a sample, palette color.
                assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[24:26] == b"\x08\x03", name
    for name in ("morrowby.ico", "locked.ico"):
        data = open(os.path.join(OUT_DIR, name), "rb").read()
        _, kind, count = struct.unpack_from("<HHH", data, 0)
        sizes = [struct.unpack_from("<BBBBHHII", data, 6 + 16 * i) for i in range(count)]
        assert kind == 1 and [e[0] or 256 for e in sizes] == list(ICON_SIZES), name
        assert all(e[5] == 32 for e in sizes), name
        for e in sizes:
            png = data[e[7]:e[7] + 8] == b"\x89PNG\r\n\x1a\n"
            assert png == ((e[0] or 256) >= ICON_PNG_FROM), (name, e[0])


def art_file(name, percent):
    """The 100 % splash and padlock are the bitmap resources the program has
    always had; every other scale, and the moon, is a PNG resource."""
    if percent == 100 and name in ("splash", "padlock"):
        return name + ".bmp"
    return f"{name}_{percent}.png"


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    pictures = {"splash": {}, "padlock": {}, "moon": {}}
    for pc in SCALES:
        k = pc / 100
        splash = to_palette(make_splash(k))
        check_splash(splash.convert("RGB"), k)
        pictures["splash"][pc] = splash
        pictures["padlock"][pc] = make_padlock(k)
        pictures["moon"][pc] = to_palette(make_moon(k))
    for name, scales in pictures.items():
        for pc, img in scales.items():
            path = os.path.join(OUT_DIR, art_file(name, pc))
            if path.endswith(".bmp"):
                write_bmp(path, img, 8 if img.mode == "P" else 24)
            else:
                with open(path, "wb") as f:
                    f.write(png_bytes(to_palette(img) if img.mode != "P" else img))
    eye = make_eye()
    write_bmp(os.path.join(OUT_DIR, "eye.bmp"), eye, 32)
    faces = [icon(n, False) for n in ICON_SIZES]
    locks = [icon(n, True) for n in ICON_SIZES]
    write_ico(os.path.join(OUT_DIR, "morrowby.ico"), faces)
    write_ico(os.path.join(OUT_DIR, "locked.ico"), locks)
    verify(pictures)
    if "--preview" in sys.argv:
        preview(sys.argv[sys.argv.index("--preview") + 1], pictures["splash"][100].convert("RGB"),
                pictures["padlock"][100], pictures["moon"][100].convert("RGB"), eye, faces,
                locks)


if __name__ == "__main__":
    main()
