"""Independent checks of design files with plistlib.

usage: design_roundtrip.py CARDTOOL WORKDIR
Checks the file `cardtool design-new` writes, then writes a design of every object kind as keyed
archives (some keys left out), and checks that design-dump shows what was written and that
design-resave keeps it, every object archive holding its keys in stored order and value kind.
Exits non-zero with a message on the first difference.
"""
import json
import math
import os
import plistlib
import struct
import subprocess
import sys

CARDTOOL, WORK = sys.argv[1], sys.argv[2]
MARKER = "ZOLVMACFENWORADELCARD"
SIDE_FIELDS = [
    ("Card_border_chk", "flag"), ("Card_bordr_clr", "color"), ("Card_bor_Stepper", "int"),
    ("Card_border_style", "str"), ("Card_fill_chk", "flag"), ("Card_fill_style", "str"),
    ("Card_fill_clr", "color"), ("Card_fill_Grd_1_clr", "color"), ("Card_fill_Grd_2_clr", "color"),
    ("Card_grad_Stepper", "int"), ("Card_hatch_style", "str"), ("Card_hatch_bk_clr", "color"),
    ("Card_alpha_Stepper", "float"), ("Card_Side", "str"), ("Card_Side_Name", "str"),
    ("Card_Shape", "str"), ("Card_Name", "str"), ("Card_Location", "point"), ("Card_Size", "size"),
    ("Card_Preset", "str"), ("Card_Category", "str"), ("Card_Sub_Category", "str"),
    ("Card_Cat_index", "int"), ("Card_Create_Mode", "str"), ("Card_BG_Image_Path", "str"),
    ("Card_BG_Image_Layout", "str"), ("Card_Content_clr", "color"), ("Card_Content_font", "font"),
]

# The object archive: its keys in stored order with their value kinds.
ARCHIVE_KEYS = [
    ("_bounds", "rect"), ("ctrl_is_locked", "bool"), ("_isDrawingFill", "bool"), ("_fillColor", "object"),
    ("_isDrawingStroke", "bool"), ("_strokeColor", "object"), ("_strokeWidth", "float"),
    ("_stroke_border_type", "object"), ("_fill_type", "object"), ("_fill_Grad_clr1", "object"),
    ("_fill_Grad_clr2", "object"), ("_fill_grad_angle", "float"), ("_fill_htch_clr", "object"),
    ("_fill_hatch_type", "object"), ("_isFlippedHorizontally", "bool"), ("_isFlippedVertically", "bool"),
    ("invert_clr", "bool"), ("gray_Scale", "bool"), ("Sepia", "bool"), ("img_trnsp_val", "float"),
    ("hue_val", "float"), ("sat_val", "float"), ("brt_val", "float"), ("con_val", "float"),
    ("srp_val", "float"), ("ev_val", "float"), ("blr_val", "float"), ("data_source_type", "int"),
    ("rotate_image", "float"), ("_file_path", "object"), ("sign_or_fingureprint", "object"),
    ("batch_list_name", "object"), ("batch_list_index", "int"), ("_line_ori", "int"),
    ("_line_cap_style", "int"), ("alpha_val", "float"), ("alpha_val_stroke", "float"),
    ("text_ctrl_font", "object"), ("txt_clr", "object"), ("_Text_contents", "object"),
    ("_shape_type", "object"), ("cor_rad_val_val", "float"), ("_barcode_image", "object"),
    ("linear_or_2d", "int"), ("barcode_font_index", "int"), ("linear_font_val", "object"),
    ("two_d_font_val", "object"), ("header_val", "object"), ("footer_val", "object"),
    ("show_hide_hdr", "int"), ("show_hide_ftr", "int"), ("show_hide_val", "int"), ("show_val_on_top", "int"),
    ("align_hdr_index", "int"), ("align_ftr_index", "int"), ("linear_height_val", "float"),
    ("linear_width_val", "float"), ("qr_size_val", "int"), ("qr_version_index", "int"),
    ("qr_ec_index", "int"), ("pdf_hgt_val", "int"), ("pdf_wdt_val", "int"), ("pdf_ec_val", "int"),
    ("dm_module_val", "int"), ("dm_format_index", "int"), ("dm_encoding_index", "int"),
    ("hdr_margin_val", "float"), ("ftr_margin_val", "float"), ("val_margin_val", "float"),
    ("TB_marging_val", "float"), ("LR_margin_val", "float"), ("value_font_val", "object"),
    ("header_font_val", "object"), ("footer_font_val", "object"), ("barcode_hdr_clr_val", "object"),
    ("barcode_ftr_clr_val", "object"), ("barcode_val_clr_val", "object"), ("barcode_back_clr_val", "object"),
    ("barcode_clr_val", "object"), ("dpi_val_index", "int"), ("dpi_custom_val", "object"),
    ("barcode_unit_val", "int"), ("text_alignmnet", "int"), ("text_transfrom_case", "int"),
    ("text_kerning", "float"), ("print_object", "int"), ("control_ID", "object"), ("excel_binding", "bool"),
    ("excel_col_indx", "int"), ("Text_Value", "object"), ("ctrl_is_visible", "bool"),
    ("double_star_type", "int"), ("polygon_type", "int"), ("excel_col_title", "object"),
    ("manual_file_path", "object"), ("kerning_value", "int"),
]

