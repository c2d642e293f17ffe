#!/usr/bin/env bash
# Regenerates the PNG and ICO files in this folder from the SVG drawings.
# Needs rsvg-convert (Debian package librsvg2-bin), convert (imagemagick) and icotool (icoutils).
set -euo pipefail
cd "$(dirname "$0")"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The 16 colours of the standard VGA palette.
convert xc:'#000000' xc:'#800000' xc:'#008000' xc:'#808000' \
        xc:'#000080' xc:'#800080' xc:'#008080' xc:'#C0C0C0' \
        xc:'#808080' xc:'#FF0000' xc:'#00FF00' xc:'#FFFF00' \
        xc:'#0000FF' xc:'#FF00FF' xc:'#00FFFF' xc:'#FFFFFF' +append "$tmp/palette.png"

# Render an SVG at a size, snap its colours to the palette (no dithering), make each
# pixel either fully opaque or fully transparent, and write an indexed PNG.
render() { # svg size out.png
    rsvg-convert -w "$2" -h "$2" "$1" -o "$tmp/raw.png"
    convert "$tmp/raw.png" -alpha extract -threshold 50% "$tmp/mask.png"
    convert "$tmp/raw.png" -alpha off +dither -remap "$tmp/palette.png" \
        "$tmp/mask.png" -compose CopyOpacity -composite \
        -strip -define png:exclude-chunks=date,time PNG8:"$3"
}

for name in phone memo; do
    render "$name.svg" 32 "$name-32.png"
    render "$name-16.svg" 16 "$name-16.png"
    icotool -c -o "$name.ico" "$name-32.png" "$name-16.png"
done

# Larger sizes of the program's icon for the desktop's icon theme: whole multiples of the
# 32-unit grid, so every unit stays a square of pixels.
for size in 64 128; do
    render phone.svg "$size" "phone-$size.png"
done
