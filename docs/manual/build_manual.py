#!/usr/bin/python3
"""Builds a program's manual: Markdown text and pictures in, one PDF out.

    build_manual.py SOURCE.md OUTPUT.pdf

The source starts with a "Date: YYYY-MM-DD" line (the edition); its first
level-1 heading is the document's title; its name ends in .LANG.md
(kaldero.en.md, kaldero.ja.md), which picks the fonts and the line breaking.
Pictures are found relative to the source. The PDF embeds its fonts (DejaVu,
and IPA Gothic for Japanese) and has a table of contents with page numbers and
bookmarks. Two runs over the same input give the same bytes: every date in
the PDF is the edition's, or SOURCE_DATE_EPOCH when that is set.

Python-Markdown reads the text and ReportLab lays out the pages: both are
small Debian packages (see the README for what they cost).
"""
import datetime
import os
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

import markdown
import markdown.extensions.toc
from reportlab import rl_config
from reportlab.lib import colors
from reportlab.lib.enums import TA_CENTER
from reportlab.lib.pagesizes import A4
from reportlab.lib.styles import ParagraphStyle
from reportlab.lib.units import mm
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.platypus import BaseDocTemplate, Frame, Image, PageTemplate, Paragraph, Spacer, Table, TableStyle
from reportlab.platypus.tableofcontents import TableOfContents

DEJAVU = "/usr/share/fonts/truetype/dejavu/"
IPA = "/usr/share/fonts/opentype/ipafont-gothic/"
# Family name: (regular, bold, italic, bold italic) files. IPA Gothic has no
# bold or italic faces; Japanese emphasis is shown by colour instead.
FONTS = {
    "en": {"DejaVuSans": ("DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
                          "DejaVuSans-BoldOblique.ttf"),
           "DejaVuSansMono": ("DejaVuSansMono.ttf",) * 4},
    "ja": {"IPAPGothic": ("ipagp.ttf",) * 4, "IPAGothic": ("ipag.ttf",) * 4},
}
BODY = {"en": ("DejaVuSans", "DejaVuSansMono", 9.5), "ja": ("IPAPGothic", "IPAGothic", 10)}
BLUE = colors.HexColor("#123a6b")
LINK = colors.HexColor("#1d4f8f")
PAGE_W, PAGE_H = A4
MARGIN = 20 * mm
FRAME_W = PAGE_W - 2 * MARGIN
PICTURE_MAX_H = 85 * mm
PX = 0.75  # points per pixel of a screen picture (96 pixels to the inch)

# A line break inside a paragraph reads as a space; between Japanese
# characters there is none. Continuation lines after Japanese text are joined
# (not those that start a list item, a table row, a heading or a picture).
CJK = "\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef"
JOIN_JAPANESE_LINES = re.compile(rf"(?<=[{CJK}])\n[ \t]*(?!\s|[-*+|#!>{{]|\d+\.\s)")


def register_fonts(lang):
    for family, files in FONTS[lang].items():
        names = [family, family + "-Bold", family + "-Italic", family + "-BoldItalic"]
        folder = DEJAVU if family.startswith("DejaVu") else IPA
        for name, file in zip(names, files):
            path = os.path.join(folder, file)
            if not os.path.isfile(path):
                sys.exit(f"font {path} is missing (Debian packages fonts-dejavu-core, fonts-ipafont-gothic)")
            pdfmetrics.registerFont(TTFont(name, path))
        pdfmetrics.registerFontFamily(family, normal=names[0], bold=names[1], italic=names[2], boldItalic=names[3])
    # ReportLab's defaults (the first font of every page, bullets) name
    # Helvetica, which a PDF does not embed; here it is the body font.
    body = BODY[lang][0]
    folder = DEJAVU if body.startswith("DejaVu") else IPA
    pdfmetrics.registerFont(TTFont("Helvetica", os.path.join(folder, FONTS[lang][body][0])))


