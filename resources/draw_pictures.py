#!/usr/bin/env python3
"""Draws every picture of the program as SVG into resources/<folder>/<name>.svg.

One flat family: navy, teal, warm red, gold on light grey; 2 px strokes on a 48 grid.
Only SVG features that Qt's SVG renderer draws (no filters, masks, clip paths or CSS).
Run:  python3 draw_pictures.py [output folder, default: the folder of this script]
"""
import math, os, sys

N, N2, ND = "#1F3A68", "#2F5597", "#152A4D"      # navy, lighter navy, darker navy
T, TL = "#1B7F79", "#CDEBE8"                     # teal, light teal
R, RL = "#C0392B", "#F6D5D1"                     # warm red, light red
G, GL, GD = "#E0A526", "#FBEFD0", "#A87716"      # gold, light gold, dark gold
W, L, M, D = "#FFFFFF", "#F2F4F7", "#C9D1DC", "#8A94A6"   # white, light grey, mid grey, grey
ZH = "WenQuanYi Zen Hei"      # one family name: Qt 6.4 does not read a list of families
LAT = "Liberation Sans"

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
written = []


def svg(path, w, h, body, vb=None, defs="", par=None):
    vb = vb or f"0 0 {w} {h}"
    p = f' preserveAspectRatio="{par}"' if par else ""
    text = (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{w}" height="{h}" '
            f'viewBox="{vb}"{p}>\n')
    if defs:
        text += f"<defs>\n{defs}\n</defs>\n"
    text += body.strip() + "\n</svg>\n"
    full = os.path.join(OUT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as f:
        f.write(text)
    written.append(path)


def vgrad(id_, c1, c2, stops=None):
    s = stops or [(0, c1), (1, c2)]
    inner = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in s)
    return f'<linearGradient id="{id_}" x1="0" y1="0" x2="0" y2="1">{inner}</linearGradient>'


# ---------------------------------------------------------------- building blocks (48 grid)
S = 'stroke-linejoin="round" stroke-linecap="round"'


def doc(x=8, y=4, w=26, h=36, fold=8, fill=W, stroke=N, sw=2):
    """A portrait sheet with a folded top-right corner."""
    r, b = x + w, y + h
    return (f'<path d="M{x} {y} H{r-fold} L{r} {y+fold} V{b} H{x} Z" fill="{fill}" stroke="{stroke}" '
            f'stroke-width="{sw}" {S}/>'
            f'<path d="M{r-fold} {y} V{y+fold} H{r}" fill="{L}" stroke="{stroke}" stroke-width="{sw}" {S}/>')


def lines(x1, x2, ys, color=D, sw=2):
    return "".join(f'<path d="M{x1} {y} H{x2}" stroke="{color}" stroke-width="{sw}" {S}/>' for y in ys)


def badge(color, inner, cx=36, cy=36, r=10):
    """A round badge at the bottom right with a white ring, holding a white glyph."""
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{color}" stroke="{W}" stroke-width="2"/>' + inner


def cheque(band, x=3, y=9, w=42, h=26):
    """A landscape cheque: stub at the left behind a perforation, a coloured band, writing lines."""
    st = x + 11
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="3" fill="{W}" stroke="{N}" stroke-width="2"/>'
            f'<path d="M{x+1} {y+1} H{x+w-1} V{y+7} H{x+1} Z" fill="{band}"/>'
            f'<path d="M{x} {y+7} H{x+w}" stroke="{N}" stroke-width="2"/>'
            f'<path d="M{st} {y+8} V{y+h-1}" stroke="{N}" stroke-width="1.5" stroke-dasharray="2 2"/>'
            + lines(x + 3.5, st - 3, [y + 12, y + 17, y + 22], M, 1.8)
            + lines(st + 4, x + w - 5, [y + 13], D, 2) + lines(st + 4, x + w - 17, [y + 19], D, 2))


def gear(cx, cy, ro, ri, teeth, hole, fill, stroke, sw=1.5):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 2 * math.pi * (i - 0.5) / n - math.pi / 2
        rr = ro if (i % 4) in (0, 1) else ri
        # widen the teeth a little at the root
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    d = "M" + " L".join(f"{px:.2f} {py:.2f}" for px, py in pts) + " Z"
    d += (f" M{cx+hole:.2f} {cy:.2f} A{hole} {hole} 0 1 0 {cx-hole:.2f} {cy:.2f}"
          f" A{hole} {hole} 0 1 0 {cx+hole:.2f} {cy:.2f} Z")
    return f'<path d="{d}" fill="{fill}" fill-rule="evenodd" stroke="{stroke}" stroke-width="{sw}" {S}/>'


def person(cx, top, scale, fill, stroke=None, sw=2):
    """Head and shoulders; top = top of the head."""
    hr = 5.5 * scale
    hy = top + hr
    by = hy + hr + 2.5 * scale          # shoulder line
    bw = 11 * scale
    bh = 11 * scale
    st = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return (f'<circle cx="{cx}" cy="{hy}" r="{hr}" fill="{fill}"{st}/>'
            f'<path d="M{cx-bw} {by+bh} C{cx-bw} {by+2*scale} {cx-bw*0.55} {by} {cx} {by} '
            f'C{cx+bw*0.55} {by} {cx+bw} {by+2*scale} {cx+bw} {by+bh} Z" fill="{fill}"{st} {S}/>')


