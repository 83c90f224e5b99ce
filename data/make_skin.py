#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the table's skin and synthesizes its sounds.

Everything is made here from drawn shapes, the chess glyphs of DejaVu Sans and the CJK glyphs of
WenQuanYi Micro Hei (both from Debian packages that scripts/setup.sh installs); nothing is copied
from elsewhere.

    make_skin.py OUT_FOLDER [--preview SHEET.png]

writes into OUT_FOLDER (the program's data folder):

    skin/image/800/, skin/image/1024/   config.ini (GBK, section line first) and the images it
                                        names or implies: frmback.bmp, min.bmp, close.bmp,
                                        hallbtn.bmp, setbtn.bmp, helpbtn.bmp, exitbtn.bmp,
                                        actionbtn.bmp (three states side by side), num.bmp,
                                        chess.png, frame.png, PieceIcon.png, actionback.bmp,
                                        and the button board's btnnormal.bmp, btnhover.bmp,
                                        btnpressed.bmp, btndisabled.bmp (black is transparent)
    skin/image/                         studyboard.bmp, studychess.png
    sound/                              501.wav (move), 502.wav (hover), 503.wav (press),
                                        504.wav (refused), 505.wav (low-time tick)

With --preview it also draws a contact sheet of both skins as a person would see them.
The layout is checked as it is made: every text must fit its box with the fonts named in the
description, and no two boxes may overlap.
"""

import copy
import math
import os
import random
import struct
import sys
import wave

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/"
GLYPH_FONT = FONT_DIR + "dejavu/DejaVuSans.ttf"
DIGIT_FONT = FONT_DIR + "dejavu/DejaVuSansMono-Bold.ttf"
CJK_FONT = FONT_DIR + "wqy/wqy-microhei.ttc"
CJK_FAMILY = "WenQuanYi Micro Hei"

# One palette for the whole skin (RGB).
FELT_TOP = (32, 62, 48)
FELT_BOTTOM = (18, 38, 29)
WOOD_FRAME = (104, 66, 38)
WOOD_FRAME_DARK = (76, 46, 26)
SQUARE_LIGHT = (236, 211, 166)
SQUARE_DARK = (179, 131, 79)
PLATE = (40, 32, 24)
PLATE_EDGE = (176, 141, 87)
PLATE_EDGE_DARK = (92, 70, 40)
CAPTION = (214, 190, 140)
IVORY = (250, 244, 228)
INK = (28, 22, 18)
BLACK_PIECE = (44, 38, 34)
BLACK_DETAIL = (206, 196, 178)
CHECK_RED = (226, 40, 32)
HILITE = (255, 206, 64)
BUTTON_FACE = ((244, 231, 200), (214, 192, 146))
BUTTON_HOVER = ((255, 247, 222), (236, 212, 160))
BUTTON_PRESSED = ((196, 170, 120), (222, 200, 156))
BUTTON_DEAD = ((104, 102, 97), (96, 94, 90))
BUTTON_EDGE = (58, 38, 20)
BUTTON_EDGE_HOT = (196, 140, 40)
BUTTON_EDGE_DEAD = (70, 68, 64)
BUTTON_TEXT = (58, 36, 16)
DIGIT = (255, 204, 96)
MAGENTA = (255, 0, 255)

TEXT_COLOURS = {
    "titlecolor": (240, 222, 176),
    "timeinfocolor": (196, 208, 186),
    "personinfocolor": (226, 218, 200),
    "hotinfocolor": (255, 178, 64),
    "nicknamecolor": (255, 232, 170),
    "listbackcolor": (30, 40, 34),
    "listtextcolor": (226, 220, 204),
    "listselfbackcolor": (70, 60, 36),
    "listselectcolor": (255, 255, 255),
    "listselectbkcolor": (150, 108, 46),
}

# Piece slots of a sheet: pawn, rook, knight, bishop, king, queen, king in check; white first.
SLOT_GLYPHS = [("\u2659", "\u265f"), ("\u2656", "\u265c"), ("\u2658", "\u265e"),
               ("\u2657", "\u265d"), ("\u2654", "\u265a"), ("\u2655", "\u265b"),
               ("\u2654", "\u265a")]
KING_IN_CHECK = 6
# The glyphs all fill the same height; a set's pieces are not. Each piece's height as a share of
# the king's, so that a pawn is plainly smaller than a bishop.
PIECE_HEIGHT = {"\u2659": 0.74, "\u2656": 0.84, "\u2658": 0.9, "\u2657": 0.93,
                "\u2654": 1.0, "\u2655": 0.97}
SUPERSAMPLE = 4


def font(path, px):
    return ImageFont.truetype(path, max(1, int(round(px))))


def pt_to_px(points):
    return points * 96 / 72


# ---------------------------------------------------------------- layout


class Skin:
    """The geometry of one skin folder; every rectangle is (left, top, right, bottom)."""

    def __init__(self, name, width, height, square, piece, margin, strip, scale):
        self.name = name
        self.W, self.H = width, height
        self.sq, self.piece, self.margin, self.strip, self.s = square, piece, margin, strip, scale
        # Captured pieces: two rows of icons in the tray below the frame, which has one square
        # of height to itself.
        self.icon = (square - 4) // 2
        s = scale
        gap = round(8 * s)
        # The board window: 8 squares plus the grid offset on each side, the offset being the
        # centre of the top-left square.
        self.offset = square // 2 + margin
        size = 2 * self.offset + 8 * square
        bx = round(8 * s)
        self.board = (bx, strip, bx + size, strip + size)
        self.label_left = ((margin - 6) // 2, margin + square // 2 - 6)
        self.label_bottom = (margin + square // 2 - 3, margin + 8 * square + (margin - 12) // 2)

        self.person_pt = 8 if s < 1.1 else 10
        self.nick_pt = 10 if s < 1.1 else 12

        # The top strip: title, the four main buttons, minimize and close.
        self.title = (14, (strip - 14) // 2)
        sb = (round(20 * s), round(18 * s))
        sy = (strip - sb[1]) // 2
        close_x = width - bx - sb[0]
        min_x = close_x - 4 - sb[0]
        self.sysbtnexit = (close_x, sy, close_x + sb[0], sy + sb[1])
        self.sysbtnmin = (min_x, sy, min_x + sb[0], sy + sb[1])
        mb = (round(48 * s), sb[1])
        x = min_x - 12 - 4 * mb[0] - 3 * 4
        self.main_buttons = {}
        for key in ("hall", "set", "help", "exit"):
            self.main_buttons[key] = (x, sy, x + mb[0], sy + mb[1])
            x += mb[0] + 4

        # The right column, top to bottom.
        cx, cr = self.board[2] + gap, width - bx
        self.column = (cx, cr)
        cw = cr - cx
        y = strip + 2
        ph = round(104 * s)
        self.top_plate = (cx, y, cr, y + ph)
        y += ph + 4
        self.settings_plate = (cx, y, cr, y + round(22 * s))
        y = self.settings_plate[3] + 4
        self.bottom_plate = (cx, y, cr, y + ph)
        y += ph + round(6 * s)
        self.button = (round(52 * s), round(26 * s))
        self.button_step = (round(56 * s), round(30 * s))
        bw = 3 * self.button_step[0] + self.button[0]
        bh = self.button_step[1] + self.button[1]
        bbx = cx + (cw - bw) // 2
        self.buttonboard = (bbx, y, bbx + bw, y + bh)
        y += bh + round(6 * s)
        row = round(28 * s)
        bottom = height - round(6 * s)
        rest = bottom - row - 6 - y - 6
        list_h = round(rest * 0.42)
        self.userlist = (cx, y, cr, y + list_h)
        self.chat = (cx, y + list_h + 6, cr, bottom - row - 6)
        aw = round(64 * s)
        self.actionbutton = (cx, bottom - row, cx + aw, bottom)
        self.adv = (cx + aw + 6, bottom - row, cr, bottom)

        self.players = [self.panel(self.top_plate), self.panel(self.bottom_plate)]
        self.settings = self.settings_boxes(self.settings_plate)
        # Pixels per logical pixel of the pictures drawn from this geometry (see scaled()).
        self.k = 1

    def px(self, v):
        """A length of the 800 skin's design in this skin's picture pixels."""
        return round(v * self.s) * self.k

    def scaled(self, k):
        """The same layout with every pixel length times k, for pictures drawn k times as
        dense; the description file keeps the logical values."""
        def mul(v):
            if isinstance(v, bool):
                return v
            if isinstance(v, int):
                return v * k
            if isinstance(v, tuple):
                return tuple(mul(x) for x in v)
            if isinstance(v, list):
                return [mul(x) for x in v]
            if isinstance(v, dict):
                return {a: mul(b) for a, b in v.items()}
            return v
        out = copy.copy(self)
        for name, value in vars(self).items():
            if name not in ("name", "s", "person_pt", "nick_pt", "k"):
                setattr(out, name, mul(value))
        out.k = self.k * k
        return out

    def panel(self, plate):
        x, y, r, b = plate
        s = self.s
        pad = round(6 * s)
        p = {}
        p["headpic"] = (x + pad, y + pad, x + pad + 32, y + pad + 32)
        p["color"] = (r - pad - self.piece, y + pad, r - pad, y + pad + self.piece)
        nl = x + pad + 32 + round(8 * s)
        p["nickname"] = (nl, y + pad, p["color"][0] - 6, y + pad + round(20 * s))
        p["username"] = (nl, p["nickname"][3] + 2, p["nickname"][2],
                         p["nickname"][3] + 2 + round(16 * s))
        p["show"] = (x + pad, y + pad + 38, x + pad + 32, b - pad)
        rh = round(18 * s)
        lw = round(26 * s)
        row2 = b - pad - rh
        row1 = row2 - 4 - rh
        vw = round(62 * s)
        p["totaltime"] = (nl + lw, row1, nl + lw + vw, row1 + rh)
        p["pacetime"] = (nl + lw, row2, nl + lw + vw, row2 + rh)
        num_label = p["totaltime"][2] + 6
        p["pacenum"] = (num_label + lw, row1, r - pad, row1 + rh)
        # Captions baked into the plate, each left of its value.
        p["captions"] = [("局时", nl, row1, rh), ("步时", nl, row2, rh),
                         ("步数", num_label, row1, rh)]
        return p

    def settings_boxes(self, plate):
        x, y, r, b = plate
        s = self.s
        lw = round(26 * s)
        vw = round(54 * s)
        inner = 4
        boxes, captions = {}, []
        cx = x + inner
        for key, caption, width in (("totaltime", "局时", vw), ("pacetime", "步时", vw),
                                    ("paceaddtime", "加秒", None)):
            if width is None:
                width = r - inner - cx - lw
            captions.append((caption, cx, y + 2, b - y - 4))
            boxes[key] = (cx + lw, y + 2, cx + lw + width, b - 2)
            cx += lw + width + round(6 * s)
        boxes["captions"] = captions
        return boxes

    def boxes(self):
        """Every box of the window that must not overlap another, by key."""
        out = {
            "title": (self.title[0], self.title[1], self.title[0] + 400, self.title[1] + 14),
            "sysbtnexit": self.sysbtnexit, "sysbtnmin": self.sysbtnmin,
            "chessboardrect": self.board, "buttonboardrect": self.buttonboard,
            "userlistrect": self.userlist, "chatrect": self.chat, "adv": self.adv,
            "actionbuttonrect": self.actionbutton,
        }
        for key, rect in self.main_buttons.items():
            out[key + "button"] = rect
        for side, p in zip(("top", "bottom"), self.players):
            for key in ("show", "headpic", "color", "nickname", "username", "totaltime",
                        "pacetime", "pacenum"):
                out[side + key + "rect"] = p[key]
        for key in ("totaltime", "pacetime", "paceaddtime"):
            out[key + "rect"] = self.settings[key]
        return out

    def check(self):
        boxes = self.boxes()
        names = list(boxes)
        for i, a in enumerate(names):
            ra = boxes[a]
            if not (0 <= ra[0] < ra[2] <= self.W and 0 <= ra[1] < ra[3] <= self.H):
                if a != "title":
                    raise SystemExit(f"{self.name}: {a} {ra} leaves the window")
            for b in names[i + 1:]:
                rb = boxes[b]
                if ra[0] < rb[2] and rb[0] < ra[2] and ra[1] < rb[3] and rb[1] < ra[3]:
                    raise SystemExit(f"{self.name}: {a} {ra} overlaps {b} {rb}")
        # The texts the program writes, at their widest.
        person = font(CJK_FONT, pt_to_px(self.person_pt))
        nick = font(CJK_FONT, pt_to_px(self.nick_pt))
        fits = []
        for p in self.players:
            fits += [(person, "00分00秒", p["totaltime"]), (person, "00分00秒", p["pacetime"]),
                     (person, "999步", p["pacenum"]), (nick, "白方黑方", p["nickname"]),
                     (person, "matchuser001", p["username"])]
        fits += [(person, "00分00秒", self.settings["totaltime"]),
                 (person, "00分00秒", self.settings["pacetime"]),
                 (person, "99", self.settings["paceaddtime"])]
        for f, text, box in fits:
            ascent, descent = f.getmetrics()
            if f.getlength(text) > box[2] - box[0] or ascent + descent > box[3] - box[1] + 2:
                raise SystemExit(f"{self.name}: '{text}' does not fit {box}")


SKINS = [Skin("800", 790, 570, 56, 48, 20, 22, 1.0),
         Skin("1024", 1000, 720, 72, 62, 22, 24, 1.25)]


# ---------------------------------------------------------------- drawing helpers


def vertical_gradient(size, top, bottom):
    w, h = size
    column = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize((w, h))


def grain(size, seed, strength, stretch=(1, 12)):
    """A wood-grain or felt texture as a grey image around 128."""
    random.seed(seed)
    w, h = size
    small = Image.effect_noise((max(1, w // stretch[0]), max(1, h // stretch[1])), 60)
    tex = small.resize((w, h), Image.BICUBIC)
    return tex.point(lambda v: 128 + round((v - 128) * strength))


def textured(base, tex):
    """Shifts every channel of the base by the texture's offset from mid grey."""
    return Image.merge("RGB", [ImageChops.add(ch, tex, 1.0, -128) for ch in base.split()])


def rounded_mask(size, radius, scale=SUPERSAMPLE):
    w, h = size
    big = Image.new("L", (w * scale, h * scale), 0)
    ImageDraw.Draw(big).rounded_rectangle((0, 0, w * scale - 1, h * scale - 1),
                                          radius * scale, fill=255)
    return big.resize((w, h), Image.LANCZOS)


def draw_text_centered(img, box, text, fnt, fill, dy=0):
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    tw = fnt.getlength(text)
    ascent, descent = fnt.getmetrics()
    x = x0 + (x1 - x0 - tw) / 2
    y = y0 + (y1 - y0 - (ascent + descent)) / 2 + dy
    d.text((x, y), text, font=fnt, fill=fill)


def plate(img, box, radius, k=1):
    """An inlaid name plate: a brass edge around a dark inlay."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    edge = vertical_gradient((w, h), PLATE_EDGE, PLATE_EDGE_DARK)
    img.paste(edge, (x0, y0), rounded_mask((w, h), radius))
    inner = vertical_gradient((w - 4 * k, h - 4 * k), tuple(c + 10 for c in PLATE), PLATE)
    img.paste(inner, (x0 + 2 * k, y0 + 2 * k),
              rounded_mask((w - 4 * k, h - 4 * k), max(k, radius - 2 * k)))


def inset(img, box, colour, radius=3, k=1):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius * k, fill=colour,
                        outline=tuple(max(0, c - 14) for c in colour), width=k)


# ---------------------------------------------------------------- pieces


def glyph_mask(ch, size):
    """The glyph's coverage at a font size of twice size, with room around it."""
    probe = font(GLYPH_FONT, size * 2)
    img = Image.new("L", (size * 3, size * 3), 0)
    ImageDraw.Draw(img).text((size // 2, size // 2), ch, font=probe, fill=255)
    return img


MASTER = 256
_masters = {}


def master_layers(white_glyph, black_glyph):
    """Silhouette, outline and solid masks of one piece, cropped to its ink, made once."""
    key = (white_glyph, black_glyph)
    if key not in _masters:
        outline = glyph_mask(white_glyph, MASTER)
        solid = glyph_mask(black_glyph, MASTER)
        union = ImageChops.lighter(outline, solid)
        x0, y0, x1, y1 = union.getbbox()
        box = (x0 - 2, y0 - 2, x1 + 2, y1 + 2)
        outline, solid, union = (m.crop(box) for m in (outline, solid, union))
        # The silhouette: everything that the outside cannot reach.
        hard = union.point(lambda v: 0 if v > 96 else 255)
        ImageDraw.floodfill(hard, (0, 0), 128)
        silhouette = hard.point(lambda v: 0 if v == 128 else 255)
        _masters[key] = (silhouette, outline, solid)
    return _masters[key]


def piece_layers(white_glyph, black_glyph, size):
    """Silhouette, outline and solid masks in a supersampled cell of a size x size piece."""
    big = size * SUPERSAMPLE
    masters = master_layers(white_glyph, black_glyph)
    ink_w, ink_h = masters[0].size
    # Keep the aspect and fit 86% of the cell, which leaves room for the outline; the smaller
    # pieces stand on the king's base line.
    scale = big * 0.86 / max(ink_w, ink_h) * PIECE_HEIGHT.get(white_glyph, 1.0)
    new_size = (max(1, round(ink_w * scale)), max(1, round(ink_h * scale)))
    full = big * 0.86 / max(ink_w, ink_h) * ink_h
    base = (big + full) / 2 + big // 40

    def place(mask):
        cell = Image.new("L", (big, big), 0)
        part = mask.resize(new_size, Image.LANCZOS)
        cell.paste(part, ((big - new_size[0]) // 2, round(base - new_size[1])))
        return cell

    return tuple(place(m) for m in masters)


def render_piece(colour, slot, size, rim=False):
    white_glyph, black_glyph = SLOT_GLYPHS[slot]
    silhouette, outline, solid = piece_layers(white_glyph, black_glyph, size)
    big = size * SUPERSAMPLE
    cell = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    ring = max(2, big // 28)
    halo = silhouette.filter(ImageFilter.MaxFilter(2 * (ring // 2) + 1))
    if slot == KING_IN_CHECK:
        glow = Image.new("L", (big, big), 0)
        d = ImageDraw.Draw(glow)
        d.ellipse((big * 0.04, big * 0.04, big * 0.96, big * 0.96), fill=210)
        glow = glow.filter(ImageFilter.GaussianBlur(big / 14))
        cell.paste(Image.new("RGBA", (big, big), CHECK_RED + (255,)), (0, 0), glow)
    # A soft shadow, then the dark outline, then the body.
    shadow = halo.filter(ImageFilter.GaussianBlur(big / 40)).point(lambda v: v * 0.45)
    shadow_layer = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    shadow_layer.paste(Image.new("RGBA", (big, big), (0, 0, 0, 255)), (big // 60, big // 40),
                       shadow)
    cell = Image.alpha_composite(cell, shadow_layer)
    if rim:
        # Small icons lie on dark wood and felt too: a light rim keeps black ones visible.
        light = halo.filter(ImageFilter.MaxFilter(2 * ring + 1)).point(lambda v: v * 0.75)
        cell.paste(Image.new("RGBA", (big, big), IVORY + (255,)), (0, 0), light)
    cell.paste(Image.new("RGBA", (big, big), INK + (255,)), (0, 0), halo)
    if colour == 0:
        body = vertical_gradient((big, big), (255, 252, 242), (226, 214, 190)).convert("RGBA")
        cell.paste(body, (0, 0), silhouette)
        cell.paste(Image.new("RGBA", (big, big), INK + (255,)), (0, 0), outline)
    else:
        details = vertical_gradient((big, big), BLACK_DETAIL, (150, 140, 124)).convert("RGBA")
        cell.paste(details, (0, 0), silhouette)
        body = vertical_gradient((big, big), (70, 62, 56), BLACK_PIECE).convert("RGBA")
        cell.paste(body, (0, 0), solid)
    if slot == KING_IN_CHECK:
        edge = ImageChops.subtract(halo.filter(ImageFilter.MaxFilter(2 * ring + 1)), halo)
        cell.paste(Image.new("RGBA", (big, big), CHECK_RED + (255,)), (0, 0), edge)
    return cell.resize((size, size), Image.LANCZOS)


def piece_sheet(size, cache, rim=False):
    if (size, rim) not in cache:
        sheet = Image.new("RGBA", (14 * size, size), (0, 0, 0, 0))
        for colour in (0, 1):
            for slot in range(7):
                sheet.paste(render_piece(colour, slot, size, rim), ((colour * 7 + slot) * size, 0))
        cache[(size, rim)] = sheet
    return cache[(size, rim)]


def frame_image(square, k=1):
    big = square * k * SUPERSAMPLE
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    w = max(3, square // 16) * k * SUPERSAMPLE
    d.rounded_rectangle((w // 2, w // 2, big - w // 2 - 1, big - w // 2 - 1), big // 10,
                        outline=HILITE + (235,), width=w)
    d.rounded_rectangle((w + 2 * k, w + 2 * k, big - w - 3 * k, big - w - 3 * k), big // 12,
                        outline=(255, 255, 255, 90), width=SUPERSAMPLE * k)
    return img.resize((square * k, square * k), Image.LANCZOS)


# ---------------------------------------------------------------- buttons


STATE_LOOKS = {
    "normal": (BUTTON_FACE, BUTTON_EDGE, True, 0),
    "hover": (BUTTON_HOVER, BUTTON_EDGE_HOT, True, 0),
    "pressed": (BUTTON_PRESSED, BUTTON_EDGE, False, 1),
    "disabled": (BUTTON_DEAD, BUTTON_EDGE_DEAD, False, 0),
}


def button_face(size, state, backdrop, caption=None, caption_font=None, glyph=None, k=1):
    """One button state drawn over backdrop (an RGB image of the same size), k pixels to the
    logical pixel."""
    (top, bottom), edge, shine, dy = STATE_LOOKS[state]
    dy *= k
    w, h = size
    img = backdrop.copy()
    radius = max(3 * k, h // 5)
    img.paste(Image.new("RGB", size, edge), (0, 0), rounded_mask(size, radius))
    face = vertical_gradient((w - 2 * k, h - 2 * k), top, bottom)
    img.paste(face, (k, k), rounded_mask((w - 2 * k, h - 2 * k), radius - k))
    d = ImageDraw.Draw(img)
    if shine:
        d.rectangle((radius, 2 * k, w - radius - 1, 3 * k - 1),
                    fill=tuple(min(255, c + 18) for c in top))
    elif state == "pressed":
        d.rectangle((radius, 2 * k, w - radius - 1, 3 * k - 1),
                    fill=tuple(max(0, c - 40) for c in top))
    text_colour = (120, 118, 112) if state == "disabled" else BUTTON_TEXT
    if caption:
        draw_text_centered(img, (0, 0, w, h), caption, caption_font, text_colour, dy)
    if glyph:
        glyph(img, state, dy, k)
    return img


def strip(size, backdrop, **kwargs):
    """The three states side by side: normal, hover, pressed."""
    w, h = size
    out = Image.new("RGB", (3 * w, h))
    for i, state in enumerate(("normal", "hover", "pressed")):
        out.paste(button_face(size, state, backdrop, **kwargs), (i * w, 0))
    return out


def min_glyph(img, state, dy, k):
    w, h = img.size
    d = ImageDraw.Draw(img)
    y = h * 0.62 + dy
    d.line((w * 0.3, y, w * 0.7, y), fill=BUTTON_TEXT, width=max(2 * k, h // 9))


def close_glyph(img, state, dy, k):
    w, h = img.size
    d = ImageDraw.Draw(img)
    colour = CHECK_RED if state != "normal" else BUTTON_TEXT
    a, b = min(w, h) * 0.3, min(w, h) * 0.7
    ox = (w - min(w, h)) / 2
    width = max(2 * k, h // 9)
    d.line((ox + a, a + dy, ox + b, b + dy), fill=colour, width=width)
    d.line((ox + a, b + dy, ox + b, a + dy), fill=colour, width=width)


# ---------------------------------------------------------------- background


def felt(size, seed, k=1):
    base = vertical_gradient(size, FELT_TOP, FELT_BOTTOM)
    return textured(base, grain(size, seed, 0.10, (2 * k, 2 * k)))


def draw_board(img, offset, square, margin, k=1):
    """The wooden frame and the squares, the grid's top-left at offset + margin; every length
    in picture pixels, k of them to the logical pixel."""
    ox, oy = offset
    frame_size = 8 * square + 2 * margin
    wood = vertical_gradient((frame_size, frame_size), WOOD_FRAME, WOOD_FRAME_DARK)
    wood = textured(wood, grain((frame_size, frame_size), 7, 0.16, (3 * k, 3 * k)))
    img.paste(wood, (ox, oy),
              rounded_mask((frame_size, frame_size), max(4 * k, margin // 3)))
    d = ImageDraw.Draw(img)
    gx, gy = ox + margin, oy + margin
    light = textured(Image.new("RGB", (square, square), SQUARE_LIGHT),
                     grain((square, square), 11, 0.12, (k, 10 * k)))
    dark = textured(Image.new("RGB", (square, square), SQUARE_DARK),
                    grain((square, square), 13, 0.18, (k, 10 * k)))
    for row in range(8):
        for col in range(8):
            img.paste(light if (row + col) % 2 == 0 else dark,
                      (gx + col * square, gy + row * square))
    end = 8 * square - 1
    d.rectangle((gx - 2 * k, gy - 2 * k, gx + end + 2 * k, gy + end + 2 * k),
                outline=(30, 18, 10), width=2 * k)
    d.rectangle((gx - 3 * k, gy - 3 * k, gx + end + 3 * k, gy + end + 3 * k),
                outline=(120, 84, 50), width=k)


def background(skin):
    W, H, k = skin.W, skin.H, skin.k
    img = felt((W, H), 3, k)
    d = ImageDraw.Draw(img)
    # A darker top strip that carries the title and the buttons.
    strip_img = vertical_gradient((W, skin.strip), (22, 30, 26), (12, 20, 16))
    img.paste(strip_img, (0, 0))
    d.rectangle((0, skin.strip - k, W, skin.strip - 1), fill=(70, 60, 40))
    # Board: the wooden frame around the grid, and a tray for the captured pieces below it.
    bx, by = skin.board[0], skin.board[1]
    draw_board(img, (bx, by), skin.sq, skin.margin, k)
    frame_bottom = by + 8 * skin.sq + 2 * skin.margin
    tray = (bx + 16 * k, skin.board[3] - 2 * skin.icon - 2 * k,
            bx + 8 * skin.sq + 2 * skin.margin - 4 * k, skin.board[3])
    if tray[1] >= frame_bottom + k:
        inset(img, tray, (14, 30, 22), 4, k)
    # Plates of the right column.
    radius = skin.px(6)
    cap_font = font(CJK_FONT, pt_to_px(skin.person_pt) * k)
    for plate_box, p in zip((skin.top_plate, skin.bottom_plate), skin.players):
        plate(img, plate_box, radius, k)
        inset(img, p["headpic"], (26, 20, 16), k=k)
        inset(img, p["color"], (34, 28, 22), 6, k)
        for caption, x, y, h in p["captions"]:
            draw_text_centered(img, (x, y, x + skin.px(26), y + h), caption, cap_font, CAPTION)
    plate(img, skin.settings_plate, radius, k)
    for caption, x, y, h in skin.settings["captions"]:
        draw_text_centered(img, (x, y, x + skin.px(26), y + h), caption, cap_font, CAPTION)
    # Wells behind the child windows.
    for box in (skin.buttonboard, skin.userlist, skin.chat, skin.adv):
        x0, y0, x1, y1 = box
        d.rounded_rectangle((x0 - 2 * k, y0 - 2 * k, x1 + 2 * k - 1, y1 + 2 * k - 1), 4 * k,
                            fill=(16, 30, 22), outline=PLATE_EDGE_DARK, width=k)
    inset(img, skin.userlist, TEXT_COLOURS["listbackcolor"], 2, k)
    inset(img, skin.chat, TEXT_COLOURS["listbackcolor"], 2, k)
    inset(img, skin.adv, (24, 34, 28), 2, k)
    return img


# ---------------------------------------------------------------- small images


def digits(k=1):
    """Clock digits 0-9 and a colon, 13 x 23 each (times k), magenta where nothing is
    drawn."""
    cells = "0123456789:"
    big = SUPERSAMPLE * k
    f = font(DIGIT_FONT, 21 * big)
    ink = Image.new("L", (13 * big * len(cells), 23 * big), 0)
    body = Image.new("L", ink.size, 0)
    for i, ch in enumerate(cells):
        box = (i * 13 * big, 0, (i + 1) * 13 * big, 23 * big)
        for layer, stroke in ((ink, 2 * big), (body, 0)):
            d = ImageDraw.Draw(layer)
            tw = f.getlength(ch)
            ascent, descent = f.getmetrics()
            d.text((box[0] + (13 * big - tw) / 2, (23 * big - ascent - descent) / 2 + big),
                   ch, font=f, fill=255, stroke_width=stroke, stroke_fill=255)
    size = (13 * k * len(cells), 23 * k)
    ink = ink.resize(size, Image.LANCZOS)
    body = body.resize(size, Image.LANCZOS)
    # The transparent colour must not bleed into edge pixels: the edge is drawn over a dark
    # outline, and only the outline's solid part is kept.
    img = Image.new("RGB", size, INK)
    img.paste(Image.new("RGB", size, DIGIT), (0, 0), body)
    keep = ink.point(lambda v: 255 if v >= 96 else 0)
    out = Image.new("RGB", size, MAGENTA)
    out.paste(img, (0, 0), keep)
    return out


def study_board(k=1):
    size, square, offset = 360 * k, 42 * k, 33 * k
    margin = offset - square // 2
    img = Image.new("RGB", (size, size), WOOD_FRAME_DARK)
    draw_board(img, (0, 0), square, margin, k)
    return img


# ---------------------------------------------------------------- head pictures


HEAD_GROUNDS = [(70, 110, 160), (150, 70, 60), (60, 130, 90), (170, 130, 50),
                (110, 80, 150), (60, 120, 130), (140, 100, 80), (90, 90, 100)]


# Enough for every index the hall hands out by default (a local table's first player has 11).
HEAD_PICTURES = 16


def head_picture(index, size, pieces):
    """A portrait for the people at the table: a piece on a coloured medallion."""
    big = size * SUPERSAMPLE
    ground = HEAD_GROUNDS[index % len(HEAD_GROUNDS)]
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    disc = vertical_gradient((size, size), tuple(min(255, c + 40) for c in ground), ground)
    img.paste(disc.convert("RGBA"), (0, 0), rounded_mask((size, size), size // 4))
    ring = Image.new("L", (big, big), 0)
    ImageDraw.Draw(ring).rounded_rectangle((0, 0, big - 1, big - 1), big // 4, outline=255,
                                           width=max(SUPERSAMPLE, big // 24))
    img.paste(Image.new("RGBA", (size, size), INK + (255,)), (0, 0),
              ring.resize((size, size), Image.LANCZOS))
    slot = (0, 1, 2, 3, 4, 5)[index % 6]
    colour = (index // 6) % 2 if index < 12 else index % 2
    sheet = piece_sheet(size, pieces)
    piece = sheet.crop(((colour * 7 + slot) * size, 0, (colour * 7 + slot + 1) * size, size))
    return Image.alpha_composite(img, piece)


def head_pictures(folder, pieces):
    """IDI_0.png ... in the layout of the hall's picture folder, each also at twice the size."""
    os.makedirs(folder, exist_ok=True)
    for index in range(HEAD_PICTURES):
        for k in (1, 2):
            head_picture(index, 32 * k, pieces).save(
                os.path.join(folder, dense_name(f"IDI_{index}.png", k)))


# ---------------------------------------------------------------- icons

# The program's icon and that of its record files, as shapes on a 256 x 256 canvas: one
# drawing that gives the scalable SVG and the PNG sizes alike.
PAWN = [
    ("poly", [(104, 146), (152, 146), (174, 202), (82, 202)], IVORY, INK, 8),
    ("rect", (64, 194, 192, 222, 8), IVORY, INK, 8),
    ("ellipse", (82, 136, 174, 158), IVORY, INK, 8),
    ("ellipse", (96, 64, 160, 128), IVORY, INK, 8),
]


def icon_shapes(kind):
    wood = ("grad", WOOD_FRAME, WOOD_FRAME_DARK)
    if kind == "app":
        shapes = [("rect", (8, 8, 248, 248, 40), wood, INK, 6)]
        for row in range(4):
            for col in range(4):
                x, y = 32 + col * 48, 32 + row * 48
                colour = SQUARE_LIGHT if (row + col) % 2 == 0 else SQUARE_DARK
                shapes.append(("rect", (x, y, x + 48, y + 48, 0), colour, None, 0))
        return shapes + PAWN
    # A record: a sheet with a folded corner and a small pawn on it.
    shapes = [("poly", [(48, 16), (168, 16), (216, 64), (216, 240), (48, 240)],
               (250, 246, 236), INK, 6),
              ("poly", [(168, 16), (168, 64), (216, 64)], SQUARE_LIGHT, INK, 6)]
    for y in (96, 120, 144):
        shapes.append(("rect", (72, y, 136, y + 8, 4), SQUARE_DARK, None, 0))
    small = []
    for shape, geom, fill, stroke, width in PAWN:
        t = lambda x, y: (104 + (x - 64) * 0.6, 112 + (y - 64) * 0.6)
        if shape == "poly":
            geom = [t(x, y) for x, y in geom]
        else:
            (x0, y0), (x1, y1) = t(*geom[:2]), t(*geom[2:4])
            geom = (x0, y0, x1, y1) + tuple(v * 0.6 for v in geom[4:])
        small.append((shape, geom, fill, stroke, width * 0.6))
    return shapes + small


def hex_colour(c):
    return "#%02x%02x%02x" % c


def icon_svg(kind):
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
           'viewBox="0 0 256 256">',
           '<defs><linearGradient id="wood" x1="0" y1="0" x2="0" y2="1">'
           f'<stop offset="0" stop-color="{hex_colour(WOOD_FRAME)}"/>'
           f'<stop offset="1" stop-color="{hex_colour(WOOD_FRAME_DARK)}"/>'
           '</linearGradient></defs>']
    for shape, geom, fill, stroke, width in icon_shapes(kind):
        paint = 'url(#wood)' if fill[0] == "grad" else hex_colour(fill)
        style = f'fill="{paint}"'
        if stroke:
            style += f' stroke="{hex_colour(stroke)}" stroke-width="{width:g}" ' \
                     'stroke-linejoin="round"'
        if shape == "poly":
            points = " ".join(f"{x:g},{y:g}" for x, y in geom)
            out.append(f'<polygon points="{points}" {style}/>')
        elif shape == "rect":
            x0, y0, x1, y1, r = geom
            out.append(f'<rect x="{x0:g}" y="{y0:g}" width="{x1 - x0:g}" height="{y1 - y0:g}" '
                       f'rx="{r:g}" {style}/>')
        else:
            x0, y0, x1, y1 = geom
            out.append(f'<ellipse cx="{(x0 + x1) / 2:g}" cy="{(y0 + y1) / 2:g}" '
                       f'rx="{(x1 - x0) / 2:g}" ry="{(y1 - y0) / 2:g}" {style}/>')
    return "\n".join(out + ["</svg>", ""])


def icon_png(kind, size):
    big = size * SUPERSAMPLE
    f = big / 256
    img = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    for shape, geom, fill, stroke, width in icon_shapes(kind):
        mask = Image.new("L", (big, big), 0)
        d = ImageDraw.Draw(mask)
        w = max(1, round(width * f))
        if shape == "poly":
            pts = [(x * f, y * f) for x, y in geom]
            draw = lambda **kw: d.polygon(pts, **kw)
        elif shape == "rect":
            box = tuple(v * f for v in geom[:4])
            draw = lambda **kw: d.rounded_rectangle(box, geom[4] * f, **kw)
        else:
            box = tuple(v * f for v in geom)
            draw = lambda **kw: d.ellipse(box, **kw)
        draw(fill=255)
        if fill[0] == "grad":
            paint = vertical_gradient((big, big), fill[1], fill[2]).convert("RGBA")
        else:
            paint = Image.new("RGBA", (big, big), fill + (255,))
        img.paste(paint, (0, 0), mask)
        if stroke:
            # The stroke lies on the outline, half inside and half outside, as in the SVG.
            edge = Image.new("L", (big, big), 0)
            d = ImageDraw.Draw(edge)
            draw(outline=255, width=w)
            edge = edge.filter(ImageFilter.MaxFilter(2 * (w // 4) + 1))
            img.paste(Image.new("RGBA", (big, big), stroke + (255,)), (0, 0), edge)
    return img.resize((size, size), Image.LANCZOS)


ICONS = {"app": ("apps", "kelo-chess"), "record": ("mimetypes", "application-x-kelo-chess-record")}


def icons(folder):
    """The hicolor theme's folders: scalable SVG and 48, 128 and 256 pixel PNG."""
    for kind, (context, name) in ICONS.items():
        path = os.path.join(folder, "hicolor", "scalable", context)
        os.makedirs(path, exist_ok=True)
        with open(os.path.join(path, name + ".svg"), "w") as f:
            f.write(icon_svg(kind))
        for size in (48, 128, 256):
            path = os.path.join(folder, "hicolor", f"{size}x{size}", context)
            os.makedirs(path, exist_ok=True)
            icon_png(kind, size).save(os.path.join(path, name + ".png"))


# ---------------------------------------------------------------- sounds


def write_wave(path, samples, rate=44100):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, round(s * 32767))))
                               for s in samples))


def tone(duration, partials, attack, decay, level, rate=44100, noise=0.0, seed=1):
    """Decaying partials (frequency, weight) with a raised-cosine attack."""
    rnd = random.Random(seed)
    n = int(duration * rate)
    out = []
    low = 0.0
    for i in range(n):
        t = i / rate
        env = math.exp(-t / decay)
        if t < attack:
            env *= 0.5 - 0.5 * math.cos(math.pi * t / attack)
        tail = duration - t
        if tail < 0.01:
            env *= tail / 0.01
        v = sum(wgt * math.sin(2 * math.pi * f * t) for f, wgt in partials)
        if noise:
            low += (rnd.uniform(-1, 1) - low) * 0.25
            v += noise * low
        out.append(level * env * v)
    return out


def sounds(folder):
    os.makedirs(folder, exist_ok=True)
    # A piece set down on wood: a low knock with a little grain.
    write_wave(os.path.join(folder, "501.wav"),
               tone(0.11, [(520, 0.6), (1130, 0.3), (2310, 0.1)], 0.003, 0.025, 0.45,
                    noise=0.5))
    # Hover: a faint high tick.
    write_wave(os.path.join(folder, "502.wav"),
               tone(0.04, [(2600, 0.7), (3900, 0.3)], 0.004, 0.010, 0.10))
    # Press: a soft click.
    write_wave(os.path.join(folder, "503.wav"),
               tone(0.06, [(1250, 0.7), (1900, 0.3)], 0.003, 0.014, 0.22, noise=0.2))
    # Refused: a short low double bump.
    a = tone(0.06, [(240, 0.8), (480, 0.2)], 0.008, 0.03, 0.30)
    b = tone(0.07, [(190, 0.8), (380, 0.2)], 0.008, 0.03, 0.30)
    write_wave(os.path.join(folder, "504.wav"), a + b)
    # Low time: a dry clock tick, once a second while the own clock runs out.
    write_wave(os.path.join(folder, "505.wav"),
               tone(0.05, [(1800, 0.6), (3100, 0.4)], 0.002, 0.008, 0.20, noise=0.3, seed=5))


# ---------------------------------------------------------------- description


def ini_value(v):
    if isinstance(v, str):
        return v
    if isinstance(v, int):
        return str(v)
    return ",".join(str(x) for x in v)


def description(skin):
    """The keys in the order the description lists them; texts go through GBK."""
    rect = lambda r: tuple(r)
    keys = [("size", (skin.W, skin.H)), ("rectangle", (14, 14)), ("title", "国际象棋"),
            ("titlexoffset", skin.title[0]), ("titleyoffset", skin.title[1]),
            ("titlecolor", TEXT_COLOURS["titlecolor"])]
    for side, p in zip(("top", "bottom"), skin.players):
        for key in ("show", "headpic", "color", "nickname", "username", "totaltime",
                    "pacetime", "pacenum"):
            keys.append((side + key + "rect", rect(p[key])))
        if side == "top":
            for key in ("totaltime", "pacetime", "paceaddtime"):
                keys.append((key + "rect", rect(skin.settings[key])))
    for key in ("timeinfocolor", "personinfocolor", "hotinfocolor"):
        keys.append((key, TEXT_COLOURS[key]))
    keys += [("personinfofontname", CJK_FAMILY), ("personinfofontsize", skin.person_pt),
             ("nicknamefontname", CJK_FAMILY), ("nicknamefontsize", skin.nick_pt),
             ("nicknamecolor", TEXT_COLOURS["nicknamecolor"]), ("nicknamealignment", 0),
             ("usernamealignment", 0), ("chessboardrect", rect(skin.board)),
             ("chessoffset", (skin.offset, skin.offset)), ("labelLeft", skin.label_left),
             ("labelbottom", skin.label_bottom), ("piecesize", (skin.piece, skin.piece)),
             ("pieceintervalsize", (skin.sq, skin.sq)),
             ("buttonboardrect", rect(skin.buttonboard)), ("buttonsize", skin.button),
             ("buttonintervalsize", skin.button_step), ("buttoncol", 4), ("buttonrow", 2),
             ("sysbtnexit", rect(skin.sysbtnexit)), ("sysbtnmin", rect(skin.sysbtnmin)),
             ("advpoint", skin.adv[:2]),
             ("advsize", (skin.adv[2] - skin.adv[0], skin.adv[3] - skin.adv[1])),
             ("userlistrect", rect(skin.userlist)), ("chatrect", rect(skin.chat))]
    for key in ("hall", "set", "help", "exit"):
        keys.append((key + "buttonpoint", skin.main_buttons[key][:2]))
    for key in ("hall", "set", "help", "exit"):
        r = skin.main_buttons[key]
        keys.append((key + "buttonsize", (r[2] - r[0], r[3] - r[1])))
    keys += [("actionbuttonrect", rect(skin.actionbutton)), ("actionbuttonback", "actionback.bmp"),
             ("chesspiecefile", "chess.png"), ("chesspieceborderfile", "frame.png")]
    for key in ("listbackcolor", "listtextcolor", "listselfbackcolor", "listselectcolor",
                "listselectbkcolor"):
        keys.append((key, TEXT_COLOURS[key]))
    lines = ["[chess]"] + [f"{k}={ini_value(v)}" for k, v in keys]
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


# ---------------------------------------------------------------- one skin folder


def write_skin(logical, folder, pieces, k=1):
    """The skin's pictures k times as dense as its description; those of k = 2 are named
    name@2x.ext, as high-density screens look for them."""
    skin = logical.scaled(k)
    if k == 1:
        logical.check()
    os.makedirs(folder, exist_ok=True)
    back = background(skin)
    cjk = font(CJK_FONT, max(11 * k, round(skin.button[1] * 0.46)))
    strip_font = font(CJK_FONT, max(11 * k, round((skin.main_buttons["hall"][3] -
                                                    skin.main_buttons["hall"][1]) * 0.66)))

    def under(box):
        return back.crop(box)

    images = {}
    images["min.bmp"] = strip(size_of(skin.sysbtnmin), under(skin.sysbtnmin), glyph=min_glyph,
                              k=k)
    images["close.bmp"] = strip(size_of(skin.sysbtnexit), under(skin.sysbtnexit),
                                glyph=close_glyph, k=k)
    for key, caption in (("hall", "大厅"), ("set", "设置"), ("help", "帮助"), ("exit", "退出")):
        box = skin.main_buttons[key]
        images[key + "btn.bmp"] = strip(size_of(box), under(box), caption=caption,
                                        caption_font=strip_font, k=k)
    images["actionbtn.bmp"] = strip(size_of(skin.actionbutton), under(skin.actionbutton),
                                    caption="道具", caption_font=cjk, k=k)
    images["actionback.bmp"] = button_face(size_of(skin.actionbutton), "normal",
                                           under(skin.actionbutton), k=k)
    # The button board's buttons: black around the rounded face is the transparent colour,
    # and the program writes the caption itself.
    black = Image.new("RGB", skin.button, (0, 0, 0))
    for state in ("normal", "hover", "pressed", "disabled"):
        images["btn" + state + ".bmp"] = button_face(skin.button, state, black, k=k)
    images["num.bmp"] = digits(k)
    images["frmback.bmp"] = back
    images["chess.png"] = piece_sheet(skin.piece, pieces)
    images["frame.png"] = frame_image(logical.sq, k)
    images["PieceIcon.png"] = piece_sheet(skin.icon, pieces, rim=True)
    for name, img in images.items():
        img.save(os.path.join(folder, dense_name(name, k)))
    if k == 1:
        with open(os.path.join(folder, "config.ini"), "wb") as f:
            f.write(description(logical))
    return images


def dense_name(name, k):
    stem, ext = os.path.splitext(name)
    return name if k == 1 else f"{stem}@{k}x{ext}"


def size_of(box):
    return (box[2] - box[0], box[3] - box[1])


# ---------------------------------------------------------------- preview


def preview(skin, images):
    """The window as the program would show it at the start of a game, with the marks on."""
    img = images["frmback.bmp"].copy().convert("RGBA")
    d = ImageDraw.Draw(img)
    bx, by = skin.board[:2]
    sheet, frame, icons = images["chess.png"], images["frame.png"], images["PieceIcon.png"]
    order = [1, 2, 3, 5, 4, 3, 2, 1]
    pos = {}
    for x in range(8):
        pos[(x, 0)], pos[(x, 1)] = (1, order[x]), (1, 0)
        pos[(x, 7)], pos[(x, 6)] = (0, order[x]), (0, 0)
    # e2-e4 played and the black king shown in check, to see every image at once.
    del pos[(4, 6)]
    pos[(4, 4)] = (0, 0)
    pos[(4, 0)] = (1, KING_IN_CHECK)
    P, S, off = skin.piece, skin.sq, skin.offset
    centre = lambda x, y: (bx + off + x * S, by + off + y * S)
    for (x, y), (c, slot) in pos.items():
        cx, cy = centre(x, y)
        cell = sheet.crop(((c * 7 + slot) * P, 0, (c * 7 + slot + 1) * P, P))
        img.alpha_composite(cell, (cx - P // 2, cy - P // 2))
    for sq in ((4, 6), (4, 4)):
        cx, cy = centre(*sq)
        img.alpha_composite(frame, (cx - S // 2, cy - S // 2))
    label = font(CJK_FONT, 12)
    for i in range(8):
        d.text((bx + skin.label_bottom[0] + i * S, by + skin.label_bottom[1]), "abcdefgh"[i],
               font=label, fill=(200, 200, 200))
        d.text((bx + skin.label_left[0], by + skin.label_left[1] + i * S), str(8 - i),
               font=label, fill=(200, 200, 200))
    iw = icons.width // 14
    for k, (c, slot) in enumerate(((0, 0), (0, 2), (0, 5))):
        cell = icons.crop(((c * 7 + slot) * iw, 0, (c * 7 + slot + 1) * iw, icons.height))
        img.alpha_composite(cell, (bx + 20 + k * iw, skin.board[3] - icons.height))
        cell = icons.crop((((1 - c) * 7 + slot) * iw, 0, ((1 - c) * 7 + slot + 1) * iw,
                           icons.height))
        img.alpha_composite(cell, (bx + 20 + k * iw, skin.board[3] - 2 * icons.height))
    # Panels with the texts the program writes.
    person = font(CJK_FONT, pt_to_px(skin.person_pt))
    nick = font(CJK_FONT, pt_to_px(skin.nick_pt))
    col = lambda k: TEXT_COLOURS[k]
    for i, (p, name, user) in enumerate(((skin.players[0], "黑方", "name2"),
                                         (skin.players[1], "白方", "matchuser001"))):
        d.text(p["nickname"][:2], name, font=nick, fill=col("nicknamecolor"))
        d.text(p["username"][:2], user, font=person, fill=col("personinfocolor"))
        hot = col("hotinfocolor") if i == 1 else col("personinfocolor")
        d.text(p["totaltime"][:2], "19分50秒" if i else "20分00秒", font=person, fill=hot)
        d.text(p["pacetime"][:2], "00分50秒" if i else "01分00秒", font=person, fill=hot)
        d.text(p["pacenum"][:2], "1步", font=person, fill=col("timeinfocolor"))
        if i == 1:
            king = sheet.crop((4 * P, 0, 5 * P, P))
            img.alpha_composite(king, p["color"][:2])
    for key, text in (("totaltime", "20分00秒"), ("pacetime", "01分00秒"), ("paceaddtime", "10")):
        d.text(skin.settings[key][:2], text, font=person, fill=col("timeinfocolor"))
    title = font(CJK_FONT, 12)
    d.text(skin.title, "国际象棋", font=title, fill=col("titlecolor"))
    # Button board: 开始 hovered, 载入 pressed, the rest normal or dead.
    captions = ["载入", "开始", "悔棋", "认输", "和棋", "棋谱", "保存", ""]
    states = ["pressed", "hover", "disabled", "disabled", "disabled", "normal", "normal",
              None]
    cap = font(CJK_FONT, 12)
    for slot, (caption, state) in enumerate(zip(captions, states)):
        if state is None:
            continue
        x = skin.buttonboard[0] + (slot % 4) * skin.button_step[0]
        y = skin.buttonboard[1] + (slot // 4) * skin.button_step[1]
        face = images["btn" + state + ".bmp"].convert("RGBA")
        mask = face.convert("L").point(lambda v: 0 if v == 0 else 255)
        img.paste(face, (x, y), mask)
        colour = {"normal": (0, 0, 100), "hover": (250, 20, 70), "pressed": (0, 0, 100),
                  "disabled": (150, 150, 150)}[state]
        bw, bh = skin.button
        d.text((x + (bw - 6 * 4) / 2, y + bh / 2 - 6), caption, font=cap, fill=colour)
    # The six buttons: hall hovered, help pressed.
    for name, box, state in (("hallbtn", skin.main_buttons["hall"], 1),
                             ("setbtn", skin.main_buttons["set"], 0),
                             ("helpbtn", skin.main_buttons["help"], 2),
                             ("exitbtn", skin.main_buttons["exit"], 0),
                             ("min", skin.sysbtnmin, 0), ("close", skin.sysbtnexit, 1),
                             ("actionbtn", skin.actionbutton, 0)):
        w, h = size_of(box)
        img.paste(images[name + ".bmp"].crop((state * w, 0, (state + 1) * w, h)), box[:2])
    # Clock digits in the chat well, to see them on a dark ground.
    num = images["num.bmp"]
    keyed = num.convert("RGBA")
    keyed.putdata([(0, 0, 0, 0) if px[:3] == MAGENTA else px for px in keyed.getdata()])
    img.alpha_composite(keyed, (skin.chat[0] + 8, skin.chat[1] + 8))
    d.text((skin.userlist[0] + 6, skin.userlist[1] + 4), "matchuser001  白方", font=person,
           fill=col("listtextcolor"))
    # Rounded corners as the window region cuts them, against a light desktop.
    mask = rounded_mask((skin.W, skin.H), 7)
    out = Image.new("RGBA", (skin.W, skin.H), (235, 235, 235, 255))
    out.paste(img, (0, 0), mask)
    return out


def contact_sheet(previews, extras, path):
    pad = 16
    width = max(p.width for p in previews) + 2 * pad
    height = sum(p.height for p in previews) + sum(e.height for e in extras) + pad * (
        len(previews) + len(extras) + 1)
    sheet = Image.new("RGBA", (width, height), (235, 235, 235, 255))
    y = pad
    for item in previews + extras:
        sheet.alpha_composite(item.convert("RGBA"), (pad, y))
        y += item.height + pad
    sheet.save(path)


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--preview"):
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    base = os.path.join(out, "skin", "image")
    pieces = {}
    previews, extras = [], []
    for skin in SKINS:
        images = write_skin(skin, os.path.join(base, skin.name), pieces)
        if len(argv) == 4:
            previews.append(preview(skin, images))
            for name in ("chess.png", "PieceIcon.png", "btnnormal.bmp", "btnhover.bmp",
                         "btnpressed.bmp", "btndisabled.bmp", "hallbtn.bmp", "close.bmp",
                         "min.bmp", "actionbtn.bmp", "num.bmp"):
                extras.append(images[name])
    study = study_board()
    study.save(os.path.join(base, "studyboard.bmp"))
    study_pieces = piece_sheet(38, pieces)
    study_pieces.save(os.path.join(base, "studychess.png"))
    # The textures' noise follows the order of drawing: the dense pictures come after all the
    # plain ones, so these stay as they were.
    for skin in SKINS:
        write_skin(skin, os.path.join(base, skin.name), pieces, 2)
    study_board(2).save(os.path.join(base, dense_name("studyboard.bmp", 2)))
    piece_sheet(76, pieces).save(os.path.join(base, dense_name("studychess.png", 2)))
    head_pictures(os.path.join(out, "room", "headpica"), pieces)
    icons(os.path.join(out, "icons"))
    sounds(os.path.join(out, "sound"))
    if len(argv) == 4:
        extras += [study, study_pieces]
        contact_sheet(previews, extras, argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
