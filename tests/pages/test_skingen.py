"""Tests of the skin generator's file writers, rasteriser and packer (run by ctest natively)."""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import zipfile
import zlib

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
sys.path.insert(0, os.path.join(ROOT, 'tools', 'skingen'))
sys.path.insert(0, os.path.join(ROOT, 'tools'))

import art_extras  # noqa: E402
import catalogue  # noqa: E402
import imagefiles  # noqa: E402
import packskin  # noqa: E402
import pngshrink  # noqa: E402
import raster  # noqa: E402
import skingen  # noqa: E402


def decode_png(data):
    """Independent minimal PNG reader: 8-bit RGB/RGBA, any of the five row filters."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack('>I', data[pos + 8 + length:pos + 12 + length])[0]
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, kind
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    w, h, depth, colour_type = header[:4]
    assert depth == 8
    ch = {2: 3, 6: 4}[colour_type]
    raw = zlib.decompress(idat)
    stride = w * ch
    out = np.zeros((h, stride), np.int32)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = np.frombuffer(raw, np.uint8, stride, y * (stride + 1) + 1).astype(np.int32)
        prev = out[y - 1] if y else np.zeros(stride, np.int32)
        cur = np.zeros(stride, np.int32)
        for x in range(stride):
            a = cur[x - ch] if x >= ch else 0
            b = prev[x]
            c = prev[x - ch] if x >= ch else 0
            if f == 0:
                pred = 0
            elif f == 1:
                pred = a
            elif f == 2:
                pred = b
            elif f == 3:
                pred = (a + b) // 2
            else:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            cur[x] = (line[x] + pred) & 0xFF
        out[y] = cur
    return colour_type, out.reshape(h, w, ch).astype(np.uint8)


def row_filters(data):
    """The filter type of every row of an 8-bit PNG."""
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', data[pos + 8:pos + 8 + length])
        elif kind == b'IDAT':
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    w, h, _, colour_type = header[:4]
    stride = w * {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type] + 1
    raw = zlib.decompress(idat)
    return [raw[y * stride] for y in range(h)]


class WriterTest(unittest.TestCase):
    def test_png_round_trip_keeps_straight_alpha(self):
        rng = np.random.default_rng(7)
        img = rng.integers(0, 256, (9, 13, 4), dtype=np.uint8)
        img[0, 0] = (200, 100, 50, 0)      # colour kept under zero alpha: nothing premultiplied
        colour_type, back = decode_png(imagefiles.png_bytes(img))
        self.assertEqual(6, colour_type)
        np.testing.assert_array_equal(img, back)

    def test_opaque_image_is_written_as_rgb(self):
        img = np.full((5, 7, 4), 255, np.uint8)
        img[..., 0] = np.arange(7, dtype=np.uint8) * 30
        colour_type, back = decode_png(imagefiles.png_bytes(img))
        self.assertEqual(2, colour_type)
        np.testing.assert_array_equal(img[..., :3], back)

    def test_bmp_is_bottom_up_bgr_with_padded_rows(self):
        img = np.zeros((2, 3, 3), np.uint8)
        img[0, 0] = (255, 0, 0)            # top-left red
        data = imagefiles.bmp_bytes(img)
        self.assertEqual(b'BM', data[:2])
        offset = struct.unpack_from('<I', data, 10)[0]
        w, h, planes, bits = struct.unpack_from('<iiHH', data, 18)
        self.assertEqual((3, 2, 1, 24), (w, h, planes, bits))
        stride = 12                         # 9 bytes padded to 12
        self.assertEqual(offset + 2 * stride, len(data))
        top_row = data[offset + stride:offset + 2 * stride]
        self.assertEqual(b'\x00\x00\xff', top_row[:3])   # stored last, as B, G, R

    def test_ico_holds_every_size_as_png_with_its_alpha(self):
        images = []
        for size in (16, 48, 256):
            img = np.zeros((size, size, 4), np.uint8)
            img[:, size // 2:] = (10, 20, 30, 255)   # right half opaque, left half transparent
            images.append(img)
        data = imagefiles.ico_bytes(images)
        self.assertEqual((0, 1, 3), struct.unpack_from('<HHH', data, 0))
        for i, size in enumerate((16, 48, 256)):
            w, h, _, _, _, bits, length, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
            self.assertEqual((size % 256, size % 256, 32), (w, h, bits))
            self.assertLessEqual(offset + length, len(data))
            colour_type, back = decode_png(data[offset:offset + length])
            self.assertEqual(6, colour_type)
            np.testing.assert_array_equal(images[i], back)


def page(name):
    return next(i for i in catalogue.IMAGES if i.path.endswith(name))


class StoredPixelsTest(unittest.TestCase):
    """Which pixels the generator stores for an image, and what it says about them."""

    def test_page_background_samples_its_smooth_fields_invisibly_and_smaller(self):
        image = page('table_bg_install_03.png')
        said = []
        stored = skingen.choose_pixels(image.path, image, 2.0, said.append)
        exact = skingen.render(image, 2.0, exact=True)
        diff = imagefiles.difference(stored, exact, 2.0)
        self.assertGreater(diff.changed, 0.0)
        self.assertTrue(imagefiles.invisible(diff), diff)
        self.assertLess(len(imagefiles.png_bytes(stored)), 0.85 * len(imagefiles.png_bytes(exact)))
        self.assertEqual(1, len(said), said)
        self.assertIn('smooth fields on 4-pixel squares', said[0])

    def test_images_without_smooth_fields_are_stored_as_drawn_without_a_word(self):
        image = page('btn_Install_new_package.png')
        said = []
        stored = skingen.choose_pixels(image.path, image, 2.0, said.append)
        np.testing.assert_array_equal(skingen.render(image, 2.0, exact=True), stored)
        self.assertEqual([], said)

    def test_a_field_too_steep_for_squares_is_drawn_exactly_with_a_warning(self):
        def steep(c):
            s = c.smooth()
            s.fill_all(s.linear(0, 0, 40, 0, [(0.0, (0, 0, 0, 1)), (1.0, (1, 1, 1, 1))]))
        image = catalogue.Image('steep.png', 40, 20, False, steep)
        said = []
        stored = skingen.choose_pixels(image.path, image, 1.0, said.append)
        np.testing.assert_array_equal(skingen.render(image, 1.0, exact=True), stored)
        self.assertEqual(1, len(said), said)
        self.assertIn('warning: steep.png is drawn exactly', said[0])

    def test_an_area_moved_by_a_level_is_visible_where_moved_lines_are_not(self):
        exact = np.full((64, 64, 4), 255, np.uint8)
        exact[..., :3] = 40
        area = exact.copy()
        area[20:40, 20:40, 2] += 1                 # a blotch: a patch one level bluer
        lines = exact.copy()
        lines[:, ::8, 1] += 1                      # contour lines moved by a pixel
        lines[:, 4::8, 1] -= 1
        self.assertFalse(imagefiles.invisible(imagefiles.difference(area, exact, 1.0)))
        self.assertTrue(imagefiles.invisible(imagefiles.difference(lines, exact, 1.0)))
        far = exact.copy()
        far[5, 5, 0] += 2                          # one pixel two levels off
        self.assertFalse(imagefiles.invisible(imagefiles.difference(far, exact, 1.0)))

    def test_badly_compressing_image_is_reported(self):
        said = []
        skingen.check_size('busy.png', b'x' * 60000, 300, 200, said.append)
        skingen.check_size('page.png', b'x' * 60000, 1400, 840, said.append)
        self.assertEqual(1, len(said), said)
        self.assertIn('warning: busy.png compresses badly', said[0])


@unittest.skipUnless(shutil.which('zopflipng'), 'zopflipng (Debian package zopfli) is not installed')
class ShrinkTest(unittest.TestCase):
    def test_recompressed_png_holds_the_same_pixels_and_is_cached_by_content(self):
        image = page('btn_multiple_choice_select.png')
        rgba = skingen.render(image, 2.0)
        data = imagefiles.png_bytes(rgba)
        with tempfile.TemporaryDirectory() as cache:
            first = pngshrink.Shrinker(cache)
            small = first.shrink(data)
            self.assertLessEqual(len(small), len(data))
            np.testing.assert_array_equal(rgba, imagefiles.decoded(small))
            self.assertEqual((1, 0), (first.runs, first.hits))
            # A later build reads it back; a different image is not mistaken for it.
            later = pngshrink.Shrinker(cache)
            self.assertEqual(small, later.shrink(data))
            other = imagefiles.png_bytes(skingen.render(image, 1.0))
            np.testing.assert_array_equal(skingen.render(image, 1.0), imagefiles.decoded(later.shrink(other)))
            self.assertEqual((1, 1), (later.runs, later.hits))

    def test_images_of_the_first_frame_are_filtered_for_fast_decoding(self):
        image = page('btn_multiple_choice_select.png')
        rgba = skingen.render(image, 2.0)
        with tempfile.TemporaryDirectory() as cache:
            shrinker = pngshrink.Shrinker(cache)
            fast = shrinker.shrink(imagefiles.png_bytes(rgba), fast_decode=True)
            self.assertEqual({2}, set(row_filters(fast)))
            np.testing.assert_array_equal(rgba, imagefiles.decoded(fast))
            self.assertNotEqual(fast, shrinker.shrink(imagefiles.png_bytes(rgba)))
            self.assertEqual(2, shrinker.runs)
        self.assertIn(catalogue.IMAGES[0].path, catalogue.FIRST_FRAME)   # the welcome page

    def test_a_failing_optimiser_stops_the_build_and_a_missing_one_keeps_the_bytes(self):
        data = imagefiles.png_bytes(np.full((4, 4, 4), 255, np.uint8))
        with self.assertRaises(RuntimeError):
            pngshrink.Shrinker(None, program=shutil.which('false')).shrink(data)
        missing = pngshrink.Shrinker(None, program='')
        self.assertFalse(missing.available)
        self.assertEqual(data, missing.shrink(data))


class RasterTest(unittest.TestCase):
    def test_variant_sizes_round_halves_up(self):
        self.assertEqual(23, raster.scaled_size(18, 1.25))
        self.assertEqual(32, raster.scaled_size(18, 1.75))
        self.assertEqual(183, raster.scaled_size(146, 1.25))
        self.assertEqual(1225, raster.scaled_size(700, 1.75))

    def test_edges_on_pixel_boundaries_are_crisp_and_strokes_scale(self):
        for factor in (1.0, 2.0):
            c = raster.Canvas(10, 10, factor)
            c.fill(c.rrect(2, 2, 8, 8, 0), (1, 1, 1, 1))
            a = c.rgba8()[..., 3]
            n = int(6 * factor)
            self.assertEqual(n * n * 255, int(a.sum()))      # exactly the 6x6 units, no blur
            c = raster.Canvas(10, 10, factor)
            c.fill(c.segment(0, 5, 10, 5) - 0.5, (1, 1, 1, 1))   # a 1-unit line
            column = c.rgba8()[:, 3, 3].astype(int)
            self.assertAlmostEqual(factor * 255, column.sum(), delta=2)

    def test_half_covered_pixel_gets_half_alpha(self):
        c = raster.Canvas(4, 1, 1.0)
        c.fill(c.rrect(0, -1, 2.5, 2, 0), (0, 0, 0, 1))
        self.assertEqual([255, 255, 128, 0], list(c.rgba8()[0, :, 3]))

    def test_smooth_fields_take_one_value_per_square_of_the_whole_image(self):
        c = raster.Canvas(10, 10, 2.0)           # 20 x 20 pixels, 4-pixel squares
        s = c.smooth().region(3, 3, 10, 10)      # starts inside a square
        s.fill_all(s.linear(0, 0, 10, 10, [(0.0, (0, 0, 0, 1)), (1.0, (1, 1, 1, 1))]))
        v = c.rgba8()[..., 0].astype(int)
        for y0 in range(8, 20, 4):
            for x0 in range(8, 20, 4):
                self.assertEqual(1, len(np.unique(v[y0:y0 + 4, x0:x0 + 4])), (x0, y0))
        exact = raster.Canvas(10, 10, 2.0, exact=True)
        e = exact.smooth()
        e.fill_all(e.linear(0, 0, 10, 10, [(0.0, (0, 0, 0, 1)), (1.0, (1, 1, 1, 1))]))
        self.assertGreater(len(np.unique(exact.rgba8()[8:12, 8:12, 0])), 1)
        self.assertEqual([2, 2, 3, 3, 4], [raster.smooth_block(f) for f in (1.0, 1.25, 1.5, 1.75, 2.0)])

    def test_region_draws_through_to_the_parent(self):
        c = raster.Canvas(20, 10, 1.5)
        r = c.region(5, 2, 10, 8)
        r.fill_all((1, 0, 0, 1))
        a = c.rgba8()[..., 3]
        self.assertEqual(255, a[int(5 * 1.5) + 1, int(7 * 1.5)])
        self.assertEqual(0, a[0, 0])


class GeneratorTest(unittest.TestCase):
    def test_drawing_is_deterministic(self):
        image = next(i for i in catalogue.IMAGES if i.path.endswith('table_bg_install_03.png'))
        first = imagefiles.png_bytes(skingen.render(image, 1.25))
        second = imagefiles.png_bytes(skingen.render(image, 1.25))
        self.assertEqual(first, second)

    def test_variants_are_drawn_not_resampled(self):
        """The 2x check box has edges one pixel wide, not the two-pixel steps of an upscale."""
        image = next(i for i in catalogue.IMAGES if i.path == 'btn_multiple_choice_select.png')
        big = skingen.render(image, 2.0).astype(int)
        self.assertEqual((36, 36, 4), big.shape)
        pairs_equal = np.all(big[:, 0::2] == big[:, 1::2])
        self.assertFalse(pairs_equal)

    def test_scrollbar_sprite_uses_the_key_colour_only_where_uncovered(self):
        px = art_extras.scrollbar_bmp_pixels()
        self.assertEqual((80, 64, 3), px.shape)
        magenta = np.all(px == (255, 0, 255), axis=-1)
        self.assertTrue(magenta[32, 0])                      # around the thumb
        self.assertFalse(magenta[8, 8])                      # inside the first arrow button


class PackTest(unittest.TestCase):
    def test_archive_is_reproducible_and_uses_forward_slashes(self):
        with tempfile.TemporaryDirectory() as tmp:
            docs, images = os.path.join(tmp, 'docs'), os.path.join(tmp, 'images')
            document = b'<Window>' + b'<Label text="a" />' * 20 + b'</Window>\r\n'
            os.makedirs(os.path.join(images, 'Install uninstall'))
            os.makedirs(docs)
            with open(os.path.join(docs, 'A.xml'), 'wb') as f:
                f.write(document)
            with open(os.path.join(images, 'Install uninstall', 'b.png'), 'wb') as f:
                f.write(b'png')
            out1, out2 = os.path.join(tmp, '1.zip'), os.path.join(tmp, '2.zip')
            packskin.pack(packskin.collect(docs, images), out1)
            os.utime(os.path.join(docs, 'A.xml'), (1, 1))     # a different file time changes nothing
            packskin.pack(packskin.collect(docs, images), out2)
            with open(out1, 'rb') as a, open(out2, 'rb') as b:
                self.assertEqual(a.read(), b.read())
            with zipfile.ZipFile(out1) as z:
                self.assertEqual(['A.xml', 'Install uninstall/b.png'], z.namelist())
                kinds = [i.compress_type for i in z.infolist()]
                # The document shrinks when deflated; three bytes of "png" would only grow.
                self.assertEqual([zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED], kinds)
                self.assertEqual(document, z.read('A.xml'))


if __name__ == '__main__':
    unittest.main()