class Styles:
    def __init__(self, lang):
        body, self.mono, size = BODY[lang]
        self.lang = lang
        wrap = "CJK" if lang == "ja" else None
        base = dict(fontName=body, fontSize=size, leading=size * 1.5, wordWrap=wrap)
        self.body = ParagraphStyle("body", spaceAfter=2.2 * mm, **base)
        self.item = ParagraphStyle("item", parent=self.body, leftIndent=6 * mm, bulletIndent=0, bulletFontName=body,
                                   bulletFontSize=size)
        self.cell = ParagraphStyle("cell", **dict(base, fontSize=size - 0.5, leading=(size - 0.5) * 1.4))
        self.head = ParagraphStyle("head", parent=self.cell, fontName=FONTS_BOLD(lang, body))
        self.title = ParagraphStyle("title", **dict(base, fontName=FONTS_BOLD(lang, body), fontSize=22, leading=28,
                                                    textColor=BLUE, spaceAfter=4 * mm))
        self.h2 = ParagraphStyle("h2", **dict(base, fontName=FONTS_BOLD(lang, body), fontSize=14, leading=18,
                                              textColor=BLUE, spaceBefore=6 * mm, spaceAfter=2.5 * mm,
                                              borderPadding=(0, 0, 1.2 * mm, 0), keepWithNext=1))
        self.h3 = ParagraphStyle("h3", **dict(base, fontName=FONTS_BOLD(lang, body), fontSize=11, leading=14,
                                              textColor=LINK, spaceBefore=4 * mm, spaceAfter=1.5 * mm,
                                              keepWithNext=1))
        # Tight enough that the contents of the longest manual stay on the first page, under its picture.
        self.toc = [ParagraphStyle("toc1", **dict(base, leftIndent=0, fontSize=size, leading=size * 1.35)),
                    ParagraphStyle("toc2", **dict(base, leftIndent=6 * mm, fontSize=size - 0.5,
                                                  leading=size * 1.25))]


def FONTS_BOLD(lang, family):
    return family if lang == "ja" else family + "-Bold"


def inline(elem, styles):
    """ReportLab paragraph markup of an element's content."""
    out = escape(elem.text or "")
    for child in elem:
        inner = inline(child, styles)
        tag = child.tag
        if tag in ("strong", "b"):
            out += f'<font color="#123a6b">{inner}</font>' if styles.lang == "ja" else f"<b>{inner}</b>"
        elif tag in ("em", "i"):
            out += inner if styles.lang == "ja" else f"<i>{inner}</i>"
        elif tag == "code":
            out += f'<font face="{styles.mono}">{inner}</font>'
        elif tag == "a":
            out += f'<a href="{escape(child.get("href", ""))}" color="#1d4f8f">{inner}</a>'
        elif tag == "br":
            out += "<br/>"
        elif tag != "img":
            out += inner
        out += escape(child.tail or "")
    return out.strip()


def picture(source_dir, img, max_w, max_h):
    path = os.path.join(source_dir, img.get("src"))
    if not os.path.isfile(path):
        sys.exit(f"missing picture {img.get('src')}")
    from reportlab.lib.utils import ImageReader
    w, h = ImageReader(path).getSize()
    scale = min(PX, max_w / w, max_h / h)
    return Image(path, w * scale, h * scale)


def only_image(elem):
    imgs = list(elem.iter("img"))
    return imgs[0] if len(imgs) == 1 and not "".join(elem.itertext()).strip() else None


class Heading(Paragraph):
    """A heading that enters itself into the contents and the bookmarks."""

    def __init__(self, text, style, level, key):
        super().__init__(f'<a name="{key}"/>{text}', style)
        self.level, self.key, self.plain = level, key, re.sub(r"<[^>]+>", "", text)