def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


def check(cond, msg):
    if not cond:
        fail(msg)


def run(*args):
    p = subprocess.run([CARDTOOL, *args], capture_output=True)
    if p.returncode != 0:
        fail("cardtool %s: %s" % (" ".join(args), p.stderr.decode()))
    return p.stdout


def archive_root(data):
    a = plistlib.loads(data)
    check(a["$archiver"] == "NSKeyedArchiver" and a["$version"] == 100000, "archive header")
    objs = a["$objects"]
    check(objs[0] == "$null", "$objects starts with $null")
    root = objs[a["$top"]["root"].data]
    return objs, root


def classname(objs, obj):
    return objs[obj["$class"].data]["$classname"]


# --- 1. the new design ---
new = os.path.join(WORK, "new.dcard")
run("design-new", new)
with open(new, "rb") as f:
    raw = f.read()
check(raw.startswith(b"<?xml"), "design files are XML property lists")
items = plistlib.loads(raw)
check(isinstance(items, list) and len(items) == 63, "63 items, got %d" % len(items))
check(items[0] == MARKER, "marker")
for side in range(2):
    for k, (name, kind) in enumerate(SIDE_FIELDS):
        v = items[1 + side * 28 + k]
        if kind in ("color", "font"):
            check(isinstance(v, bytes), "%s is data" % name)
            objs, root = archive_root(v)
            if kind == "color":
                check(classname(objs, root) == "NSColor" and root["NSColorSpace"] == 2, name)
                check(root["NSRGB"].endswith(b"\0"), "NSRGB ends with NUL")
                comps = [float(x) for x in root["NSRGB"][:-1].split()]
                check(len(comps) == 4, name)
            else:
                check(classname(objs, root) == "NSFont", name)
                check(objs[root["NSName"].data] == "TimesNewRomanPS-ItalicMT", "content font name")
                check(root["NSSize"] == 14.0 and root["NSfFlags"] == 16, "content font size")
        else:
            check(isinstance(v, str), "%s is a string" % name)
expected = {"Card_border_chk": "Y", "Card_bor_Stepper": "1", "Card_fill_chk": "N", "Card_alpha_Stepper": "100.00",
            "Card_Side": "2", "Card_Side_Name": "F", "Card_Shape": "R", "Card_Name": "Untitled",
            "Card_Location": "{0, 0}", "Card_Size": "{0, 0}", "Card_Preset": "Horizontal",
            "Card_Category": "PVC Card", "Card_Sub_Category": "CR80-Credit Card Size", "Card_Cat_index": "0",
            "Card_Create_Mode": "W", "Card_BG_Image_Path": "", "Card_BG_Image_Layout": "Stretch",
            "Card_hatch_style": "", "Card_border_style": "S", "Card_fill_style": "S"}
