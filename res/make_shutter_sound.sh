#!/bin/sh
# Makes the shutter sound CAMERA.wav: a short bright click (the shutter opening) and a duller one
# (closing), 0.14 s in all. Deterministic (-R), so every build gives the same file.
# Usage: make_shutter_sound.sh OUT.wav
set -e
out=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sox -R -n -r 22050 -b 16 -c 1 "$tmp/open.wav" synth 0.035 whitenoise fade q 0.001 0.035 0.03 vol 0.7
sox -R -n -r 22050 -b 16 -c 1 "$tmp/close.wav" synth 0.06 brownnoise fade q 0.001 0.06 0.05 vol 0.9
sox -R "$tmp/open.wav" -p pad 0 0.04 | sox -R - "$tmp/close.wav" "$out"
