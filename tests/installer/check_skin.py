#!/usr/bin/python3
"""Checks the skins: the wizard's document says what the layout prescribes, the uninstaller's holds the
controls its program looks up; both stay inside the markup subset the toolkit reads and name only
images that exist at the size of the control that shows them; the committed images are exactly what
scripts/make-art.py draws.

usage: check_skin.py REPO_ROOT"""
import filecmp
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

from PIL import Image, ImageChops

ROOT = pathlib.Path(sys.argv[1]).resolve()
SKIN = ROOT / "assets/skin"
DOCUMENT = SKIN / "ZKMainFrame.xml"
UNINSTALL_DOCUMENT = SKIN / "ZKUnInstall.xml"
# The controls ZKUnInstall.exe looks up, and the question its confirm page asks.
UNINSTALL_CONTROLS = {"tabUninstall": "TabLayout", "uninstallBtn": "Button", "cancelBtn": "Button",
                      "hintLab": "Label", "uninstallPrg": "Progress", "uninstallproglab": "Label",
                      "doneTitleLab": "Label", "doneLab": "Label", "finishBtn": "Button"}
UNINSTALL_QUESTION = "确定要卸载 Tessaro 吗？"
SUB = "Install_and_uninstall\\"

KNOWN_ELEMENTS = {"Window", "Font", "Default", "VerticalLayout", "HorizontalLayout", "TabLayout",
                  "Control", "Button", "Label", "Option", "Progress"}
IMAGE_ATTRIBUTES = {"bkimage", "foreimage", "normalimage", "hotimage", "pushedimage", "focusedimage",
                    "disabledimage", "hotforeimage", "selectedimage", "selectedhotimage", "selectedpushedimage",
                    "selecteddisableimage", "selectedforeimage", "thumbnormalimage", "thumbhotimage",
                    "thumbpushedimage", "button1normalimage", "button1hotimage", "button1pushedimage",
                    "button2normalimage", "button2hotimage", "button2pushedimage", "bknormalimage"}
MAX_ATTRIBUTES = 64  # the markup parser sees no more per element
EDGE_SHADE = 24  # colour steps an anti-aliased edge may move between font or Pillow versions
EDGE_PIXEL_SHARE = 0.001

# Page roots name backgrounds that the archive does not hold; the pages replace them at start-up.
PAGE_PLACEHOLDERS = {"verroot0": "安装01.png", "verroot1": "安装02.png", "verroot2": "安装03.png",
                     "verroot3": "安装04.png"}
PAGE_BACKGROUNDS = [f"Install_and_uninstall/table_bg_install_0{i}.png" for i in range(1, 5)]
PAGE_SIZE = (700, 420)
DISPLAY_SCALES = (150, 200)  # the toolkit looks "a.png" up as "a@150.png" at 150 %

FONTS = {0: ("微软雅黑", 11, False), 1: ("微软雅黑", 12, False), 2: ("微软雅黑", 13, False),
         3: ("微软雅黑", 14, False), 4: ("微软雅黑", 15, False), 5: ("Arial", 35, True),
         6: ("Arial", 37, True), 7: ("Arial", 39, True), 8: ("Arial Narrow", 50, False),
         9: ("微软雅黑", 16, True)}

# name: (element, floating position or None, width, height, padding or None)
LAYOUT = {
    "minbtn": ("Button", "620,11", 24, 24, None), "closebtn": ("Button", "655,11", 24, 24, None),
    "installBtn": ("Button", "246,264", 208, 44, None), "protocalOpt": ("Option", "28,26", 18, 18, None),
    "zk_btn_protocal": ("Button", "58,20", 120, 29, None), "customBtn": ("Button", "579,18", 101, 32, None),
    "gobackbtn": ("Button", None, 100, 24, "22,10,0,0"), "minbtn1": ("Button", "623,11", 24, 24, None),
    "closebtn1": ("Button", "655,11", 24, 24, None), "installBtn1": ("Button", "246,198", 208, 44, None),
    "pathLab": ("Label", None, None, 40, None), "spaceLab": ("Label", "131,166", 520, 21, None), "modifyBtn": ("Button", None, 60, 32, "0,4,4,0"),
    "desktopShortCutOpt": ("Option", "28,26", 18, 18, None), "addtaskbarOpt": ("Option", "238,26", 18, 18, None),
    "minbtn2": ("Button", "620,11", 24, 24, None), "closebtn2": ("Button", "655,11", 24, 24, None),
    "installPrg": ("Progress", "55,342", 594, 14, None), "installproglab": ("Label", "52,367", 232, 21, None),
    "minbtn3": ("Button", "620,11", 24, 24, None), "closebtn3": ("Button", "655,11", 24, 24, None),
    "completeBtn": ("Button", "246,202", 208, 44, None),
}

