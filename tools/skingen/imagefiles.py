"""Writers for the skin's file formats: PNG (straight alpha), 24-bit BMP and ICO.

Only zlib and struct: the output depends on nothing but the pixels, so the same pixels always
give the same bytes.
"""
import struct
import zlib

import numpy as np


def _chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def _paeth_filtered(img):
    """Applies PNG filter 4 (Paeth) to every row of an (h, w, channels) uint8 image and returns
    the filtered scanlines, each prefixed with its filter byte. Paeth predicts from the raw
    neighbours only, so the whole image is filtered at once."""
    h, w, ch = img.shape
    raw = img.astype(np.int16)
    left = np.zeros_like(raw)
    left[:, 1:] = raw[:, :-1]
    up = np.zeros_like(raw)
    up[1:] = raw[:-1]
    upleft = np.zeros_like(raw)
    upleft[1:, 1:] = raw[:-1, :-1]
    p = left + up - upleft
    pa, pb, pc = np.abs(p - left), np.abs(p - up), np.abs(p - upleft)
    pred = np.where((pa <= pb) & (pa <= pc), left, np.where(pb <= pc, up, upleft))
    filtered = ((raw - pred) & 0xFF).astype(np.uint8).reshape(h, w * ch)
    lines = np.empty((h, w * ch + 1), np.uint8)
    lines[:, 0] = 4
    lines[:, 1:] = filtered
    return lines.tobytes()


def png_bytes(rgba):
    """PNG of an (h, w, 4) uint8 straight-alpha image. An image without any transparency is
    written as RGB (colour type 2), the rest as RGBA (colour type 6); 8 bits per channel."""
    h, w, _ = rgba.shape
    if np.all(rgba[..., 3] == 255):
        pixels, colour_type = np.ascontiguousarray(rgba[..., :3]), 2
    else:
        pixels, colour_type = rgba, 6
    header = struct.pack('>IIBBBBB', w, h, 8, colour_type, 0, 0, 0)
    data = zlib.compress(_paeth_filtered(pixels), 8)
    return b'\x89PNG\r\n\x1a\n' + _chunk(b'IHDR', header) + _chunk(b'IDAT', data) + _chunk(b'IEND', b'')


def bmp_bytes(rgb):
    """Bottom-up 24-bit BMP of an (h, w, 3) uint8 image, rows padded to four bytes."""
    h, w, _ = rgb.shape
    stride = (w * 3 + 3) & ~3
    rows = np.zeros((h, stride), np.uint8)
    rows[:, :w * 3] = rgb[::-1, :, ::-1].reshape(h, w * 3)
    pixels = rows.tobytes()
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + pixels


def _ico_dib(rgba):
    """Icon entry in the classic form: BITMAPINFOHEADER (height doubled), 32-bit BGRA rows
    bottom-up, then the 1-bit AND mask (set where fully transparent), rows padded to 32 bits."""
    h, w, _ = rgba.shape
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = rgba[::-1][..., [2, 1, 0, 3]].tobytes()
    mask_stride = ((w + 31) // 32) * 4
    transparent = (rgba[::-1, :, 3] == 0)
    bits = np.packbits(transparent, axis=1)
    mask = np.zeros((h, mask_stride), np.uint8)
    mask[:, :bits.shape[1]] = bits
    return info + xor + mask.tobytes()


def ico_bytes(images):
    """ICO holding the given (h, w, 4) square images; 256 px entries are stored as PNG, the
    smaller ones as DIBs, which every version of Windows reads."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rgba in images:
        size = rgba.shape[0]
        blob = png_bytes(rgba) if size >= 256 else _ico_dib(rgba)
        dim = 0 if size >= 256 else size
        entries.append(struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + b''.join(entries) + b''.join(blobs)