def pencil(cx, cy, length, angle, body=G, width=6):
    """A pencil centred on (cx, cy), tip pointing down-left when angle=45."""
    h = length / 2
    w = width / 2
    return (f'<g transform="translate({cx} {cy}) rotate({angle})">'
            f'<rect x="{-w}" y="{-h}" width="{width}" height="{length-6}" fill="{body}" stroke="{N}" stroke-width="2" {S}/>'
            f'<path d="M{-w} {h-6} H{w} L0 {h} Z" fill="{W}" stroke="{N}" stroke-width="2" {S}/>'
            f'<path d="M{-w} {-h} H{w} V{-h+4} H{-w} Z" fill="{R}" stroke="{N}" stroke-width="2" {S}/>'
            f'</g>')


def yen(cx, cy, s=1.0, color=W, sw=2.2):
    return (f'<path d="M{cx-4*s} {cy-5*s} L{cx} {cy} L{cx+4*s} {cy-5*s} M{cx} {cy} V{cy+6*s} '
            f'M{cx-3.5*s} {cy+0.8*s} H{cx+3.5*s} M{cx-3.5*s} {cy+3.6*s} H{cx+3.5*s}" fill="none" '
            f'stroke="{color}" stroke-width="{sw}" {S}/>')


def printer(x=4, y=6, paper_lines=True):
    """A desk printer, 40 wide, from y to y+34."""
    return (f'<rect x="{x+8}" y="{y}" width="{24}" height="{12}" rx="1.5" fill="{W}" stroke="{N}" stroke-width="2"/>'
            f'<rect x="{x}" y="{y+10}" width="40" height="16" rx="4" fill="{N}" stroke="{N}" stroke-width="2"/>'
            f'<circle cx="{x+33}" cy="{y+15}" r="2" fill="{G}"/>'
            f'<rect x="{x+8}" y="{y+21}" width="24" height="13" rx="1.5" fill="{W}" stroke="{N}" stroke-width="2"/>'
            + (lines(x + 12, x + 28, [y + 26, y + 30], D, 1.8) if paper_lines else ""))


def door_exit(arrow=R):
    """An open door with an arrow leaving it to the right."""
    return (f'<rect x="6" y="5" width="24" height="38" rx="2" fill="{L}" stroke="{N}" stroke-width="2"/>'
            f'<path d="M6 5 L20 9 V47 L6 43 Z" fill="{T}" stroke="{N}" stroke-width="2" {S}/>'
            f'<circle cx="17" cy="27" r="1.6" fill="{G}"/>'
            f'<path d="M24 25 H42 M36 18 L43 25 L36 32" fill="none" stroke="{arrow}" stroke-width="4" {S}/>')


def ledger(cover, letter):
    """A bound register book with a label carrying one Chinese character."""
    return (f'<rect x="7" y="4" width="28" height="38" rx="3" fill="{cover}" stroke="{N}" stroke-width="2"/>'
            f'<path d="M13 4 V42" stroke="{N}" stroke-width="2"/>'
            f'<rect x="17" y="10" width="14" height="14" rx="2" fill="{W}"/>'
            f'<text x="24" y="21.5" font-family="{ZH}" font-size="12" font-weight="bold" fill="{cover}" '
            f'text-anchor="middle">{letter}</text>'
            + lines(17, 31, [30, 35], W, 2))


# ---------------------------------------------------------------- function icons, 48 x 48
def icon(n, body):
    svg(f"001/k{n:02d}.svg", 48, 48, body)


# 1 cash cheque: red cheque, gold coin with the yuan sign
icon(1, cheque(R) + f'<circle cx="36" cy="35" r="10" fill="{G}" stroke="{W}" stroke-width="2"/>'
     f'<circle cx="36" cy="35" r="7.5" fill="none" stroke="{GD}" stroke-width="1.2"/>' + yen(36, 34.5, 0.85))
# 2 transfer cheque: teal cheque, exchange arrows
icon(2, cheque(T) + badge(T, f'<path d="M30 32.5 H41 M38 29.5 L41 32.5 L38 35.5 M42 39.5 H31 M34 36.5 L31 39.5 L34 42.5" '
                            f'fill="none" stroke="{W}" stroke-width="2" {S}/>', cy=36))
# 3 draft application: an application sheet with a navy header, signed by a pen
icon(3, doc(7, 4, 28, 38) + f'<rect x="11" y="9" width="14" height="4" rx="1" fill="{N}"/>'
     + lines(11, 30, [18, 23, 28], D) + lines(11, 22, [33], D)
     + badge(N, f'<path d="M31.5 40.5 L32.5 36.5 L39 30 L42 33 L35.5 39.5 Z" fill="{G}" stroke="{W}" stroke-width="1.4" {S}/>'
                f'<path d="M31.5 40.5 L33.8 39.8" stroke="{W}" stroke-width="1.4" {S}/>'))
