#!/bin/sh
# Draws the program's pictures and icons with ImageMagick. The results are committed; run this
# only to change them. Needs the imagemagick package.
set -eu
cd "$(dirname "$0")/../resources"
IM=/usr/bin/convert

# Program icon: a silver disc with a blue label ring, reduced to 16 colours.
disc() { # size output
    s=$1
    c=$((s / 2))
    r=$((s / 2 - 1))
    lr=$((s * 5 / 16))
    h=$((s / 10 + 1))
    $IM -size "${s}x${s}" xc:none \
        -fill '#c0c0c0' -stroke '#404040' -draw "circle $c,$c $c,$((c - r))" \
        -fill '#2050c0' -stroke none -draw "circle $c,$c $c,$((c - lr))" \
        -fill '#ffffff' -draw "circle $c,$c $c,$((c - h - 1))" \
        -fill none -stroke '#808080' -draw "circle $c,$c $c,$((c - h))" \
        +dither -colors 16 "$2"
}
disc 16 icons/partwright-16.png
disc 32 icons/partwright-32.png
disc 48 icons/partwright-48.png
disc 64 icons/partwright-64.png
disc 256 icons/partwright-256.png

# Arrows of the move buttons, 14 x 15.
$IM -size 14x15 xc:none -fill '#000000' -draw 'polygon 7,2 1,9 5,9 5,13 9,13 9,9 13,9' pictures/up.png
$IM pictures/up.png -flip pictures/down.png

# Question mark of the About button, 16 x 16.
$IM -size 16x16 xc:none -fill '#2050c0' -draw 'circle 8,8 8,1' \
    -fill white -font DejaVu-Sans-Bold -pointsize 12 -gravity center -annotate +0+0 '?' \
    +dither -colors 16 pictures/about.png

# The main window's decorative picture, 70 x 70: a stack of part files joined into a disc.
$IM -size 70x70 xc:'#f0f0f0' \
    -fill '#ffffff' -stroke '#606060' -draw 'rectangle 4,6 26,30' -draw 'rectangle 8,10 30,34' \
    -draw 'rectangle 12,14 34,38' \
    -fill '#606060' -stroke none -font DejaVu-Sans -pointsize 8 -annotate +15+30 '.001' \
    -fill '#2050c0' -stroke '#2050c0' -strokewidth 2 -draw 'line 36,24 46,24' \
    -draw 'polygon 50,24 44,20 44,28' \
    -fill '#c0c0c0' -stroke '#404040' -strokewidth 1 -draw 'circle 52,52 52,36' \
    -fill '#2050c0' -stroke none -draw 'circle 52,52 52,42' \
    -fill '#ffffff' -draw 'circle 52,52 52,49' \
    +dither -colors 32 pictures/quillon.png

# The About window's own icon, 16 x 16: an "i" on a blue disc.
$IM -size 16x16 xc:none -fill '#2050c0' -draw 'circle 8,8 8,1' \
    -fill white -draw 'rectangle 7,7 9,12' -draw 'rectangle 7,4 9,5' \
    +dither -colors 16 icons/about-16.png

# The Windows program icon: the 16 and 32 pixel discs in one .ico file.
$IM icons/partwright-16.png icons/partwright-32.png icons/partwright.ico

# The Windows window's pictures: icons keep their transparency, the decorative picture is a plain
# bitmap. The question mark's faint edge pixels become clear, so a disabled button shows a grey
# disc and not a grey square.
for picture in pictures/up pictures/down icons/about-16; do
    $IM "$picture.png" -type TrueColorAlpha "$picture.ico"
done
$IM pictures/about.png -channel A -fx 'a<0.02?0:a' +channel -type TrueColorAlpha pictures/about.ico
$IM pictures/quillon.png -alpha off -type TrueColor BMP3:pictures/quillon.bmp
