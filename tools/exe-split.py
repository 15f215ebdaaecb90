#!/usr/bin/env python3
"""Prints where the bytes of a PE executable go, and checks it against a size budget.

    exe-split.py EXE --skin SKIN.zip [--budget BYTES]

The split: code and its data (every section but the resources), resources (of which the skin
archive, whose bytes are the file SKIN.zip held as one resource, and the rest: icon, manifest,
version), and the padding that the file alignment adds to the sections and the headers. Exits 1
over the budget, with the figures on standard error.
"""
import argparse
import os
import struct
import sys


def sections(data):
    """(name, virtual size, raw size, file offset) of each section, and the end of the headers."""
    if data[:2] != b'MZ':
        raise ValueError('not an MZ executable')
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        raise ValueError('no PE signature')
    count, = struct.unpack_from('<H', data, pe + 6)
    optional_size, = struct.unpack_from('<H', data, pe + 20)
    optional = pe + 24
    table = optional + optional_size
    out = []
    for i in range(count):
        entry = table + 40 * i
        name = data[entry:entry + 8].rstrip(b'\0').decode('ascii', 'replace')
        virtual_size, _, raw_size, offset = struct.unpack_from('<IIII', data, entry + 8)
        out.append((name, virtual_size, raw_size, offset))
    return out, table + 40 * count


def split(data, skin_size):
    secs, headers_used = sections(data)
    figures = {'code': 0, 'resources': 0}
    end = headers_used
    for name, virtual_size, raw_size, offset in secs:
        # A section's raw size is rounded up to the file alignment; its virtual size is what it holds.
        used = min(virtual_size, raw_size) if virtual_size else raw_size
        figures['resources' if name == '.rsrc' else 'code'] += used
        end = max(end, offset + raw_size)
    figures['skin'] = skin_size
    figures['other resources'] = figures['resources'] - skin_size
    figures['total'] = len(data)
    # Bytes after the last section (a signature, say) are neither code nor padding.
    figures['trailing'] = len(data) - end
    figures['padding'] = end - headers_used - figures['code'] - figures['resources']
    return figures


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('exe')
    ap.add_argument('--skin', required=True, help='the skin archive that the exe carries')
    ap.add_argument('--budget', type=int, help='largest allowed size of the exe in bytes')
    args = ap.parse_args(argv)
    with open(args.exe, 'rb') as f:
        data = f.read()
    f = split(data, os.path.getsize(args.skin))
    if f['other resources'] < 0:
        print('FAIL: the resources (%d bytes) are smaller than the skin archive (%d bytes): is %s the '
              'archive of this build?' % (f['resources'], f['skin'], args.skin), file=sys.stderr)
        return 1
    rows = [('code and data', 'code'), ('resources', 'resources'), ('  skin archive', 'skin'),
            ('  icon, manifest, version', 'other resources'), ('alignment padding', 'padding')]
    if f['trailing']:
        rows.append(('after the sections', 'trailing'))
    rows.append(('total', 'total'))
    print('size of %s:' % os.path.basename(args.exe))
    for label, key in rows:
        print('  %-27s %9d bytes (%7.1f KB)' % (label, f[key], f[key] / 1000.0))
    if args.budget is not None:
        if f['total'] > args.budget:
            print('FAIL: %s is %d bytes, over its budget of %d bytes by %d' %
                  (os.path.basename(args.exe), f['total'], args.budget, f['total'] - args.budget), file=sys.stderr)
            return 1
        print('  within the budget of %d bytes (%d to spare)' % (args.budget, args.budget - f['total']))
    return 0


if __name__ == '__main__':
    sys.exit(main())