# 4 wire transfer voucher: a voucher struck by a lightning bolt (telegraphic transfer)
icon(4, doc(7, 4, 28, 38) + f'<rect x="11" y="9" width="14" height="4" rx="1" fill="{G}"/>'
     + lines(11, 30, [18, 23, 28], D) + lines(11, 22, [33], D)
     + badge(G, f'<path d="M37.5 27.5 L31.5 37 H36 L34 44 L41 34 H36.5 L39.5 27.5 Z" fill="{W}" stroke="{N}" stroke-width="1.3" {S}/>'))
# 5 budget appropriation voucher: a voucher with a budget pie
icon(5, doc(7, 4, 28, 38) + f'<rect x="11" y="9" width="14" height="4" rx="1" fill="{T}"/>'
     + lines(11, 30, [18, 23, 28], D) + lines(11, 22, [33], D)
     + badge(T, f'<circle cx="36" cy="36" r="6.5" fill="{W}"/>'
                f'<path d="M36 36 V29.5 A6.5 6.5 0 0 1 42.2 38 Z" fill="{G}" stroke="{W}" stroke-width="1"/>'))
# 6 deposit form: a paying-in slip going down into the bank's tray
icon(6, doc(7, 4, 28, 38) + f'<rect x="11" y="9" width="14" height="4" rx="1" fill="{R}"/>'
     + lines(11, 30, [18, 23, 28], D) + lines(11, 22, [33], D)
     + badge(T, f'<path d="M36 29 V38 M32 34.5 L36 38.5 L40 34.5 M31 40.5 V42 H41 V40.5" fill="none" stroke="{W}" stroke-width="2" {S}/>'))


def listsheet():
    body = (f'<rect x="6" y="4" width="28" height="38" rx="3" fill="{W}" stroke="{N}" stroke-width="2"/>'
            f'<rect x="6" y="4" width="28" height="7" rx="3" fill="{N}"/><rect x="6" y="8" width="28" height="3" fill="{N}"/>')
    for y in (16, 22, 28, 34):
        body += f'<rect x="10" y="{y-1.5}" width="3" height="3" fill="{G}"/>' + lines(16, 29, [y], D)
    return body


# 7 payments list: a register list, money going out (red arrow up-right)
icon(7, listsheet() + badge(R, f'<path d="M32 40 L40 32 M34 32 H40 V38" fill="none" stroke="{W}" stroke-width="2.4" {S}/>'))
# 8 receipts list: a register list, money coming in (teal arrow down-left)
icon(8, listsheet() + badge(T, f'<path d="M40 32 L32 40 M32 34 V40 H38" fill="none" stroke="{W}" stroke-width="2.4" {S}/>'))
# 9 search: a magnifier over a sheet
icon(9, doc(6, 4, 26, 34) + lines(10, 22, [14, 19, 24], M)
     + f'<path d="M30 30 L42 42" stroke="{N}" stroke-width="7" {S}/><path d="M31 31 L41.5 41.5" stroke="{G}" stroke-width="3.2" {S}/>'
     + f'<circle cx="24" cy="24" r="10" fill="{TL}" stroke="{N}" stroke-width="3"/>'
     + f'<path d="M18.5 21.5 A6 6 0 0 1 22 18.3" fill="none" stroke="{W}" stroke-width="2.2" {S}/>')
# 10 receipt register editor: the receipts book with a pencil
icon(10, ledger(T, "收") + pencil(37, 32, 22, 35))
# 11 payment register editor: the payments book with a pencil
icon(11, ledger(R, "付") + pencil(37, 32, 22, 35))
# 12 change operator: two operators and a swap arrow
icon(12, person(15, 8, 1.0, N) + person(33, 16, 1.0, T, W, 1.5)
     + f'<path d="M21 8 A13 13 0 0 1 41 10" fill="none" stroke="{G}" stroke-width="3" {S}/>'
       f'<path d="M36.5 6.5 L41.8 10.6 L36 13" fill="none" stroke="{G}" stroke-width="3" {S}/>'
     + f'<path d="M4 46 H44" stroke="{M}" stroke-width="2" {S}/>')


def addressbook(cover):
    body = f'<rect x="9" y="4" width="30" height="39" rx="3" fill="{cover}" stroke="{N}" stroke-width="2"/>'
    for y in (11, 21, 31):
        body += f'<rect x="5" y="{y}" width="8" height="3.5" rx="1.5" fill="{G}" stroke="{N}" stroke-width="1.2"/>'
    body += person(24, 10, 0.85, W)
    body += f'<path d="M15 36 H33" stroke="{W}" stroke-width="2" {S}/>'
    return body


# 13 payee (supplier) book: an address book with a goods crate
icon(13, addressbook(N) + badge(G, f'<path d="M31 33 L36 30.5 L41 33 V39.5 L36 42 L31 39.5 Z M31 33 L36 35.5 L41 33 M36 35.5 V42" '
                                   f'fill="{W}" stroke="{N}" stroke-width="1.4" {S}/>', cy=36))
