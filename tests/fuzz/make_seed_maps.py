#!/usr/bin/env python3
"""Writes the small map files of tests/fuzz/maps (fuzz seeds and the environment target's data):
a few records of the Natural Earth test shapefile and MIF table, an 8-bit bitmap and a JPEG.
The LYR file is made from the shapefile by lyrconvert: pass its path as the first argument."""
import os, struct, subprocess, sys, zlib

here = os.path.dirname(os.path.abspath(__file__))
data = os.path.join(here, '..', 'data')
out = os.path.join(here, 'maps')

def shapefile(src, dst, picks):
    shp = open(os.path.join(data, src + '.shp'), 'rb').read()
    dbf = open(os.path.join(data, src + '.dbf'), 'rb').read()
    records, pos = [], 100
    while pos + 8 <= len(shp):
        length = struct.unpack('>i', shp[pos + 4:pos + 8])[0] * 2
        records.append(shp[pos:pos + 8 + length])
        pos += 8 + length
    body = b''
    for n, i in enumerate(picks):
        rec = records[i]
        body += struct.pack('>i', n + 1) + rec[4:]
    header = bytearray(shp[:100])
    header[24:28] = struct.pack('>i', (100 + len(body)) // 2)
    open(os.path.join(out, dst + '.shp'), 'wb').write(bytes(header) + body)
    count, hlen, rlen = struct.unpack('<IHH', dbf[4:12])
    table = bytearray(dbf[:hlen])
    table[4:8] = struct.pack('<I', len(picks))
    rows = b''.join(dbf[hlen + i * rlen:hlen + (i + 1) * rlen] for i in picks)
    open(os.path.join(out, dst + '.dbf'), 'wb').write(bytes(table) + rows + b'\x1a')

def smallest(src, n):
    shp = open(os.path.join(data, src + '.shp'), 'rb').read()
    sizes, pos, i = [], 100, 0
    while pos + 8 <= len(shp):
        length = struct.unpack('>i', shp[pos + 4:pos + 8])[0] * 2
        sizes.append((length, i))
        pos += 8 + length
        i += 1
    return sorted(i for _, i in sorted(sizes)[:n])

def mif(dst):
    lines = open(os.path.join(data, 'ne_110m_countries.mif'), newline='').read().split('\n')
    mid = open(os.path.join(data, 'ne_110m_countries.mid'), newline='').read().split('\n')
    head = lines[:lines.index('Data') + 1]
    text = '\n'.join(head) + '\n\n'
    text += 'Point 23.5 37.9\n    Symbol (35,16711680,12)\n'
    text += 'Pline 3\n14.5 35.9\n15.1 36.5\n16.0 37.0\n    Pen (2,2,255)\n'
    text += 'Line 10 40 12 41\n'
    text += 'Region 1\n  4\n24 35\n26 35\n25 36\n24 35\n    Pen (1,2,0)\n    Brush (2,65280,16777215)\n'
    text += 'Text "Malta"\n 14.3 35.8 14.6 36.0\n    Font ("Arial",0,0,0)\n'
    text += 'Rect 1 2 3 4\nEllipse 5 6 7 8\nNone\n'
    open(os.path.join(out, dst + '.mif'), 'w', newline='').write(text)
    open(os.path.join(out, dst + '.mid'), 'w', newline='').write('\n'.join(mid[:8]) + '\n')

def bitmap(dst, width, height):
    stride = (width + 3) & ~3
    palette = b''.join(bytes((i, 255 - i, (i * 7) & 255, 0)) for i in range(256))
    pixels = b''.join(bytes(((x * 16 + y * 3) & 255) for x in range(width)) + b'\0' * (stride - width)
                      for y in range(height))
    off = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    open(os.path.join(out, dst + '.bmp'), 'wb').write(
        struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off) + info + palette + pixels)

if __name__ == '__main__':
    os.makedirs(out, exist_ok=True)
    shapefile('ne_110m_countries', 'Coast', smallest('ne_110m_countries', 4))
    mif('Countries')
    bitmap('Texture', 18, 9)
    if len(sys.argv) > 1:
        subprocess.check_call([sys.argv[1], os.path.join(out, 'Coast.shp'), os.path.join(out, 'Land.lyr'),
                               '--title-column', '1', '--presenter', '1'])
