#!/bin/sh
# Image files written by the reference tools (ImageMagick, libjpeg's cjpeg, giflib's gif2rgb, optipng), for
# the Windows tests that open image files. One picture throughout: 64 x 48 in four solid
# quarters, red and green above, blue and yellow below.
# Usage: make_reference_images.sh OUTPUT_FOLDER
set -eu
out=$1
mkdir -p "$out"
cd "$out"
convert -size 32x24 xc:red xc:lime +append \( -size 32x24 xc:blue xc:yellow +append \) -append ref_source.ppm
convert ref_source.ppm -depth 8 rgb:ref_source.rgb
cjpeg -quality 90 -outfile ref_cjpeg_baseline.jpg ref_source.ppm
cjpeg -quality 75 -progressive -outfile ref_cjpeg_progressive.jpg ref_source.ppm
gif2rgb -c 8 -s 64 48 -1 ref_source.rgb > ref_gif2rgb.gif
convert ref_source.ppm -type palette BMP3:ref_magick_palette.bmp
convert ref_source.ppm BMP3:ref_magick_rgb24.bmp
convert ref_source.ppm -alpha on BMP:ref_magick_rgba32.bmp
convert ref_source.ppm -interlace GIF ref_magick_interlaced.gif
convert ref_source.ppm -colorspace gray ref_magick_gray.jpg
convert ref_source.ppm ref_magick.png
# PNGs through libpng (ImageMagick and optipng both write with it): palette, RGB, 16-bit RGB, RGBA
# with the top-left quarter transparent, 16-bit gray, interlaced, and optipng's 2-bit palette.
convert ref_source.ppm PNG8:ref_magick_palette.png
convert ref_source.ppm PNG24:ref_magick_rgb.png
convert ref_source.ppm -depth 16 PNG48:ref_magick_rgb16.png
convert ref_source.ppm \( -size 64x48 xc:white -fill black -draw "rectangle 0,0 31,23" \) -alpha off \
  -compose CopyOpacity -composite PNG32:ref_magick_rgba.png
convert ref_source.ppm -colorspace gray -depth 16 PNG:ref_magick_gray16.png
convert ref_source.ppm -interlace PNG PNG24:ref_magick_interlaced.png
cp ref_magick.png ref_optipng.png && optipng -quiet -o2 ref_optipng.png
convert ref_source.ppm ref_magick.tif
rm -f ref_source.ppm ref_source.rgb
touch .made