# 14 payer (distributor) book: an address book with a shop front
icon(14, addressbook(T) + badge(R, f'<path d="M30.5 33.5 L32 30 H40 L41.5 33.5 Z" fill="{W}" stroke="{W}" stroke-width="1.2" {S}/>'
                                   f'<path d="M32 34.5 V41 H40 V34.5 M34.5 41 V37 H37.5 V41" fill="none" stroke="{W}" stroke-width="1.6" {S}/>'))
# 15 calculator
calc = (f'<rect x="9" y="3" width="30" height="42" rx="4" fill="{N}" stroke="{N}" stroke-width="2"/>'
        f'<rect x="13" y="7" width="22" height="9" rx="1.5" fill="{TL}"/>'
        f'<path d="M24 11.5 H32" stroke="{N}" stroke-width="2" {S}/>')
for row in range(4):
    for col in range(3):
        x, y = 13 + col * 8, 19.5 + row * 6.2
        c = R if (row, col) == (3, 2) else (G if col == 2 else W)
        calc += f'<rect x="{x}" y="{y}" width="6" height="4.4" rx="1" fill="{c}"/>'
icon(15, calc)
# 16 user settings: an operator and a gear
icon(16, person(19, 5, 1.25, N) + f'<path d="M4 46 H30" stroke="{M}" stroke-width="2" {S}/>'
     + gear(36, 35, 10.5, 7.6, 8, 3.3, G, N, 1.8))
# 17 unit information: the unit's office building with an information badge
bld = (f'<rect x="5" y="12" width="24" height="32" fill="{N2}" stroke="{N}" stroke-width="2" {S}/>'
       f'<path d="M5 12 L17 5 L29 12" fill="{N}" stroke="{N}" stroke-width="2" {S}/>')
for row in range(4):
    for col in range(3):
        bld += f'<rect x="{9 + col * 6}" y="{16 + row * 6}" width="3.5" height="3.5" fill="{GL}"/>'
bld += f'<rect x="14.5" y="38" width="5" height="6" fill="{W}"/><path d="M2 44 H32" stroke="{N}" stroke-width="2" {S}/>'
icon(17, bld + badge(T, f'<circle cx="36" cy="31.5" r="1.6" fill="{W}"/><path d="M36 35 V41" stroke="{W}" stroke-width="2.6" {S}/>'))
# 18 remarks: a spiral note pad with a pencil
pad = (f'<rect x="6" y="7" width="28" height="36" rx="3" fill="{GL}" stroke="{N}" stroke-width="2"/>')
for x in (12, 18, 24, 30):
    pad += f'<path d="M{x} 4 V10" stroke="{N}" stroke-width="2.2" {S}/>'
pad += lines(11, 29, [17, 23, 29], N2, 2) + lines(11, 21, [35], N2, 2)
icon(18, pad + pencil(36, 30, 26, 35, T))
# 19 exit: an open door and an arrow leaving it
icon(19, door_exit())
# 20 own bank accounts: a bank building with a gear
bank = (f'<path d="M4 16 L21 6 L38 16 Z" fill="{N}" stroke="{N}" stroke-width="2" {S}/>'
        f'<circle cx="21" cy="12" r="2" fill="{G}"/>'
        f'<rect x="6" y="17" width="30" height="3" fill="{N}"/>')
for x in (9, 16.5, 24, 31.5):
    bank += f'<rect x="{x - 1.8}" y="21" width="3.6" height="16" fill="{W}" stroke="{N}" stroke-width="1.6"/>'
bank += f'<rect x="4" y="38" width="34" height="4" rx="1" fill="{N}"/>'
icon(20, bank + gear(37, 36, 10, 7.2, 8, 3.1, G, N, 1.8))
# 21 print formats: a page with movable field boxes and a four-way move badge
pf = doc(6, 4, 28, 38)
pf += (f'<rect x="10" y="12" width="12" height="5" fill="{TL}" stroke="{T}" stroke-width="1.4" stroke-dasharray="2 1.4"/>'
       f'<rect x="10" y="21" width="19" height="5" fill="{TL}" stroke="{T}" stroke-width="1.4" stroke-dasharray="2 1.4"/>'
       f'<rect x="10" y="30" width="9" height="5" fill="{TL}" stroke="{T}" stroke-width="1.4" stroke-dasharray="2 1.4"/>')
icon(21, pf + badge(N, f'<path d="M36 29.5 V42.5 M29.5 36 H42.5 M33.8 31.7 L36 29.5 L38.2 31.7 M33.8 40.3 L36 42.5 L38.2 40.3 '
                       f'M31.7 33.8 L29.5 36 L31.7 38.2 M40.3 33.8 L42.5 36 L40.3 38.2" fill="none" stroke="{W}" stroke-width="1.7" {S}/>'))