class Manual(BaseDocTemplate):
    def __init__(self, path, title, styles):
        super().__init__(path, pagesize=A4, leftMargin=MARGIN, rightMargin=MARGIN, topMargin=MARGIN,
                         bottomMargin=22 * mm, title=title, author="The Kaldero and Meridot developers",
                         creator="build_manual.py", lang=styles.lang)
        self.styles, self.doc_title = styles, title
        frame = Frame(MARGIN, 22 * mm, FRAME_W, PAGE_H - MARGIN - 22 * mm, id="body")
        self.addPageTemplates([PageTemplate("page", [frame], onPage=self.decorate)])

    def decorate(self, canvas, doc):
        canvas.saveState()
        canvas.setFillColor(colors.HexColor("#555555"))
        canvas.setFont(self.styles.body.fontName, 9)
        canvas.drawCentredString(PAGE_W / 2, 12 * mm, str(doc.page))
        if doc.page > 1:
            canvas.setFont(self.styles.body.fontName, 8)
            canvas.drawRightString(PAGE_W - MARGIN, PAGE_H - 12 * mm, self.doc_title)
        canvas.restoreState()

    def handle_documentBegin(self):
        # Where the contents and each list item landed, for the checks of the page layout; every pass of
        # multiBuild lays the pages out again.
        self.contents_pages, self.item_pages = set(), {}
        super().handle_documentBegin()

    def afterFlowable(self, flowable):
        if isinstance(flowable, TableOfContents):
            self.contents_pages.add(self.page)
        if hasattr(flowable, "list_item"):
            self.item_pages[flowable.list_item] = self.page
        if isinstance(flowable, Heading) and flowable.level >= 2:
            self.notify("TOCEntry", (flowable.level - 2, flowable.plain, self.page, flowable.key))
            self.canv.bookmarkPage(flowable.key)
            self.canv.addOutlineEntry(flowable.plain, flowable.key, flowable.level - 2)


def table(elem, styles, source_dir):
    rows = []
    for tr in elem.iter("tr"):
        row = []
        for cell in tr:
            img = only_image(cell)
            if img is not None:
                row.append(picture(source_dir, img, 30 * mm, 20 * mm))
            else:
                row.append(Paragraph(inline(cell, styles), styles.head if cell.tag == "th" else styles.cell))
        rows.append(row)
    columns = len(rows[0])
    # Column widths: pictures take their own width; text columns share the
    # rest by the length of their longest text (capped, so no column starves).
    fixed = [max((c.drawWidth + 4 * mm for c in (r[i] for r in rows) if isinstance(c, Image)), default=0)
             for i in range(columns)]
    weights = [0 if fixed[i] else max(min(len(re.sub(r"<[^>]+>", "", r[i].text)), 60) for r in rows
                                      if isinstance(r[i], Paragraph)) + 8 for i in range(columns)]
    free = FRAME_W - sum(fixed)
    widths = [fixed[i] or free * weights[i] / sum(weights) for i in range(columns)]
    t = Table(rows, colWidths=widths, repeatRows=1, hAlign="LEFT")
    t.setStyle(TableStyle([
        ("GRID", (0, 0), (-1, -1), 0.4, colors.HexColor("#99aaaa")),
        ("BACKGROUND", (0, 0), (-1, 0), colors.HexColor("#e8eef6")),
        ("VALIGN", (0, 0), (-1, -1), "MIDDLE"),
        ("ALIGN", (0, 0), (-1, -1), "LEFT"),
        ("TOPPADDING", (0, 0), (-1, -1), 3),
        ("BOTTOMPADDING", (0, 0), (-1, -1), 4),
    ]))
    return [t, Spacer(1, 3 * mm)]


