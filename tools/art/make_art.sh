#!/bin/sh
# Regenerates Data/Images (every PNG and image_info.zqt) from the scripts here.
# Needs Debian's python3-pil, python3-numpy, librsvg2-bin and the font package
# fonts-league-spartan.
set -e
cd "$(dirname "$0")/../.."
exec /usr/bin/python3 tools/art/make_art.py "$@"