# 22 printer set-up: a printer and a gear
icon(22, printer(2, 4) + gear(37, 36, 10, 7.2, 8, 3.1, G, N, 1.8))
# 23 help topics: a round help sign
icon(23, f'<circle cx="24" cy="24" r="19" fill="{T}" stroke="{N}" stroke-width="2"/>'
         f'<circle cx="24" cy="24" r="15.5" fill="none" stroke="{W}" stroke-width="1.2" stroke-opacity="0.5"/>'
         f'<path d="M17.5 19 C17.5 14.8 20.5 12.5 24.2 12.5 C28 12.5 30.8 14.8 30.8 18.4 C30.8 21.6 28.6 22.8 26.6 24 '
         f'C25 25 24.2 26 24.2 28.4" fill="none" stroke="{W}" stroke-width="4" {S}/>'
         f'<circle cx="24.2" cy="34.6" r="2.6" fill="{W}"/>')
# 24 copyright notice: a copyright seal
icon(24, f'<circle cx="24" cy="24" r="19" fill="{N}" stroke="{N}" stroke-width="2"/>'
         f'<circle cx="24" cy="24" r="15" fill="none" stroke="{G}" stroke-width="2"/>'
         f'<path d="M29.5 18.8 A8 8 0 1 0 29.5 29.2" fill="none" stroke="{W}" stroke-width="3.6" {S}/>')
# 25 business entrustment letter: a formal letter under a red official seal
lt = doc(6, 3, 30, 40) + f'<rect x="12" y="8" width="16" height="4" rx="1" fill="{N}"/>' + lines(10, 31, [17, 22, 27], D) + lines(10, 20, [32], D)
star = []
for i in range(10):
    a = -math.pi / 2 + i * math.pi / 5
    rr = 4.2 if i % 2 == 0 else 1.8
    star.append(f"{35 + rr * math.cos(a):.2f} {35.5 + rr * math.sin(a):.2f}")
lt += (f'<circle cx="35" cy="35" r="10" fill="{W}" fill-opacity="0.85" stroke="{R}" stroke-width="2.4"/>'
       f'<path d="M{" L".join(star)} Z" fill="{R}"/>'
       f'<path d="M30 40.8 H40" stroke="{R}" stroke-width="1.4" {S}/>')
icon(25, lt)

# ---------------------------------------------------------------- letter button strip, 32 x 32 (drawn on the 48 grid)
def tool(name, body):
    svg(f"001/{name}.svg", 32, 32, body, vb="0 0 48 48")


# save: a disk
tool("01cp", f'<path d="M6 8 A3 3 0 0 1 9 5 H35 L43 13 V39 A3 3 0 0 1 40 42 H9 A3 3 0 0 1 6 39 Z" fill="{N}" stroke="{N}" stroke-width="2.5" {S}/>'
             f'<rect x="13" y="5" width="19" height="12" fill="{M}"/><rect x="25" y="7.5" width="4" height="7" fill="{N}"/>'
             f'<rect x="11" y="24" width="26" height="18" rx="1.5" fill="{W}"/>' + lines(15, 33, [30, 36], T, 2.5))
# print positioning: a sheet with a target cross on a field
tool("02dydw", doc(6, 4, 30, 40, sw=2.5) + lines(11, 24, [13], M, 2.5) + lines(11, 18, [38], M, 2.5)
     + f'<rect x="13" y="20" width="18" height="10" fill="{TL}" stroke="{T}" stroke-width="1.8" stroke-dasharray="2.5 1.5"/>'
       f'<circle cx="31" cy="30" r="8.5" fill="none" stroke="{R}" stroke-width="3.6"/>'
       f'<path d="M31 17 V43 M18 30 H44" stroke="{R}" stroke-width="3.2" {S}/>')
# print: a printer
tool("03dy", printer(4, 6).replace('stroke-width="2"', 'stroke-width="2.5"'))
# next sheet: a stack of sheets and an arrow to the right
tool("04xyz", doc(10, 3, 24, 32, 7, L, N, 2.5) + doc(5, 9, 24, 32, 7, W, N, 2.5) + lines(9, 21, [22, 28, 34], M, 2.5)
     + badge(T, f'<path d="M31 36 H42 M37.5 31.5 L42 36 L37.5 40.5" fill="none" stroke="{W}" stroke-width="3" {S}/>', cx=36, cy=36, r=11))
# exit: an open door and an arrow leaving it
tool("05tc", door_exit().replace('stroke-width="2"', 'stroke-width="2.5"'))

# ---------------------------------------------------------------- picker button: magnifier, 13 x 12
svg("001/11.svg", 13, 12, f'<path d="M7.6 7.4 L11.6 11" stroke="{N}" stroke-width="2.4" stroke-linecap="round"/>'
                          f'<circle cx="5.2" cy="4.9" r="3.7" fill="{TL}" stroke="{N}" stroke-width="1.5"/>'
                          f'<path d="M3.4 4.3 A2 2 0 0 1 4.8 2.9" fill="none" stroke="{W}" stroke-width="1"/>')