failures = []


def fail(message):
    failures.append(message)


def descriptor_file(descriptor):
    """The file an image descriptor names, and its items."""
    items = dict(re.findall(r"(\w+)='([^']*)'", descriptor))
    name = items.get("file") or items.get("res") or (descriptor if not items else "")
    return name, items


def attribute_list(text):
    """The pairs of a default attribute list (name="value" separated by spaces)."""
    return re.findall(r'(\w+)="([^"]*)"', text)


def check_scaled_art(owner, name):
    """The art of every display scale exists, at the size the toolkit scales the skin's lengths to
    (rounded half up, as MulDiv rounds)."""
    with Image.open(SKIN / name.replace("\\", "/")) as base:
        base_size = base.size
    for percent in DISPLAY_SCALES:
        scaled_name = name.replace(".", f"@{percent}.")
        path = SKIN / scaled_name.replace("\\", "/")
        if not path.is_file():
            fail(f"{owner}: the skin folder lacks {scaled_name}")
            continue
        want = tuple((length * percent + 50) // 100 for length in base_size)
        with Image.open(path) as img:
            if img.size != want:
                fail(f"{owner}: {scaled_name} is {img.size[0]}x{img.size[1]}, want {want[0]}x{want[1]}")


def check_image(owner, attribute, descriptor, size):
    name, items = descriptor_file(descriptor)
    if not name:
        fail(f"{owner}: {attribute} names no file: {descriptor!r}")
        return
    path = SKIN / name.replace("\\", "/")
    if not path.is_file():
        fail(f"{owner}: {attribute} names {name}, which the skin folder lacks")
        return
    check_scaled_art(owner, name)
    if size is None or "source" in items or "dest" in items:
        return
    with Image.open(path) as img:
        if img.size != size:
            fail(f"{owner}: {name} is {img.size[0]}x{img.size[1]}, the control {size[0]}x{size[1]}")


def check_markup_subset(text):
    for tag in re.findall(r"<[A-Za-z][^>]*>", text):
        attributes = re.findall(r"""(\w+)\s*=\s*("[^"]*"|'[^']*')""", tag)
        if any(value.startswith("'") for _, value in attributes):
            fail(f"single-quoted attribute value in {tag[:60]}")
        if len(attributes) > MAX_ATTRIBUTES:
            fail(f"more than {MAX_ATTRIBUTES} attributes in {tag[:60]}")
    for entity in re.findall(r"&[^;\s]*;", text):
        if entity not in ("&amp;", "&lt;", "&gt;", "&quot;", "&apos;"):
            fail(f"entity {entity} is unknown to the markup parser")


def floating_rects(element, origin=(0, 0)):
    """The page rectangles of the floating controls under element (a floating row's children float
    inside the row)."""
    for child in element:
        if child.get("float") != "true":
            continue
        left, top, right, bottom = map(int, child.get("pos").split(","))
        rect = (origin[0] + left, origin[1] + top, origin[0] + right, origin[1] + bottom)
        if len(child):
            yield from floating_rects(child, rect[:2])
        else:
            yield child.get("name") or child.get("text") or child.tag, rect


def check_keyboard_order(label, pages):
    """The keyboard walks a page in document order: its content first, the title-bar glyphs last, so
    that a page opens on its content; the glyphs float, and no floating control covers another."""
    for page in pages:
        stops = [e.get("name") for e in page.iter() if e.tag in ("Button", "Option")]
        glyphs = [n for n in stops if n.startswith(("minbtn", "closebtn"))]
        if not glyphs or stops[len(stops) - len(glyphs):] != glyphs:
            fail(f"{label} {page.get('name')}: the title-bar glyphs are not last in {stops}")
        rects = list(floating_rects(page))
        for i, (a, ra) in enumerate(rects):
            for b, rb in rects[i + 1:]:
                if ra[0] < rb[2] and rb[0] < ra[2] and ra[1] < rb[3] and rb[1] < ra[3]:
                    fail(f"{label} {page.get('name')}: {a} {ra} overlaps {b} {rb}")


def check_document():
    raw = DOCUMENT.read_bytes()
    text = raw.decode("utf-8")
    check_markup_subset(text)
    root = ET.fromstring(raw)

    if root.tag != "Window":
        fail(f"root element is {root.tag}")
    for key, value in (("size", "700,420"), ("caption", "0,0,0,50"), ("roundcorner", "6,6")):
        if root.get(key) != value:
            fail(f"Window {key} is {root.get(key)!r}, want {value!r}")

    fonts = {int(f.get("id")): (f.get("name"), int(f.get("size")), f.get("bold") == "true",
                                f.get("italic") == "true" or f.get("underline") == "true")
             for f in root.iter("Font")}
    for fid, (face, size, bold) in FONTS.items():
        if fonts.get(fid) != (face, size, bold, False):
            fail(f"font {fid} is {fonts.get(fid)}, want {face} {size} bold={bold}")
    if set(fonts) != set(FONTS):
        fail(f"font ids {sorted(fonts)}")

    defaults = {d.get("name"): d.get("value") for d in root.iter("Default")}
    if set(defaults) != {"VScrollBar", "HScrollBar"}:
        fail(f"default lists for {sorted(defaults)}")
    for owner, value in defaults.items():
        pairs = dict(attribute_list(value))
        for attribute, descriptor in pairs.items():
            if attribute in IMAGE_ATTRIBUTES:
                check_image(f"Default {owner}", attribute, descriptor, None)
    if dict(attribute_list(defaults.get("VScrollBar", ""))).get("width") != "9":
        fail("VScrollBar default is not 9 wide")

    named = {}
    for element in root.iter():
        if element.tag not in KNOWN_ELEMENTS:
            fail(f"element {element.tag} is not part of the skin's vocabulary")
        if element.get("name") and element.tag not in ("Font", "Default"):
            if element.get("name") in named:
                fail(f"name {element.get('name')} used twice")
            named[element.get("name")] = element

    for name, cls in (("verRoot", "VerticalLayout"), ("tabInstall", "TabLayout")):
        if name not in named or named[name].tag != cls:
            fail(f"{name} is missing or not a {cls}")
    pages = list(named["tabInstall"]) if "tabInstall" in named else []
    if [p.get("name") for p in pages] != list(PAGE_PLACEHOLDERS):
        fail(f"tab pages are {[p.get('name') for p in pages]}")
    for index, page in enumerate(pages):
        if page.tag != "VerticalLayout" or page.get("virtualwnd") != f"install{index}":
            fail(f"page {index} is {page.tag} with virtualwnd {page.get('virtualwnd')!r}")
        if page.get("bkimage") != PAGE_PLACEHOLDERS.get(page.get("name")):
            fail(f"page {index} background is {page.get('bkimage')!r}")
        hidden = page.get("visible") == "false"
        if hidden != (index > 0):
            fail(f"page {index} visible={page.get('visible')!r}")
        bars = [c for c in page if c.tag == "HorizontalLayout" and c.get("height") == "54" and not c.get("float")]
        if not bars or page[0] is not bars[0]:
            fail(f"page {index} does not start with its 54-pixel title bar")
    check_keyboard_order("ZKMainFrame.xml", pages)

    for name, (cls, pos, width, height, padding) in LAYOUT.items():
        element = named.get(name)
        if element is None or element.tag != cls:
            fail(f"{name} is missing or not a {cls}")
            continue
        if pos is not None:
            x, y = map(int, pos.split(","))
            want = f"{x},{y},{x + width},{y + height}"
            if element.get("float") != "true" or element.get("pos") != want:
                fail(f"{name} floats at {element.get('pos')!r} (float={element.get('float')!r}), want {want}")
        if width is not None and element.get("width") != str(width):
            fail(f"{name} width {element.get('width')!r}, want {width}")
        if element.get("height") != str(height):
            fail(f"{name} height {element.get('height')!r}, want {height}")
        if padding is not None and element.get("padding") != padding:
            fail(f"{name} padding {element.get('padding')!r}, want {padding}")

    for element in root.iter():
        size = None
        if element.get("width") and element.get("height"):
            size = (int(element.get("width")), int(element.get("height")))
        for attribute, value in element.attrib.items():
            if attribute not in IMAGE_ATTRIBUTES:
                continue
            if element.get("name") in PAGE_PLACEHOLDERS and attribute == "bkimage":
                continue
            check_image(element.get("name") or element.tag, attribute, value, size)

    for name in PAGE_BACKGROUNDS:
        path = SKIN / name
        if not path.is_file():
            fail(f"page background {name} is missing")
            continue
        check_scaled_art("page background", name)
        with Image.open(path) as img:
            if img.size != PAGE_SIZE:
                fail(f"page background {name} is {img.size}")
            elif img.convert("RGBA").getpixel((350, 210))[3] != 255:
                fail(f"page background {name} is not opaque inside the window")


def draw_into(folder):
    skin, icon = folder / "skin", folder / "tessaro.ico"
    subprocess.run(["/usr/bin/python3", str(ROOT / "scripts/make-art.py"), "--skin", str(skin), "--icon", str(icon)],
                   check=True)
    return skin, icon


def files_under(folder, skip=None):
    return sorted(p.relative_to(folder).as_posix() for p in folder.rglob("*") if p.is_file() and p != skip)


def nearly_same_picture(a, b):
    """Same size and, but for a few anti-aliased edge pixels, the same colours: a newer FreeType or
    Pillow may move an edge by a shade, a stale or edited image changes far more."""
    with Image.open(a) as x, Image.open(b) as y:
        if x.size != y.size:
            return False
        diff = ImageChops.difference(x.convert("RGBA"), y.convert("RGBA"))
    worst = Image.new("L", diff.size, 0)
    for channel in diff.split():
        worst = ImageChops.lighter(worst, channel)
    differing = worst.point(lambda v: 255 if v > EDGE_SHADE else 0).histogram()[255]
    return differing <= diff.size[0] * diff.size[1] * EDGE_PIXEL_SHARE


def check_generator():
    with tempfile.TemporaryDirectory() as tmp:
        first_skin, first_icon = draw_into(pathlib.Path(tmp) / "first")
        second_skin, second_icon = draw_into(pathlib.Path(tmp) / "second")
        drawn = files_under(first_skin)
        if drawn != files_under(second_skin):
            fail("two runs of the generator draw different sets of files")
        for name in drawn:
            if not filecmp.cmp(first_skin / name, second_skin / name, shallow=False):
                fail(f"two runs of the generator give different bytes for {name}")
        if not filecmp.cmp(first_icon, second_icon, shallow=False):
            fail("two runs of the generator give different icons")

        committed = [name for name in files_under(SKIN) if "/" in name or not name.endswith(".xml")]
        if drawn != committed:
            fail(f"the generator and the commit differ in {sorted(set(drawn) ^ set(committed))}")
        for name in sorted(set(drawn) & set(committed)):
            same = filecmp.cmp(first_skin / name, SKIN / name, shallow=False)
            if not same and not (name.endswith(".png") and nearly_same_picture(first_skin / name, SKIN / name)):
                fail(f"{name} differs from what scripts/make-art.py draws")
        if not filecmp.cmp(first_icon, ROOT / "assets/icon/tessaro.ico", shallow=False):
            with Image.open(first_icon) as a, Image.open(ROOT / "assets/icon/tessaro.ico") as b:
                if a.info.get("sizes") != b.info.get("sizes"):
                    fail("assets/icon/tessaro.ico holds other sizes than scripts/make-art.py draws")


def check_uninstaller_document():
    raw = UNINSTALL_DOCUMENT.read_bytes()
    check_markup_subset(raw.decode("utf-8"))
    root = ET.fromstring(raw)
    for key, value in (("size", "700,420"), ("caption", "0,0,0,50"), ("roundcorner", "6,6")):
        if root.get(key) != value:
            fail(f"ZKUnInstall.xml: Window {key} is {root.get(key)!r}, want {value!r}")
    named = {e.get("name"): e for e in root.iter() if e.get("name")}
    for name, tag in UNINSTALL_CONTROLS.items():
        if name not in named or named[name].tag != tag:
            fail(f"ZKUnInstall.xml: no {tag} named {name}")
    check_keyboard_order("ZKUnInstall.xml", list(named["tabUninstall"]) if "tabUninstall" in named else [])
    if not any(e.get("text") == UNINSTALL_QUESTION for e in root.iter("Label")):
        fail(f"ZKUnInstall.xml: no label asks {UNINSTALL_QUESTION}")
    for element in root.iter():
        if element.tag not in KNOWN_ELEMENTS:
            fail(f"ZKUnInstall.xml: element {element.tag} is unknown to the control factory")
        width, height = element.get("width"), element.get("height")
        for attribute in IMAGE_ATTRIBUTES & set(element.keys()):
            # Page backgrounds fill the window; stretched images (corner=) fit any size.
            size = PAGE_SIZE if element.tag == "VerticalLayout" else (
                (int(width), int(height)) if width and height and "corner=" not in element.get(attribute) else None)
            check_image(f"ZKUnInstall.xml {element.get('name') or element.tag}", attribute, element.get(attribute), size)


check_document()
check_uninstaller_document()
check_generator()
for message in failures:
    print("FAIL:", message)
print(f"skin check: {len(failures)} problem(s)")
sys.exit(1 if failures else 0)
