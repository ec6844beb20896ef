#!/usr/bin/env bash
# Shows every picture of the program on one page, eight times its size and labelled with its
# resource number, for review: tools/contact-sheet.sh docs/pictures.png
set -euo pipefail
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
python3 "$(dirname "$0")/make_pictures.py" "$pictures"
montage -font DejaVu-Sans -label '%t' "$pictures"/*.bmp "$pictures/app.ico" -filter point -resize 128x128 \
        -tile 6x -geometry 128x128+12+12 -background '#ECEEF1' "$1"