names = [n for n, _ in SIDE_FIELDS]
for side in range(2):
    for name, want in expected.items():
        got = items[1 + side * 28 + names.index(name)]
        check(got == want, "%s: %r != %r" % (name, got, want))
check(items[57:] == ["N", "", ["Row"], [], "0", "0"], "items 57-62: %r" % (items[57:],))


# --- 2. a design written here ---
class Archive:
    """A keyed archive built by hand, in the layout of the design file's object archives."""

    def __init__(self):
        self.objects = ["$null"]
        self.classes = {}

    def add(self, obj):
        self.objects.append(obj)
        return plistlib.UID(len(self.objects) - 1)

    def cls(self, name, chain):
        if name not in self.classes:
            self.classes[name] = self.add({"$classname": name, "$classes": chain})
        return self.classes[name]

    def string(self, s):
        return self.add(s)

    def color(self, r, g, b, a):
        return self.add({"$class": self.cls("NSColor", ["NSColor", "NSObject"]), "NSColorSpace": 2,
                         "NSRGB": ("%g %g %g %g" % (r, g, b, a)).encode() + b"\0"})

    def font(self, name, size):
        return self.add({"$class": self.cls("NSFont", ["NSFont", "NSObject"]), "NSName": self.string(name),
                         "NSSize": float(size), "NSfFlags": 16})

    def text(self, s, font, color):
        attrs = self.add({"$class": self.cls("NSDictionary", ["NSDictionary", "NSObject"]),
                          "NS.keys": [self.string("NSFont"), self.string("NSColor"), self.string("NSKern")],
                          "NS.objects": [font, color, self.add(0.0)]})
        return self.add({"$class": self.cls("NSTextStorage", ["NSTextStorage", "NSObject"]),
                         "NSString": self.string(s), "NSAttributes": attrs})

    def finish(self, root):
        rid = self.add(root)
        return plistlib.dumps({"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": rid},
                               "$objects": self.objects}, fmt=plistlib.FMT_BINARY)


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


def graphic(kind, extra):
    """An object archive and the dump values expected for the keys it holds."""
    ar = Archive()
    root = {"$class": ar.cls(kind, [kind, "SKTGraphic", "NSObject"])}
    want = {"class": kind}
    common = {
        "_bounds": ("rect", [10.5, 20, 100, 50]), "ctrl_is_locked": ("bool", True),
        "_isDrawingFill": ("bool", True), "_fillColor": ("color", [0.25, 0.5, 0.75, 1]),
        "_strokeWidth": ("float", 1.3), "_stroke_border_type": ("str", "DA"), "_fill_type": ("str", "G"),
        "_fill_grad_angle": ("float", 45.5), "img_trnsp_val": ("float", 80), "hue_val": ("float", 0.3),
        "data_source_type": ("int", 2), "_file_path": ("str", "/nowhere/picture.png"),
        "batch_list_name": ("str", "Names"), "batch_list_index": ("int", 3), "alpha_val": ("float", 0.5),
        "text_ctrl_font": ("font", ("ArialMT", 18)), "txt_clr": ("color", [1, 0, 0, 1]),
        "_shape_type": ("str", "S"), "cor_rad_val_val": ("float", 10), "qr_size_val": ("int", 60),
        "header_font_val": ("font", ("TimesNewRomanPSMT", 10)), "dpi_custom_val": ("str", "300"),
        "excel_col_indx": ("int", 1), "Text_Value": ("str", "Hello there"), "ctrl_is_visible": ("bool", True),
        "print_object": ("int", 0), "control_ID": ("str", ""), "polygon_type": ("int", 2),
    }
    common.update(extra)
    for key, (form, value) in common.items():
        if form == "rect":
            root[key] = "{{%g, %g}, {%g, %g}}" % tuple(value)
            want[key] = value
        elif form in ("bool", "int"):
            root[key] = value
            want[key] = value
        elif form == "float":
            root[key] = float(value)
            want[key] = f32(value)
        elif form == "str":
            root[key] = ar.string(value)
            want[key] = value
        elif form == "null":
            root[key] = plistlib.UID(0)
            want[key] = None
        elif form == "color":
            root[key] = ar.color(*value)
            want[key] = value
        elif form == "font":
            root[key] = ar.font(*value)
            want[key] = {"name": value[0], "size": value[1]}
        elif form == "text":
            root[key] = ar.text(value, ar.font("ArialMT", 12), ar.color(0, 0, 0, 1))
            want[key] = {"text": value}
    return ar.finish(root), want


