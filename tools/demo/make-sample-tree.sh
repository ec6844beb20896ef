#!/usr/bin/env bash
# Fills ROOT with a small sample tree to browse with Ruvex: nested folders, an empty one and
# full ones, a file of every kind the list has a picture for, files of unknown kinds and a
# long name. The files are small but real: pictures open, archives unpack, the PDF shows a
# page. Names hold no blanks, since the FTP library cuts listed names at the first blank.
#
#   make-sample-tree.sh ROOT
set -euo pipefail
root=${1:?usage: make-sample-tree.sh ROOT}
mkdir -p "$root"
cd "$root"
mkdir -p Documents/Drafts/Old Pictures Website/Assets Software Media Incoming

# ---- Text: documents, web pages, spreadsheets and files of unknown kinds ----

cat > README.txt <<'TEXT'
Welcome to the Ruvex sample server.

Documents/  reports, minutes and drafts
Pictures/   photos and scans
Website/    the pages of a small site
Software/   programs and archives
Media/      sound and video
Incoming/   an empty folder: upload something into it
TEXT

cat > Documents/report.txt <<'TEXT'
Quarterly report
================

Sales rose by 4 % against the last quarter, led by the northern region.
Costs stayed flat. The new warehouse opens in March.
TEXT

cat > Documents/minutes.rtf <<'TEXT'
{\rtf1\ansi\deff0{\fonttbl{\f0 Times New Roman;}}
{\b Minutes of the planning meeting}\par
Present: Ana, Ben, Chloe.\par
Decided: the site moves to the new server next week.\par
}
TEXT

printf 'Draft one of the annual letter.\r\nStill missing: the numbers for December.\r\n' > Documents/Drafts/letter-draft-1.txt
printf 'The very first outline, kept for reference.\r\n' > Documents/Drafts/Old/outline.txt
printf 'A name of this length still fits in the list and travels intact.\r\n' \
    > Documents/A_rather_long_file_name_that_shows_how_the_list_copes_with_names_this_long-final-version-2.txt

cat > budget.csv <<'TEXT'
Month,Income,Expenses,Balance
January,4200,3900,300
February,4100,3650,450
March,4600,4020,580
TEXT

cat > Documents/inventory.xml <<'TEXT'
<?xml version="1.0" encoding="UTF-8"?>
<inventory>
  <item sku="A-100" count="12">Desk lamp</item>
  <item sku="B-220" count="4">Office chair</item>
</inventory>
TEXT

cat > index.html <<'TEXT'
<!DOCTYPE html>
<html><head><title>Sample site</title></head>
<body><h1>Hello from the sample site</h1><p>See <a href="Website/about.htm">about</a>.</p></body></html>
TEXT
cat > Website/about.htm <<'TEXT'
<html><head><title>About</title></head><body><p>A small site kept on an FTP server.</p></body></html>
TEXT
cat > guestbook.php <<'TEXT'
<?php
// Shows the last five guestbook entries.
$entries = array_slice(file('entries.txt'), -5);
foreach ($entries as $entry) {
    echo '<p>' . htmlspecialchars($entry) . '</p>';
}
TEXT
cat > Website/Assets/style.css <<'TEXT'
body { font-family: sans-serif; margin: 2em; }
h1 { color: #2a5d9f; }
TEXT

cat > notes.md <<'TEXT'
# Notes

- back up the Documents folder every Friday
- the Incoming folder is for uploads
TEXT
cat > Makefile <<'TEXT'
site:
	cp -r Website /var/www/sample
TEXT

# ---- Binary files, written byte by byte ----

/usr/bin/python3 - <<'PYTHON'
import io, struct, tarfile, zipfile, zlib

def png(path, width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))

def bmp(path, width, height, pixel):
    row_bytes = (width * 3 + 3) & ~3
    pixels = b''.join(b''.join(bytes(pixel(x, height - 1 - y)[::-1]) for x in range(width)).ljust(row_bytes, b'\0')
                      for y in range(height))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels)