# ---------------------------------------------------------------- category tiles of the picture list, 140 x 56
def tile(name, color, glyph, label):
    defs = vgrad("bg", W, "#E4EAF2")
    body = (f'<rect x="1" y="1" width="138" height="54" rx="8" fill="url(#bg)" stroke="{N}" stroke-width="1.5"/>'
            f'<rect x="5" y="49" width="130" height="2" rx="1" fill="{color}"/>'
            f'<circle cx="27" cy="27" r="19" fill="{color}"/>' + glyph +
            f'<text x="54" y="34" font-family="{ZH}" font-size="17" font-weight="bold" fill="{N}">{label}</text>')
    svg(f"001/{name}.svg", 140, 56, body, defs=defs)


tile("kzp", R, f'<rect x="13" y="19" width="28" height="17" rx="2" fill="{W}"/>'
               f'<path d="M20 20.5 V34.5" stroke="{R}" stroke-width="1.2" stroke-dasharray="1.6 1.6"/>'
               + lines(23, 37, [24.5], R, 1.8) + lines(23, 31, [29.5], R, 1.8), "开支票")
tile("tjcx", T, f'<rect x="13" y="26" width="5" height="11" fill="{W}"/><rect x="20" y="19" width="5" height="18" fill="{W}"/>'
                f'<rect x="27" y="23" width="5" height="14" fill="{W}"/>'
                f'<circle cx="34" cy="20" r="5" fill="{T}" stroke="{W}" stroke-width="2.2"/>'
                f'<path d="M37.5 23.5 L41 27" stroke="{W}" stroke-width="2.6" {S}/>', "统计查询")
tile("ywgl", N, f'<rect x="14" y="19" width="26" height="18" rx="3" fill="{W}"/>'
                f'<path d="M22 19 V16 A2 2 0 0 1 24 14 H30 A2 2 0 0 1 32 16 V19" fill="none" stroke="{W}" stroke-width="2.2"/>'
                f'<path d="M14 26 H40" stroke="{N}" stroke-width="1.6"/><rect x="24.5" y="24" width="5" height="4" rx="1" fill="{G}"/>',
     "业务管理")
tile("xtsz", G, gear(27, 27, 12, 8.8, 8, 3.8, W, W, 1), "系统设置")
tile("bz", N2, f'<path d="M21.5 22 C21.5 18.5 24 16.5 27.2 16.5 C30.4 16.5 32.8 18.5 32.8 21.5 C32.8 24.2 30.9 25.2 29.2 26.2 '
               f'C27.9 27 27.2 27.9 27.2 30" fill="none" stroke="{W}" stroke-width="3.4" {S}/>'
               f'<circle cx="27.2" cy="35" r="2.2" fill="{W}"/>', "帮助")

# ---------------------------------------------------------------- login window
svg("001/User.svg", 30, 30, f'<circle cx="15" cy="15" r="13.5" fill="{TL}" stroke="{T}" stroke-width="1.5"/>'
    f'<circle cx="15" cy="11" r="5" fill="{N}"/>'
    f'<path d="M6.1 24.5 C7.5 19.5 10.5 17.5 15 17.5 C19.5 17.5 22.5 19.5 23.9 24.5 A13 13 0 0 1 6.1 24.5 Z" fill="{N}"/>')
svg("001/pass.svg", 30, 30, f'<circle cx="15" cy="15" r="13.5" fill="{GL}" stroke="{G}" stroke-width="1.5"/>'
    f'<path d="M10.5 13 V10.5 A4.5 4.5 0 0 1 19.5 10.5 V13" fill="none" stroke="{N}" stroke-width="2.2"/>'
    f'<rect x="8" y="13" width="14" height="11" rx="2" fill="{G}" stroke="{N}" stroke-width="1.5"/>'
    f'<circle cx="15" cy="17.5" r="1.7" fill="{N}"/><path d="M15 18 V21" stroke="{N}" stroke-width="1.6" {S}/>')


def login_button(name, c1, c2, glyph, label):
    defs = vgrad("bg", c1, c2)
    body = (f'<rect x="0.5" y="0.5" width="47" height="17" rx="4" fill="url(#bg)" stroke="{ND}" stroke-width="1"/>'
            f'<rect x="2" y="1.6" width="44" height="1" rx="0.5" fill="{W}" fill-opacity="0.35"/>' + glyph +
            f'<text x="30" y="13.3" font-family="{ZH}" font-size="11.5" font-weight="bold" fill="{W}" '
            f'text-anchor="middle">{label}</text>')
    svg(f"001/{name}.svg", 48, 18, body, defs=defs)


login_button("login", "#25A198", T, f'<path d="M5 9 H12.5 M9.5 6 L12.5 9 L9.5 12" fill="none" stroke="{W}" stroke-width="1.8" {S}/>', "登录")
login_button("sign", "#D65A4C", R, f'<path d="M6 6 L12 12 M12 6 L6 12" fill="none" stroke="{W}" stroke-width="1.8" {S}/>', "退出")

# ---------------------------------------------------------------- window-state buttons on the top banner, 19 x 18
def wbtn(name, face, glyph):
    body = (f'<rect x="0.5" y="0.5" width="18" height="17" rx="3" fill="{face}" stroke="{ND}" stroke-width="1"/>' + glyph)
    svg(f"001/{name}.svg", 19, 18, body)


