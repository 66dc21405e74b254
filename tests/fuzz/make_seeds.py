#!/usr/bin/env python3
"""Writes the small seed files the fuzz harnesses start from, into
corpus/<harness>/seed-*. Run it again after adding a seed; the files the
fuzzers found stay beside the seeds."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def dib(width, height, bits, compression=0, table=None, rows=None, masks=b"", image_size=None):
    """A packed DIB: 40-byte info header, masks, colour table, rows."""
    table = table if table is not None else (bytes(4 * (1 << bits)) if bits <= 8 else b"")
    if rows is None:
        n = row_bytes(width, bits) * abs(height)
        rows = bytes((i * 37 + 11) & 0xFF for i in range(n))
    colours = len(table) // 4
    size = len(rows) if image_size is None else image_size
    head = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size, 2835, 2835, colours, 0)
    return head + masks + table + rows


def bmp_file(packed, offset=None):
    off = offset if offset is not None else 14 + len(packed) - len_rows(packed)
    return struct.pack("<2sIHHI", b"BM", 14 + len(packed), 0, 0, off) + packed


def len_rows(packed):
    width, height, _, bits = struct.unpack_from("<iiHH", packed, 4)
    compression = struct.unpack_from("<I", packed, 16)[0]
    if compression in (1, 2):
        return struct.unpack_from("<I", packed, 20)[0]
    return row_bytes(width, bits) * abs(height)


def grey_table(n):
    return b"".join(bytes((i * 255 // max(n - 1, 1),) * 3 + (0,)) for i in range(n))


def rle8(width, height):
    # An encoded run, an absolute run with padding, a delta, end of line, end of bitmap.
    data = bytes([3, 5, 0, 3, 1, 2, 3, 0]) + bytes([0, 2, 1, 0]) + bytes([0, 0])
    data += bytes([width, 7, 0, 0]) * (height - 1) + bytes([0, 1])
    return data


def rle4(width, height):
    data = bytes([4, 0x12, 0, 4, 0x34, 0x56, 0, 0])
    data += bytes([width, 0x77, 0, 0]) * (height - 1) + bytes([0, 1])
    return data


def with_header(packed, size, alpha=0):
    """The packed DIB under another info header: the 12-byte OS/2 one (16-bit
    sides, 3-byte entries), OS/2 2.x (16 to 64 bytes), or 52, 56, 108, 124
    bytes with the masks of a bitfield block moved inside (and an alpha mask)."""
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", packed, 4)
    rest = packed[40:]
    if size == 12:
        table = rest[:len(rest) - len_rows(packed)]
        table = b"".join(table[i:i + 3] for i in range(0, len(table), 4))
        return struct.pack("<IHHHH", 12, width, height, planes, bits) + table + rest[len(rest) - len_rows(packed):]
    head = bytearray(packed[:40]) + bytearray(max(size - 40, 0))
    head[0:4] = struct.pack("<I", size)
    if compression == 3 and size >= 52:
        head[40:52] = rest[:12]
        rest = rest[12:]
        if size >= 56:
            head[52:56] = struct.pack("<I", alpha)
    if size >= 108:
        head[56:60] = b"BGRs"  # LCS_sRGB, then colour-space data the reader ignores
    return bytes(head[:size]) + rest


def bmp_with_header(packed, size, alpha=0):
    other = with_header(packed, size, alpha)
    return bmp_file(other, 14 + len(other) - len_rows(packed))


def bmp_seeds():
    out = {}
    for bits in (1, 4, 8):
        out[f"bits{bits}"] = bmp_file(dib(5, 3, bits, table=grey_table(1 << bits)))
    out["bits8-short-table"] = bmp_file(dib(6, 2, 8, table=grey_table(16)))
    out["bits16"] = bmp_file(dib(3, 2, 16))
    out["bits24"] = bmp_file(dib(5, 3, 24))
    out["bits32"] = bmp_file(dib(2, 2, 32))
    out["top-down"] = bmp_file(dib(4, -3, 24))
    out["bitfields565"] = bmp_file(dib(3, 2, 16, 3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)))
    out["bitfields32"] = bmp_file(dib(2, 2, 32, 3, masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)))
    r8 = rle8(8, 3)
    out["rle8"] = bmp_file(dib(8, 3, 8, 1, table=grey_table(256), rows=r8, image_size=len(r8)))
    r4 = rle4(8, 3)
    out["rle4"] = bmp_file(dib(8, 3, 4, 2, table=grey_table(16), rows=r4, image_size=len(r4)))
    # The other info headers.
    out["os2-core8"] = bmp_with_header(dib(5, 3, 8, table=grey_table(256)), 12)
    out["os2-core24"] = bmp_with_header(dib(3, 2, 24), 12)
    out["os2v2-16"] = bmp_with_header(dib(5, 3, 4, table=grey_table(16)), 16)
    out["os2v2-64"] = bmp_with_header(dib(5, 3, 8, table=grey_table(256)), 64)
    out["v2-565"] = bmp_with_header(dib(3, 2, 16, 3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)), 52)
    out["v3-alpha"] = bmp_with_header(dib(2, 2, 32, 3, masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)), 56,
                                           0xFF000000)
    out["v4-24"] = bmp_with_header(dib(5, 3, 24), 108)
    out["v5-8"] = bmp_with_header(dib(5, 3, 8, table=grey_table(256)), 124)
    out["v5-16"] = bmp_with_header(dib(3, 2, 16), 124)
    out["v5-top-down-alpha"] = bmp_with_header(dib(3, -2, 32, 3, masks=struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)),
                                                    124, 0xFF000000)
    out["v5-rle8"] = bmp_with_header(dib(8, 3, 8, 1, table=grey_table(256), rows=r8, image_size=len(r8)), 124)
    return out


def icon(width, height, bits, mask_bit=True):
    entries = {1: 2, 4: 16, 8: 256, 24: 0}[bits]
    table = grey_table(entries) if entries else b""
    xor = bytes((i * 13) & 0xFF for i in range(row_bytes(width, bits) * height))
    and_rows = bytearray(row_bytes(width, 1) * height)
    if mask_bit:
        and_rows[0] = 0x80
    info = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0, len(xor) + len(and_rows), 0, 0, 0, 0)
    image = info + table + xor + bytes(and_rows)
    entry = struct.pack("<BBBBHHII", width & 0xFF, height & 0xFF, entries & 0xFF, 0, 1, bits, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def icon_seeds():
    out = {}
    for bits in (1, 4, 8, 24):
        out[f"bits{bits}"] = icon(5, 3, bits)
        out[f"bits{bits}-nomask"] = icon(8, 2, bits, mask_bit=False)
    return out


def bright_table(n):
    """n colours, none of them black."""
    return b"".join(bytes((40 + i % 200, 255 - i // 2, (1 + i) % 256, 0)) for i in range(n))


def icon_build_seeds():
    # Byte 0 shapes the 2nd bitmap out of the 1st (the harness says how).
    out = {}
    for bits in (1, 4, 8, 24):
        table = grey_table(1 << bits) if bits <= 8 else b""
        out[f"bits{bits}"] = bytes([bits]) + bmp_file(dib(9, 3, bits, table=table))
    # Full tables without black: the icon is written at the next depth.
    for bits in (1, 4, 8):
        out[f"bits{bits}-no-black"] = bytes([bits + 1]) + bmp_file(dib(9, 3, bits, table=bright_table(1 << bits)))
    out["bits8-short-table"] = bytes([3]) + bmp_file(dib(6, 2, 8, table=grey_table(16)))
    out["top-down-truncated"] = bytes([0x83]) + bmp_file(dib(4, -3, 24))
    out["header-changed"] = bytes([0x44]) + bmp_file(dib(9, 3, 4, table=grey_table(16)))
    return out


def icon_marks_seeds():
    """A form byte (size in bits 0-1, 256 colours in bit 2, raw file in bit
    3) and bytes that fill the pixels and give the marks."""
    out = {}
    for size in range(4):
        for colours in (0, 4):
            body = bytes((i * 29 + size) & 0xFF for i in range(96))
            out[f"form{size}{colours}"] = bytes([size | colours]) + body
    out["no-marks"] = bytes([1]) + bytes(64)
    out["raw-icon"] = bytes([8 | 1]) + icon(32, 32, 4, mask_bit=False)
    return out


def write(name, seeds):
    folder = os.path.join(HERE, "corpus", name)
    os.makedirs(folder, exist_ok=True)
    for key, data in seeds.items():
        with open(os.path.join(folder, f"seed-{key}"), "wb") as f:
            f.write(data)


def clipboard_seeds(bmps):
    """CF_DIB blocks: the files without their file header, and a grey
    256-colour image for the 16-bit TIF writer."""
    out = {k: v[14:] for k, v in bmps.items()}
    out["grey256"] = dib(7, 3, 8, table=grey_table(256))
    v5 = bytearray(dib(3, 2, 24))
    v5[0:4] = struct.pack("<I", 52)
    out["header52"] = bytes(v5[:40]) + bytes(12) + bytes(v5[40:])
    out["v5-jpeg"] = with_header(dib(3, 2, 0, 4, rows=bytes(range(20)), image_size=20), 124)
    return out


def main():
    bmps = bmp_seeds()
    write("bmp_read", bmps)
    write("bmp_scan", bmps)
    write("dib_normalise", bmps)
    write("icon", icon_seeds())
    write("icon_build", icon_build_seeds())
    write("icon_marks", icon_marks_seeds())
    # Screen 1024 x 768 (little-endian, minus one), then the INI value.
    screen = struct.pack("<HH", 1023, 767)
    write("ini_position", {name: screen + text for name, text in
                           (("zero", b"0"), ("mid", b"120"), ("far", b"99999"), ("minus", b"-5"), ("text", b"x1"))})
    clip = clipboard_seeds(bmps)
    write("paste_dib", clip)
    # First byte: bit 0 Motorola order, bit 1 the 16-bit grey option; each
    # order with and without it.
    write("tif_write", {f"{k}-{flags}": bytes([flags]) + v for k, v in clip.items() for flags in range(4)})
    return 0


if __name__ == "__main__":
    sys.exit(main())