def sunset(x, y):
    return (255, 120 + y * 2, 60 + y) if y < 40 else (20, 60 + x // 2, 120)

def checks(x, y):
    return (40, 90, 160) if (x // 8 + y // 8) % 2 else (230, 230, 220)

png('photo.png', 96, 64, sunset)
png('Pictures/sunset.png', 96, 64, sunset)
bmp('Pictures/scan.bmp', 48, 32, checks)

def pdf(path, text):
    objects = [b'<< /Type /Catalog /Pages 2 0 R >>',
               b'<< /Type /Pages /Kids [3 0 R] /Count 1 >>',
               b'<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 144] /Contents 4 0 R '
               b'/Resources << /Font << /F1 5 0 R >> >> >>',
               None,
               b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>']
    stream = b'BT /F1 14 Tf 24 72 Td (' + text + b') Tj ET'
    objects[3] = b'<< /Length %d >>\nstream\n' % len(stream) + stream + b'\nendstream'
    out = bytearray(b'%PDF-1.4\n')
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b'%d 0 obj\n' % number + body + b'\nendobj\n'
    xref = len(out)
    out += b'xref\n0 %d\n0000000000 65535 f \n' % (len(objects) + 1)
    out += b''.join(b'%010d 00000 n \n' % offset for offset in offsets)
    out += b'trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n' % (len(objects) + 1, xref)
    with open(path, 'wb') as f:
        f.write(out)

pdf('handbook.pdf', b'Staff handbook, page one of one.')

fixed_time = (2024, 1, 15, 9, 30, 0)
with zipfile.ZipFile('backup.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    for name in ('README.txt', 'budget.csv', 'notes.md'):
        info = zipfile.ZipInfo(name, fixed_time)
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, open(name, 'rb').read())
with zipfile.ZipFile('Software/library.jar', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr(zipfile.ZipInfo('META-INF/MANIFEST.MF', fixed_time), 'Manifest-Version: 1.0\r\nCreated-By: hand\r\n\r\n')
with tarfile.open('Software/sources.tar.gz', 'w:gz') as t:
    for name in ('Makefile', 'index.html', 'guestbook.php'):
        t.add(name)

# A DOS program that prints a line: MS-DOS prints it, Windows refuses it politely.
message = b'Hello from the Ruvex sample server.\r\n$'
code = bytes([0xB4, 0x09, 0xBA, 0x08, 0x01, 0xCD, 0x21, 0xC3])  # mov ah,9; mov dx,0x108; int 21h; ret
with open('Software/hello.com', 'wb') as f:
    f.write(code + message)
# The same as an MZ program: a 32-byte header, then code that sets DS and exits with 0.
body = bytes([0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x00, 0x4C, 0xCD, 0x21]) + message
size = 32 + len(body)
header = struct.pack('<2sHHHHHHHHHHHHH', b'MZ', size % 512, (size + 511) // 512, 0, 2, 0, 0xFFFF,
                     0, 0x100, 0, 0, 0, 0x1C, 0).ljust(32, b'\0')
with open('setup.exe', 'wb') as f:
    f.write(header + body)

# Media and Flash: the real container headers, with a little payload.
with open('banner.swf', 'wb') as f:
    payload = bytes([0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, 0x00, 0x18, 0x01, 0x00, 0x40, 0x00, 0x00, 0x00])
    f.write(b'FWS' + bytes([6]) + struct.pack('<I', 8 + len(payload)) + payload)
def riff(path, form, chunks):
    body = form + b''.join(kind + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')
                           for kind, data in chunks)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)
riff('intro.avi', b'AVI ', [(b'LIST', b'hdrl' + b'avih' + struct.pack('<I', 56) + bytes(56)), (b'JUNK', bytes(64))])
# An MPEG-1 program stream: a pack header and the end code, nothing between.
with open('Media/trailer.mpg', 'wb') as f:
    f.write(bytes([0, 0, 1, 0xBA, 0x21, 0, 1, 0, 1, 0x80, 0x1B, 0x91]) + bytes([0, 0, 1, 0xB9]))
with open('data.bin', 'wb') as f:
    f.write(bytes(range(256)))
PYTHON

cp intro.avi Media/clip.avi
convert Pictures/sunset.png Pictures/beach.jpg
convert Pictures/scan.bmp Pictures/logo.gif
convert Pictures/sunset.png Pictures/poster.tif
