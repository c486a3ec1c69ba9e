"""The glyph descriptors of the embedded music font.

Each row: index, short name, code point, box (x of the left edge, y of the top
edge, width, height; design units, y up) and reference point (design units,
y up). The glyph code sizes a glyph by scaling its box and places it by its
reference point, so the outline at each code point is built to these boxes.
"""

DESCRIPTORS = [
    (0, "ScriptVert", 0xF011, (-1, 708, 73, 716), (-1, 708)),
    (1, "ScriptHorz", 0xF012, (0, 87, 713, 73), (0, 87)),
    (2, "ScriptDot", 0xF013, (80, 423, 33, 42), (80, 423)),
    (3, "Digit0", 0x0030, (0, 500, 400, 500), (200, 0)),
    (4, "Natural", 0x0021, (0, 500, 200, 593), (200, 204)),
    (5, "DunYin", 0x0024, (0, 500, 226, 318), (113, 182)),
    (6, "ZhongYin", 0x0025, (0, 500, 345, 264), (172, 236)),
    (7, "BaoChiYin", 0x0026, (0, 500, 400, 50), (200, 450)),
    (8, "YanYin", 0x0027, (0, 500, 450, 271), (225, 229)),
    (9, "BoYin", 0x0028, (0, 500, 450, 186), (225, 314)),
    (10, "DunYin2", 0x002A, (0, 500, 226, 318), (113, 182)),
    (11, "BoYin2", 0x002B, (0, 500, 451, 186), (226, 314)),
    (12, "ChanYin", 0x0029, (-12, 500, 500, 266), (238, 234)),
    (13, "BoYin-Down", 0x002B, (0, 500, 450, 186), (225, 314)),
    (14, "左括号", 0x002D, (0, 500, 111, 500), (56, 250)),
    (15, "通用数字-0", 0x0054, (0, 500, 400, 400), (0, 500)),
    (16, "通用数字2-0", 0x005E, (0, 500, 400, 500), (0, 500)),
    (17, "调号-C", 0x0068, (0, 500, 500, 500), (0, 500)),
    (18, "调号-1=", 0x007D, (0, 500, 1100, 500), (0, 500)),
    (19, "速度-J=", 0x007E, (0, 500, 1100, 500), (0, 500)),
    (20, "速度-J=(8th)", 0x0020, (0, 500, 1200, 500), (0, 500)),
    (21, "速度-J=(4thDot)", 0x00B6, (0, 500, 1300, 500), (0, 500)),
    (22, "拍号-自由节拍", 0x006F, (0, 500, 400, 500), (0, 500)),
    (23, "换气", 0x002C, (0, 345, 264, 345), (132, 0)),
    (24, "力度-ppp", 0x0075, (0, 436, 1197, 438), (598, -2)),
    (25, "力度-pp", 0x0076, (0, 436, 821, 438), (410, -2)),
    (26, "力度-p", 0x0077, (20, 436, 445, 438), (242, -2)),
    (27, "力度-mp", 0x0078, (0, 436, 800, 438), (400, -2)),
    (28, "力度-mf", 0x0079, (0, 583, 800, 585), (417, -2)),
    (29, "力度-f", 0x007A, (22, 603, 473, 598), (258, 5)),
    (30, "力度-ff", 0x007B, (30, 593, 801, 585), (430, 8)),
    (31, "力度-fff", 0x007C, (0, 583, 1087, 585), (544, -2)),
    (32, "重复-DS", 0x0070, (8, 363, 907, 366), (462, -3)),
    (33, "重复-DC", 0x0071, (1, 366, 926, 369), (464, -3)),
    (34, "重复-Fine", 0x0072, (23, 355, 993, 356), (520, -1)),
    (35, "重复-Coda", 0x0073, (0, 630, 551, 630), (276, 0)),
    (36, "重复-Segno", 0x0074, (0, 537, 356, 537), (200, 0)),
    (37, "左圆括号", 0x00A8, (0, 700, 155, 700), (78, 0)),
    (38, "右圆括号", 0x00A9, (0, 700, 155, 700), (78, 0)),
    (39, "上滑音(箭头)", 0x00A2, (0, 500, 233, 500), (116, 0)),
    (40, "下滑音(箭头)", 0x00A3, (0, 500, 233, 500), (116, 0)),
    (41, "上滑音(波浪线)", 0x00A4, (0, 500, 252, 500), (126, 0)),
    (42, "下滑音(波浪线)", 0x00A5, (0, 500, 252, 500), (126, 0)),
    (43, "微升", 0x00A6, (0, 500, 150, 500), (75, 0)),
    (44, "微降", 0x00A7, (0, 500, 150, 500), (75, 0)),
    (45, "Return", 0x002F, (0, 286, 266, 286), (0, 0)),
    (46, "HuaKuoHao", 0x00A0, (0, 859, 141, 1000), (0, 859)),
    (47, "ZhenYin", 0x00AF, (0, 500, 280, 324), (0, 338)),
    (48, "Wave_Vert", 0x00B0, (0, 500, 125, 476), (125, 500)),
    (49, "Line_Vert", 0x00B1, (0, 500, 35, 500), (35, 500)),
    (50, "Wave_Horz", 0x00B2, (0, 500, 476, 125), (0, 375)),
    (51, "Line_Horz", 0x00B3, (0, 500, 400, 35), (0, 500)),
    (52, "ring", 0x00B4, (0, 500, 180, 180), (90, 410)),
    (53, "Circle", 0x00B5, (0, 500, 125, 125), (62, 438)),
    (54, "rit", 0xF05E, (-29, 646, 673, 498), (308, 397)),
    (55, "重复-DS1", 0xF040, (8, 363, 1153, 366), (584, -3)),
    (56, "重复-DS2", 0xF041, (8, 363, 1153, 366), (584, -3)),
    (57, "重复-Segno1", 0xF042, (0, 537, 714, 537), (328, 0)),
    (58, "重复-Segno2", 0xF043, (0, 537, 714, 537), (328, 0)),
    (59, "重复-DS3", 0xF044, (8, 363, 1232, 373), (624, -10)),
    (60, "重复-DS12", 0xF045, (8, 363, 1615, 366), (816, -3)),
    (61, "重复-DS13", 0xF046, (8, 363, 1615, 366), (816, -3)),
    (62, "重复-DS23", 0xF047, (8, 363, 1615, 366), (816, -3)),
    (63, "重复-Segno3", 0xF048, (0, 537, 714, 537), (328, 0)),
    (64, "重复-Segno12", 0xF049, (0, 537, 1123, 537), (562, 0)),
    (65, "重复-Segno13", 0xF04A, (0, 537, 1123, 537), (562, 0)),
    (66, "重复-Segno23", 0xF04B, (0, 537, 1123, 537), (562, 0)),
]

# Descriptors whose box is a layout cell rather than the ink box: the glyph
# code steps through a set of glyphs of different natural widths (digits,
# key letters) or puts the next glyph straight after it ("1=", tempo notes).
# Their outlines span the full cell height; digits are centred in the cell,
# the others start at its left edge and leave a right side bearing.
CELL_CENTER = {"Digit0", "通用数字-0", "通用数字2-0"}
CELL_LEFT = {"调号-C", "调号-1=", "速度-J=", "速度-J=(8th)", "速度-J=(4thDot)"}


# The accidentals' box is the cell of a text-sized accidental (200 x 593 for
# 1.2 digit heights): filled, a sharp would stand 1.2 digits tall. The ink is
# an engraved-size accidental instead (about 0.7 digit heights) that ends at
# the cell's right edge and is centred on the reference point, which the note
# code puts at 0.8 digit heights, so the accidental sits raised at the upper
# left of the digit as in printed jianpu.
CELL_REF = {"Natural"}


def by_name():
    return {d[1]: d for d in DESCRIPTORS}