specs = [
    ("SKTText", {"_Text_contents": ("text", "Dear Ann"), "text_alignmnet": ("int", 2),
                 "text_kerning": ("float", 1.5)}),
    ("SKTImage", {"_isFlippedHorizontally": ("bool", True), "gray_Scale": ("bool", True)}),
    ("SKTLine", {"_line_cap_style": ("int", 1), "_pointsRight": ("bool", True)}),
    ("Shape_Control", {"_shape_type": ("str", "DS"), "double_star_type": ("int", 3),
                       "_fill_hatch_type": ("null", None)}),
    ("SKTSignature", {"sign_or_fingureprint": ("str", "F")}),
    ("SKTBarcode", {"linear_or_2d": ("int", 1), "header_val": ("str", "TOP"), "footer_val": ("str", ""),
                    "barcode_clr_val": ("color", [0, 0, 0.5, 1])}),
]
front_archives, front_want = [], []
for kind, extra in specs:
    a, w = graphic(kind, extra)
    front_archives.append(a)
    front_want.append(w)
back_archive, back_want = graphic("Shape_Control", {"_shape_type": ("str", "C")})


def side_items(shape, name, fill_style, bg_path):
    def col(r, g, b, a):
        ar = Archive()
        return ar.finish({"$class": ar.cls("NSColor", ["NSColor", "NSObject"]), "NSColorSpace": 2,
                          "NSRGB": ("%g %g %g %g" % (r, g, b, a)).encode() + b"\0"})

    def fnt(n, s):
        ar = Archive()
        return ar.finish({"$class": ar.cls("NSFont", ["NSFont", "NSObject"]), "NSName": ar.string(n),
                          "NSSize": float(s), "NSfFlags": 16})

    return ["Y", col(0.1, 0.2, 0.3, 1), "3", "DO", "Y", fill_style, col(1, 1, 0, 0.5), col(1, 1, 1, 1),
            col(0, 0, 0, 1), "90", "Hatch2", col(0.5, 0.5, 0.5, 1), "0.75", "2", "F", shape, name,
            "{1.5, 2}", "{243, 153}", "Vertical", "PVC Card", "CR79", "4", "W", bg_path, "Tile",
            col(0, 0, 1, 1), fnt("ArialMT", 11)]


design = [MARKER] + side_items("RR", "Front card", "S", "") + side_items("E", "Back card", "I", "/gone/bg.png")
design += ["Y", "/data/book.xlsx", ["Row", "Name", "City"],
           [{"Extension": "1", "Column1": "Ann", "Column2": "Oslo"}, {"Extension": "2", "Column1": "Bo", "Column2": ""}],
           str(len(front_archives))] + front_archives + ["1", back_archive]
src = os.path.join(WORK, "python.dcard")
with open(src, "wb") as f:
    plistlib.dump(design, f, fmt=plistlib.FMT_XML)

dump = json.loads(run("design-dump", src))


def same(a, b):
    if isinstance(a, float) or isinstance(b, float):
        return isinstance(a, (int, float)) and isinstance(b, (int, float)) and math.isclose(a, b, rel_tol=0, abs_tol=1e-9)
    if isinstance(a, list):
        return isinstance(b, list) and len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if isinstance(a, dict):
        return isinstance(b, dict) and a.keys() == b.keys() and all(same(a[k], b[k]) for k in a)
    return a == b and type(a) == type(b) or (a == b and {type(a), type(b)} <= {int, float} and a is not True and b is not True)