wbtn("C1", "#E8EEF6", f'<path d="M5.5 12.5 H13.5" stroke="{N}" stroke-width="2" stroke-linecap="round"/>')
wbtn("c21", "#E8EEF6", f'<rect x="7.5" y="4" width="7" height="6" fill="none" stroke="{N}" stroke-width="1.3"/>'
                       f'<path d="M7.5 4.6 H14.5" stroke="{N}" stroke-width="1.6"/>'
                       f'<rect x="4.5" y="7.5" width="7" height="6" fill="#E8EEF6" stroke="{N}" stroke-width="1.3"/>'
                       f'<path d="M4.5 8.1 H11.5" stroke="{N}" stroke-width="1.6"/>')
wbtn("c22", "#E8EEF6", f'<rect x="4.5" y="4.5" width="10" height="9" fill="none" stroke="{N}" stroke-width="1.3"/>'
                       f'<path d="M4.5 5.3 H14.5" stroke="{N}" stroke-width="2"/>')
wbtn("c3", R, f'<path d="M6 5.5 L13 12.5 M13 5.5 L6 12.5" stroke="{W}" stroke-width="2" stroke-linecap="round"/>')

# ---------------------------------------------------------------- banners, 111 x 30, stretched across the window
svg("001/top1.svg", 111, 30,
    f'<rect x="0" y="0" width="111" height="30" fill="url(#bg)"/>'
    f'<rect x="0" y="0" width="111" height="1" fill="#4A6FA8"/>'
    f'<rect x="0" y="25" width="111" height="2" fill="{T}"/>'
    f'<rect x="0" y="27" width="111" height="3" fill="{G}"/>',
    defs=vgrad("bg", None, None, [(0, "#2B4F86"), (0.6, N), (1, ND)]), par="none")
svg("001/fot1.svg", 111, 30,
    f'<rect x="0" y="0" width="111" height="30" fill="url(#bg)"/>'
    f'<rect x="0" y="0" width="111" height="2" fill="{G}"/>'
    f'<rect x="0" y="2" width="111" height="2" fill="{T}"/>',
    defs=vgrad("bg", None, None, [(0, N), (1, ND)]), par="none")


# ---------------------------------------------------------------- emblem, logo, application icon
def emblem(x, y, s):
    """The program's mark: a navy tile with a cheque and a gold yuan coin, size 48*s."""
    k = lambda v: f"{v * s:.2f}"
    return (f'<g transform="translate({x} {y}) scale({s})">'
            f'<rect x="2" y="2" width="44" height="44" rx="9" fill="{N}"/>'
            f'<rect x="2" y="2" width="44" height="44" rx="9" fill="none" stroke="{T}" stroke-width="2"/>'
            f'<rect x="8" y="13" width="30" height="19" rx="2.5" fill="{W}"/>'
            f'<path d="M8 13 H38 V18 H8 Z" fill="{T}"/>'
            f'<path d="M15.5 19.5 V30.5" stroke="{T}" stroke-width="1.4" stroke-dasharray="2 1.6"/>'
            + lines(19, 33, [22.5], D, 1.8) + lines(19, 27, [27], D, 1.8) +
            f'<circle cx="34" cy="33" r="8.5" fill="{G}" stroke="{N}" stroke-width="2"/>' + yen(34, 32.5, 0.7, N, 2)
            + '</g>')


svg("AppIcon.svg", 48, 48, emblem(0, 0, 1))
# window icon of the deposit form: a report sheet with a green-for-go run badge
svg("RunReport5.svg", 48, 48, doc(7, 4, 28, 38) + f'<rect x="11" y="9" width="14" height="4" rx="1" fill="{T}"/>'
    + lines(11, 30, [18, 23, 28], D) + lines(11, 22, [33], D)
    + badge(T, f'<path d="M33.5 30.5 L41.5 36 L33.5 41.5 Z" fill="{W}" stroke="{W}" stroke-width="1.4" {S}/>'))
svg("001/dallsoft.svg", 179, 37,
    f'<rect x="0" y="0" width="179" height="37" fill="url(#bg)"/>' + emblem(3, 2.5, 0.67) +
    f'<text x="40" y="18" font-family="{LAT}" font-size="17" font-weight="bold" fill="{N}">Fennick</text>'
    f'<text x="105" y="18" font-family="{LAT}" font-size="10" font-weight="bold" fill="{G}">V2.58</text>'
    f'<text x="40" y="32" font-family="{ZH}" font-size="12" fill="{T}">财务票据打印系统</text>'
    f'<rect x="0" y="36" width="179" height="1" fill="{G}"/>',
    defs=vgrad("bg", W, "#E9EEF5"))

# ---------------------------------------------------------------- splash, 410 x 253
sp = (f'<rect x="0" y="0" width="410" height="253" fill="url(#bg)"/>'
      f'<circle cx="360" cy="40" r="120" fill="{W}" fill-opacity="0.04"/>'
      f'<circle cx="400" cy="190" r="80" fill="{T}" fill-opacity="0.18"/>')
