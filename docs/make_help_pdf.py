#!/usr/bin/env python3
"""Writes the Zelvorin-Step help manual as a PDF of exactly 325,307 bytes.

Standard library only. The text is laid out in Helvetica on A4 pages; the file is padded to its
fixed size with a stream object of blanks whose length is computed, so the cross-reference
table stays exact.

    python3 docs/make_help_pdf.py [output.pdf]
"""
import sys
import textwrap
from pathlib import Path

TARGET_SIZE = 325307
PAGE_W, PAGE_H = 595, 842
MARGIN_X, TOP, BOTTOM = 60, 780, 60
WRAP = 92

SOURCE = Path(__file__).with_name("help_manual.txt")


def escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def layout(source_text):
    """Turns the manual source into pages of (font, size, x, y, text) runs.

    Source lines: "# " title, "## " heading, "    " code (kept as is), "- " bullet,
    "@page" page break, blank line paragraph break, anything else flowing text.
    """
    pages, page, y = [], [], TOP

    def new_page():
        nonlocal page, y
        if page:
            pages.append(page)
        page, y = [], TOP

    def put(font, size, x, text, lead):
        nonlocal y
        if y - lead < BOTTOM:
            new_page()
        y -= lead
        page.append((font, size, x, y, text))

    paragraph = []

    def flush():
        if paragraph:
            for line in textwrap.wrap(" ".join(paragraph), WRAP):
                put("F1", 10, MARGIN_X, line, 13)
            paragraph.clear()

    for raw in source_text.splitlines():
        line = raw.rstrip()
        if line == "@page":
            flush()
            new_page()
        elif line.startswith("# "):
            flush()
            put("F2", 20, MARGIN_X, line[2:], 30)
        elif line.startswith("## "):
            flush()
            if y < BOTTOM + 80:
                new_page()
            put("F2", 13, MARGIN_X, line[3:], 24)
        elif line.startswith("    "):
            flush()
            put("F3", 9, MARGIN_X + 14, line[4:], 11)
        elif line.startswith("- "):
            flush()
            wrapped = textwrap.wrap(line[2:], WRAP - 4)
            for i, part in enumerate(wrapped):
                put("F1", 10, MARGIN_X + (6 if i == 0 else 16), ("- " if i == 0 else "") + part, 13)
        elif not line:
            flush()
            y -= 5
        else:
            paragraph.append(line.strip())
    flush()
    new_page()
    return pages


def content_stream(runs, number, count):
    ops = []
    for font, size, x, y, text in runs:
        ops.append(f"BT /{font} {size} Tf {x} {y} Td ({escape(text)}) Tj ET")
    footer = f"Zelvorin-Step V2.5 help - page {number} of {count}"
    ops.append(f"BT /F1 8 Tf {MARGIN_X} 30 Td ({escape(footer)}) Tj ET")
    return "\n".join(ops).encode("latin-1")


def build(pages, padding):
    """The whole file with a padding stream of `padding` blanks as its last object."""
    objects = {}
    count = len(pages)
    font_ids = {"F1": 3, "F2": 4, "F3": 5}
    objects[3] = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"
    objects[4] = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>"
    objects[5] = b"<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>"
    fonts = " ".join(f"/{name} {num} 0 R" for name, num in font_ids.items())
    kids = []
    next_id = 6
    for number, runs in enumerate(pages, start=1):
        page_id, content_id = next_id, next_id + 1
        next_id += 2
        kids.append(f"{page_id} 0 R")
        objects[page_id] = (
            f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 {PAGE_W} {PAGE_H}] "
            f"/Resources << /Font << {fonts} >> >> /Contents {content_id} 0 R >>").encode()
        data = content_stream(runs, number, count)
        objects[content_id] = b"<< /Length %d >>\nstream\n" % len(data) + data + b"\nendstream"
    objects[1] = b"<< /Type /Catalog /Pages 2 0 R >>"
    objects[2] = f"<< /Type /Pages /Kids [{' '.join(kids)}] /Count {count} >>".encode()
    info_id, pad_id = next_id, next_id + 1
    objects[info_id] = (b"<< /Title (Zelvorin-Step V2.5 Help) /Subject (User manual) "
                        b"/Producer (make_help_pdf.py) >>")
    objects[pad_id] = (b"<< /Length %d >>\nstream\n" % padding + b" " * padding + b"\nendstream")

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = {}
    for num in sorted(objects):
        offsets[num] = len(out)
        out += b"%d 0 obj\n" % num + objects[num] + b"\nendobj\n"
    xref = len(out)
    size = max(objects) + 1
    out += b"xref\n0 %d\n0000000000 65535 f \n" % size
    for num in range(1, size):
        out += b"%010d 00000 n \n" % offsets[num]
    out += (b"trailer\n<< /Size %d /Root 1 0 R /Info %d 0 R >>\nstartxref\n%d\n%%%%EOF\n"
            % (size, info_id, xref))
    return bytes(out)


def make(source_text):
    pages = layout(source_text)
    padding = 0
    for _ in range(10):  # the digits of /Length settle within two rounds
        data = build(pages, padding)
        if len(data) == TARGET_SIZE:
            return data
        padding += TARGET_SIZE - len(data)
        if padding < 0:
            raise SystemExit(f"manual too long: {len(data) - padding} bytes without padding")
    raise SystemExit("padding did not settle")


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name(
        "Zelvorin-Step_V2.5_HELP.pdf")
    data = make(SOURCE.read_text(encoding="ascii"))
    out.write_bytes(data)
    print(f"{out}: {len(data)} bytes")


if __name__ == "__main__":
    main()
