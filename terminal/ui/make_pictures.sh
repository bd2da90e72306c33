#!/bin/sh
# Draws the program's icon (group 400) and the About box picture (bitmap 500,
# 64 x 64, 16 colours) with ImageMagick. The results are committed; run this
# only to change them.
set -e
cd "$(dirname "$0")"
convert -size 64x64 xc:'#c0c0c0' -fill '#000080' -draw 'rectangle 4,4 59,45' \
  -fill '#00ff00' -draw 'rectangle 9,10 30,13' -fill '#ffffff' -draw 'rectangle 9,18 44,21' \
  -fill '#ffff00' -draw 'rectangle 9,26 24,29' -fill '#00ffff' -draw 'rectangle 9,34 13,40' \
  -fill '#808080' -draw 'rectangle 20,46 43,51' -fill '#000000' -draw 'rectangle 12,52 51,57' \
  -fill '#ff0000' -draw 'circle 52,52 52,56' -colors 16 -type Palette BMP3:talvorix_about.bmp
convert -size 32x32 xc:none -fill '#000080' -draw 'rectangle 1,2 30,24' \
  -fill '#00ff00' -draw 'rectangle 4,6 16,8' -fill '#ffffff' -draw 'rectangle 4,11 24,13' \
  -fill '#ffff00' -draw 'rectangle 4,16 12,18' -fill '#808080' -draw 'rectangle 11,25 20,27' \
  -fill '#404040' -draw 'rectangle 5,28 26,30' \( +clone -resize 16x16 \) talvorix.ico