def list_items(elem, styles):
    """A list as one paragraph an item, bullet or number hanging in the margin. The first two and the last two
    items keep together, so that a page never starts or ends with a lone item of a list that goes on across the
    page break (paragraphs, not a list container, because ReportLab keeps only plain flowables with the next)."""
    lis = elem.findall("li")
    items = []
    for i, li in enumerate(lis):
        keep = len(lis) > 1 and i in (0, len(lis) - 2)
        style = ParagraphStyle(f"item{i}", parent=styles.item, keepWithNext=int(keep))
        mark = f"{i + 1}." if elem.tag == "ol" else "\u2022"
        items.append(Paragraph(inline(li, styles), style, bulletText=mark))
        items[-1].list_item = (id(elem), i)
    return items


def flowables(root, styles, source_dir):
    story = []
    for elem in root:
        tag = elem.tag
        if tag == "h1":
            story.append(Heading(inline(elem, styles), styles.title, 1, elem.get("id", "title")))
        elif tag in ("h2", "h3"):
            style = styles.h2 if tag == "h2" else styles.h3
            story.append(Heading(inline(elem, styles), style, int(tag[1]), elem.get("id")))
        elif tag == "div" and "toc" in elem.get("class", ""):
            toc = TableOfContents(dotsMinLevel=0)
            toc.levelStyles = styles.toc
            story += [toc, Spacer(1, 4 * mm)]
        elif tag == "p":
            img = only_image(elem)
            if img is not None:
                pic = picture(source_dir, img, FRAME_W, PICTURE_MAX_H)
                framed = Table([[pic]], hAlign="CENTER")
                framed.setStyle(TableStyle([("BOX", (0, 0), (-1, -1), 0.4, colors.HexColor("#999999")),
                                            ("LEFTPADDING", (0, 0), (-1, -1), 0),
                                            ("RIGHTPADDING", (0, 0), (-1, -1), 0),
                                            ("TOPPADDING", (0, 0), (-1, -1), 0),
                                            ("BOTTOMPADDING", (0, 0), (-1, -1), 0)]))
                story += [Spacer(1, 1.5 * mm), framed, Spacer(1, 3.5 * mm)]
            else:
                story.append(Paragraph(inline(elem, styles), styles.body))
        elif tag in ("ul", "ol"):
            # The sentence that leads into a list stays with its first item.
            if story and isinstance(story[-1], Paragraph) and story[-1].getPlainText().rstrip().endswith((":", "：")):
                story[-1].keepWithNext = 1
            story += list_items(elem, styles)
        elif tag == "table":
            story += table(elem, styles, source_dir)
    return story


def build(source_path, output):
    with open(source_path, encoding="utf-8") as f:
        text = f.read()
    lang = os.path.basename(source_path).split(".")[-2]
    source_dir = os.path.dirname(os.path.abspath(source_path))
    text = JOIN_JAPANESE_LINES.sub("", text)
    converter = markdown.Markdown(extensions=["meta", "tables", "attr_list", "toc", "sane_lists"],
                                  extension_configs={"toc": {"toc_depth": "2-3", "title": "",
                                                                 "slugify": markdown.extensions.toc.slugify_unicode}},
                                  output_format="xhtml")
    body = converter.convert(text)
    # The date of the edition, written in the source; SOURCE_DATE_EPOCH
    # overrides it. ReportLab stamps the PDF with it.
    if not os.environ.get("SOURCE_DATE_EPOCH"):
        day = datetime.date.fromisoformat(converter.Meta["date"][0])
        stamp = datetime.datetime(day.year, day.month, day.day, tzinfo=datetime.timezone.utc)
        os.environ["SOURCE_DATE_EPOCH"] = str(int(stamp.timestamp()))
    rl_config.invariant = 1  # no random document id
    register_fonts(lang)
    styles = Styles(lang)
    root = ET.fromstring(f"<root>{body}</root>")
    title = "".join(root.find("h1").itertext()).strip()
    # Written beside the target and renamed: a failed run leaves no half manual.
    partial = output + ".part"
    doc = Manual(partial, title, styles)
    doc.multiBuild(flowables(root, styles, source_dir))
    os.replace(partial, output)
    return doc


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    build(*sys.argv[1:])
