#!/usr/bin/python3
"""Checks the manuals the build puts beside the programs: every font is
embedded (IPA fonts in the Japanese one), every heading of the source is in
the text of its PDF, every picture is in it, the pages break cleanly, and a
second build from a copy of the sources gives the same bytes.

MANUAL_BIN_DIR names the release folder, MANUAL_SOURCE_DIR docs/manual."""
import collections
import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

BIN = os.environ.get("MANUAL_BIN_DIR", "build/dist")
SOURCES = os.environ.get("MANUAL_SOURCE_DIR", "docs/manual")
# (PDF, source, font families it may use, family it must use)
MANUALS = [
    ("KALDERO5.PDF", "kaldero.en.md", ("DejaVu",), "DejaVuSans"),
    ("KALDEROJ.PDF", "kaldero.ja.md", ("IPA", "DejaVu"), "IPAPGothic"),
    ("MERIDOT5.PDF", "meridot.en.md", ("DejaVu",), "DejaVuSans"),
    ("MERIDOTJ.PDF", "meridot.ja.md", ("IPA", "DejaVu"), "IPAPGothic"),
]
JAPANESE = re.compile(r"[\u3040-\u30ff\u4e00-\u9fff]")


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, text=True).stdout


def source_text(name):
    with open(os.path.join(SOURCES, name), encoding="utf-8") as f:
        return f.read()


def headings(text):
    """(level, text) of the headings outside code blocks, as they print."""
    found, fenced = [], False
    for line in text.splitlines():
        if line.startswith("```"):
            fenced = not fenced
        m = None if fenced else re.match(r"(#{1,3}) (.+?)(\s*\{[^}]*\})?\s*$", line)
        if m:
            found.append((len(m.group(1)), re.sub(r"[`*_]", "", m.group(2))))
    return found


def squeeze(text):
    return re.sub(r"\s+", "", text)


class ManualTest(unittest.TestCase):
    def test_FontsAreEmbedded(self):
        for pdf, _, allowed, required in MANUALS:
            with self.subTest(pdf=pdf):
                rows = run("pdffonts", os.path.join(BIN, pdf)).splitlines()[2:]
                self.assertTrue(rows, "no fonts")
                names = []
                for row in rows:
                    cols = row.split()
                    name = cols[0].split("+")[-1]
                    names.append(name)
                    # Columns from the right: object id (2), uni, sub, emb.
                    self.assertEqual(cols[-5], "yes", f"{name} is not embedded")
                    self.assertTrue(name.startswith(allowed), f"unexpected font {name}")
                self.assertIn(required, names)

    def test_HeadingsAreInTheText(self):
        for pdf, source, _, _ in MANUALS:
            with self.subTest(pdf=pdf):
                text = squeeze(run("pdftotext", "-enc", "UTF-8", os.path.join(BIN, pdf), "-"))
                found = headings(source_text(source))
                self.assertGreater(len(found), 10)
                for _, heading in found:
                    self.assertTrue(squeeze(heading) in text, f"heading {heading!r} is missing")
                if source.endswith(".ja.md"):
                    for level, heading in found:
                        if level <= 2:
                            self.assertRegex(heading, JAPANESE, "a heading of the Japanese manual in English")

    def test_PicturesAreEmbedded(self):
        for pdf, source, _, _ in MANUALS:
            with self.subTest(pdf=pdf):
                pictures = set(re.findall(r"!\[[^\]]*\]\(([^)\s]+)", source_text(source)))
                self.assertGreater(len(pictures), 5)
                listing = run("pdfimages", "-list", os.path.join(BIN, pdf)).splitlines()[2:]
                objects = {row.split()[10] for row in listing if row.split()[2] == "image"}
                self.assertEqual(len(objects), len(pictures))

    def test_PagesReadCleanly(self):
        """The contents stay on the first page, and a list that runs across a page break leaves at least two of its
        items on each page it touches."""
        sys.path.insert(0, os.path.abspath(SOURCES))
        import build_manual
        epoch = os.environ.get("SOURCE_DATE_EPOCH")
        try:
            with tempfile.TemporaryDirectory() as scratch:
                for pdf, source, _, _ in MANUALS:
                    with self.subTest(pdf=pdf):
                        doc = build_manual.build(os.path.join(SOURCES, source), os.path.join(scratch, pdf))
                        self.assertEqual(doc.contents_pages, {1})
                        lists = collections.defaultdict(collections.Counter)
                        for (which, _), page in doc.item_pages.items():
                            lists[which][page] += 1
                        self.assertGreater(len(lists), 5)
                        for pages in lists.values():
                            if len(pages) > 1:
                                self.assertGreaterEqual(min(pages.values()), 2, f"a lone list item: {dict(pages)}")
        finally:
            # The build sets the edition's date for the process; the next build must find its own.
            os.environ.pop("SOURCE_DATE_EPOCH", None)
            if epoch is not None:
                os.environ["SOURCE_DATE_EPOCH"] = epoch

    def test_TwoBuildsGiveTheSameBytes(self):
        with tempfile.TemporaryDirectory() as scratch:
            # Another folder, other file times: only the contents may count.
            copy = os.path.join(scratch, "manual")
            shutil.copytree(SOURCES, copy)
            for pdf, source, _, _ in MANUALS:
                with self.subTest(pdf=pdf):
                    again = os.path.join(scratch, pdf)
                    run(os.path.join(copy, "build_manual.py"), os.path.join(copy, source), again)
                    self.assertTrue(filecmp.cmp(again, os.path.join(BIN, pdf), shallow=False))


if __name__ == "__main__":
    unittest.main()