# two fanned forms on the right
sp += (f'<g transform="translate(264 80) rotate(-10)">'
       f'<rect x="0" y="0" width="130" height="64" rx="5" fill="{W}" stroke="{ND}" stroke-width="1.5"/>'
       f'<rect x="0.8" y="0.8" width="128.4" height="13" rx="4.2" fill="{T}"/><rect x="0.8" y="8" width="128.4" height="6" fill="{T}"/>'
       f'<path d="M34 16 V62" stroke="{T}" stroke-width="1.4" stroke-dasharray="3 2.5"/>'
       + lines(6, 28, [24, 32, 40, 48], M, 2) + lines(42, 120, [26], D, 2) + lines(42, 95, [36], D, 2)
       + f'<rect x="88" y="43" width="34" height="12" rx="2" fill="none" stroke="{T}" stroke-width="1.5"/></g>')
sp += (f'<g transform="translate(246 116) rotate(4)">'
       f'<rect x="0" y="0" width="130" height="64" rx="5" fill="{W}" stroke="{ND}" stroke-width="1.5"/>'
       f'<rect x="0.8" y="0.8" width="128.4" height="13" rx="4.2" fill="{R}"/><rect x="0.8" y="8" width="128.4" height="6" fill="{R}"/>'
       f'<text x="65" y="11.5" font-family="{ZH}" font-size="9.5" fill="{W}" text-anchor="middle">现 金 支 票</text>'
       f'<path d="M34 16 V62" stroke="{R}" stroke-width="1.4" stroke-dasharray="3 2.5"/>'
       + lines(6, 28, [24, 32, 40, 48], M, 2) + lines(42, 120, [26], D, 2) + lines(42, 95, [36], D, 2)
       + f'<rect x="84" y="43" width="38" height="12" rx="2" fill="none" stroke="{R}" stroke-width="1.5"/></g>')
sp += (f'<circle cx="364" cy="176" r="19" fill="{G}" stroke="{ND}" stroke-width="2"/>'
       f'<circle cx="364" cy="176" r="14.5" fill="none" stroke="{GD}" stroke-width="1.4"/>' + yen(364, 175, 1.5, ND, 3))
sp += (f'<text x="28" y="84" font-family="{LAT}" font-size="46" font-weight="bold" fill="{W}">Fennick</text>'
       f'<text x="214" y="84" font-family="{LAT}" font-size="16" font-weight="bold" fill="{G}">V2.58</text>'
       f'<text x="29" y="121" font-family="{ZH}" font-size="25" fill="{W}">财务票据打印系统</text>'
       f'<rect x="29" y="134" width="64" height="3" rx="1.5" fill="{G}"/>'
       f'<rect x="97" y="134" width="24" height="3" rx="1.5" fill="{T}"/>'
       f'<text x="29" y="158" font-family="{ZH}" font-size="11" fill="#C5D3E8">支票 · 汇票申请书 · 电汇凭证 · 进帐单</text>'
       f'<text x="29" y="175" font-family="{ZH}" font-size="11" fill="#C5D3E8">填写 · 保存 · 打印 · 查询</text>')
sp += (f'<rect x="0" y="215" width="410" height="38" fill="{ND}"/>'
       f'<rect x="0" y="215" width="410" height="2" fill="{G}"/>'
       + emblem(14, 224, 0.44) +
       f'<text x="42" y="239" font-family="{ZH}" font-size="11" fill="#AFC0DA">Dallow财务软件  版权所有</text>'
       f'<text x="396" y="239" font-family="{ZH}" font-size="11" fill="#AFC0DA" text-anchor="end">正在启动，请稍候…</text>'
       f'<rect x="0.5" y="0.5" width="409" height="252" fill="none" stroke="{ND}" stroke-width="1"/>')
svg("001/DALL.svg", 410, 253, sp, defs=vgrad("bg", "#26487D", ND))

# ---------------------------------------------------------------- mouse pointer over the clickable pictures: a hand, 32 x 32
svg("1001.svg", 32, 32,
    f'<path d="M11 4.5 C11 3.1 12 2.5 13 2.5 C14 2.5 15 3.1 15 4.5 V13 C15 12 16 11.5 17 11.5 C18 11.5 19 12 19 13 V14.5 '
    f'C19 13.5 20 13 21 13 C22 13 23 13.5 23 14.5 V16 C23 15 24 14.6 25 14.6 C26 14.6 27 15.2 27 16.2 V22 '
    f'C27 25 25.5 27 24.5 28.5 V30 H13 V28.5 C11.5 27 8.5 23.5 6.5 21 C5.6 19.9 5.8 18.6 6.8 18 '
    f'C7.8 17.4 9 17.8 9.8 18.8 L11 20.3 Z" fill="{W}" stroke="#000000" stroke-width="1.3" {S}/>'
    f'<path d="M15 13 V18.5 M19 14.5 V19 M23 16 V19.5" stroke="#000000" stroke-width="1.1" {S}/>')

print("\n".join(written))
