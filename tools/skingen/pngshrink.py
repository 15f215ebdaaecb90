"""Recompresses PNGs with zopflipng (Debian package zopfli), losslessly: it tries the row filters
and colour types and deflates with Zopfli, which takes a fifth to a third off Pillow's PNGs of
the skin but needs seconds for each large image. Results are kept in a cache folder under the
SHA-256 of what was asked, so a build redraws the skin in seconds whenever the pixels did not
change.
"""
import hashlib
import os
import shutil
import subprocess
import tempfile

# Part of every cache key: a different zopflipng command gives different bytes.
OPTIONS = ['-y']
# Every row filtered with "up" (the pixel above): stb_image unfilters such rows about twice as fast
# as the "paeth" rows zopflipng favours (a 200 % page background decodes in 8 ms instead of 12 ms
# in the 32-bit build), at about a ninth more bytes.
FAST_DECODE = ['--filters=2']


class Shrinker:
    """shrink(png bytes) -> the smallest lossless PNG of the same pixels that zopflipng finds
    (or the bytes as they are when zopflipng is missing or makes nothing smaller)."""

    def __init__(self, cache_dir=None, program=None):
        self.program = program if program is not None else shutil.which('zopflipng')
        self.cache_dir = cache_dir
        self.hits = 0
        self.runs = 0

    @property
    def available(self):
        return bool(self.program)

    def _cache_path(self, data, options):
        if not self.cache_dir:
            return None
        key = ('zopflipng %s\n' % ' '.join(options)).encode() + data
        return os.path.join(self.cache_dir, hashlib.sha256(key).hexdigest() + '.png')

    def shrink(self, data, fast_decode=False):
        """`fast_decode`: for images that must be on the screen quickly, whatever their size."""
        if not self.program:
            return data
        options = OPTIONS + (FAST_DECODE if fast_decode else [])
        cached = self._cache_path(data, options)
        if cached and os.path.exists(cached):
            with open(cached, 'rb') as f:
                self.hits += 1
                return f.read()
        with tempfile.TemporaryDirectory(prefix='skingen-') as tmp:
            source, target = os.path.join(tmp, 'in.png'), os.path.join(tmp, 'out.png')
            with open(source, 'wb') as f:
                f.write(data)
            done = subprocess.run([self.program] + options + [source, target], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE)
            if done.returncode != 0:
                raise RuntimeError('zopflipng failed (%d): %s' % (done.returncode, done.stderr.decode(errors='replace')))
            self.runs += 1
            # zopflipng writes nothing when it cannot do better than its input.
            result = data
            if os.path.exists(target):
                with open(target, 'rb') as f:
                    smaller = f.read()
                if len(smaller) < len(data):
                    result = smaller
        if cached:
            # Written under a temporary name and renamed: builds running side by side share it.
            os.makedirs(self.cache_dir, exist_ok=True)
            fd, tmp_path = tempfile.mkstemp(dir=self.cache_dir, suffix='.tmp')
            with os.fdopen(fd, 'wb') as f:
                f.write(result)
            os.replace(tmp_path, cached)
        return result
