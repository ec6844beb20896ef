#!/usr/bin/env bash
# Fills ROOT with a small sample tree to browse with Ruvex: nested folders, an empty one and
# full ones, a file of every kind the list has a picture for, files of unknown kinds and a
# long name. Pictures come from ImageMagick and archives from tar and Python's zipfile, so
# they open; the other binary files hold little more than their format's first bytes. Names
# hold no blanks, since the FTP library cuts listed names at the first blank.
#
#   make-sample-tree.sh ROOT
set -euo pipefail
mkdir -p "${1:?usage: make-sample-tree.sh ROOT}"
cd "$1"
mkdir -p Documents/Drafts/Old Pictures Website/Assets Software Media Incoming

cat > README.txt <<'TEXT'
Welcome to the Ruvex sample server.

Documents/  reports, minutes and drafts
Pictures/   photos and scans
Website/    the pages of a small site
Software/   programs and archives
Media/      sound and video
Incoming/   an empty folder: upload something into it
TEXT
printf 'Quarterly report\n\nSales rose by 4 %% against the last quarter.\nThe new warehouse opens in March.\n' \
    > Documents/report.txt
printf '{\\rtf1\\ansi{\\b Minutes of the planning meeting}\\par Present: Ana, Ben, Chloe.\\par}\n' > Documents/minutes.rtf
printf 'Draft one of the annual letter.\r\n' > Documents/Drafts/letter-draft-1.txt
printf 'The very first outline, kept for reference.\r\n' > Documents/Drafts/Old/outline.txt
printf 'A name of this length still fits in the list and travels intact.\r\n' \
    > Documents/A_rather_long_file_name_that_shows_how_the_list_copes_with_names_this_long-final-version-2.txt
printf 'Month,Income,Expenses\nJanuary,4200,3900\nFebruary,4100,3650\n' > budget.csv
printf '<?xml version="1.0"?>\n<inventory><item sku="A-100" count="12">Desk lamp</item></inventory>\n' \
    > Documents/inventory.xml
printf '<!DOCTYPE html>\n<title>Sample site</title><h1>Hello</h1><a href="Website/about.htm">about</a>\n' > index.html
printf '<html><body><p>A small site kept on an FTP server.</p></body></html>\n' > Website/about.htm
printf '<?php\nforeach (array_slice(file("entries.txt"), -5) as $entry) echo htmlspecialchars($entry);\n' > guestbook.php
printf 'h1 { color: #2a5d9f; }\n' > Website/Assets/style.css
printf '# Notes\n\n- the Incoming folder is for uploads\n' > notes.md
printf 'site:\n\tcp -r Website /var/www/sample\n' > Makefile

convert -size 96x64 gradient:'#FF7838-#143C78' photo.png
cp photo.png Pictures/sunset.png
convert Pictures/sunset.png Pictures/beach.jpg
convert Pictures/sunset.png Pictures/poster.tif
convert -size 48x32 pattern:checkerboard Pictures/scan.bmp
convert Pictures/scan.bmp Pictures/logo.gif

python3 -m zipfile -c backup.zip README.txt budget.csv notes.md
mkdir META-INF && printf 'Manifest-Version: 1.0\r\n\r\n' > META-INF/MANIFEST.MF
python3 -m zipfile -c Software/library.jar META-INF && rm -r META-INF
tar czf Software/sources.tar.gz Makefile index.html guestbook.php

# A DOS program that prints a line (mov ah,9; mov dx,0x108; int 21h; ret). DOS runs a program
# without the MZ signature as a .com whatever its name, so setup.exe is the same bytes.
printf '\xb4\x09\xba\x08\x01\xcd\x21\xc3Hello from the Ruvex sample server.\r\n$' > Software/hello.com
cp Software/hello.com setup.exe
printf 'FWS\x06\x08\0\0\0' > banner.swf
printf 'RIFF\x04\0\0\0AVI ' > intro.avi
cp intro.avi Media/clip.avi
printf '\0\0\1\xba\x21\0\1\0\1\x80\x1b\x91\0\0\1\xb9' > Media/trailer.mpg  # an MPEG-1 pack and the end code
printf '%%PDF-1.4\n%%%%EOF\n' > handbook.pdf
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)))' > data.bin