def check_objects(got, wants):
    check(len(got) == len(wants), "object count")
    for g, w in zip(got, wants):
        for key, value in w.items():
            check(same(g.get(key, "<missing>"), value), "%s.%s: %r != %r" % (w["class"], key, g.get(key), value))
        # Keys left out read as zero.
        check(g["ev_val"] == 0 and g["invert_clr"] is False and g["barcode_back_clr_val"] is None,
              "left-out keys read as zero")
        check(g["two_d_font_val"] is None and g["_Text_contents"] is None or w["class"] == "SKTText", "absent objects")


check_objects(dump["front"]["objects"], front_want)
check_objects(dump["back"]["objects"], [back_want])
check(dump["front"]["objects"][2]["_pointsDown"] is False, "line flags")
page = dump["front"]["page"]
check(page["Card_Shape"] == "RR" and page["Card_Name"] == "Front card" and page["Card_bor_Stepper"] == 3, "page")
check(same(page["Card_alpha_Stepper"], f32(0.75)) and page["Card_Location"] == [1.5, 2], "page numbers")
check(page["Card_fill_clr"] == [1, 1, 0, 0.5] and page["Card_Content_font"] == {"name": "ArialMT", "size": 11}, "page")
check(dump["back"]["page"]["Card_BG_Image_Path"] == "/gone/bg.png", "back picture path")
check(dump["excel"] == {"use": True, "path": "/data/book.xlsx", "titles": ["Row", "Name", "City"],
                        "rows": design[60]}, "excel: %r" % (dump["excel"],))

# --- 3. resave keeps everything ---
again = os.path.join(WORK, "again.dcard")
run("design-resave", src, again)
redump = json.loads(run("design-dump", again))
# Opened, the barcode bound to the "Name" column and saved without a picture gets the one its first
# row makes, as the canvas shows it; nothing else changes.
drawn = redump["front"]["objects"][-1].pop("_barcode_image")
check(dump["front"]["objects"][-1].pop("_barcode_image") is None and drawn and drawn["width"] > 0,
      "the bound barcode's picture: %r" % (drawn,))
# Its frame is the box that picture draws, from the same corner.
frame, saved_frame = redump["front"]["objects"][-1].pop("_bounds"), dump["front"]["objects"][-1].pop("_bounds")
check(frame[:2] == saved_frame[:2] and frame[2] > 0 and frame[3] > 0, "the bound barcode's frame: %r" % (frame,))
check(redump == dump, "design-resave changed the design")
resaved = plistlib.load(open(again, "rb"))
check(len(resaved) == 63 + len(front_archives) + 1, "resaved item count")
# The resaved archives hold every key in stored order with its value kind, and the values written.
PY_KIND = {"rect": str, "bool": bool, "int": int, "float": float, "object": plistlib.UID}
for item, want in zip(resaved[62:62 + len(front_archives)], front_want):
    objs, root = archive_root(item)
    check(classname(objs, root) == want["class"], "resaved class")
    keys = [k for k in root if k != "$class"]
    expected_keys = [k for k, _ in ARCHIVE_KEYS]
    if want["class"] == "SKTLine":
        expected_keys += ["_pointsRight", "_pointsDown"]
    check(keys == expected_keys, "%s: archive keys out of order" % want["class"])
    for key, kind in ARCHIVE_KEYS:
        value = root[key]
        check(type(value) is PY_KIND[kind], "%s.%s is stored as %s" % (want["class"], key, type(value).__name__))
        if key in want and kind in ("bool", "int", "float"):
            check(value == want[key], "%s.%s: %r != %r" % (want["class"], key, value, want[key]))
        elif key in want and isinstance(want[key], str) and kind == "object":
            check(objs[value.data] == want[key], "%s.%s resaved" % (want["class"], key))
print("ok")
