"""Build every image of the game and the image list Data/Images/image_info.zqt.
Run through make_art.sh; same bytes on every run."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from common import OUT, Image_List  # noqa: E402
import glyphs  # noqa: E402
import textures  # noqa: E402
import runner  # noqa: E402
import obstacles  # noqa: E402
import items  # noqa: E402
import hud  # noqa: E402
import screens  # noqa: E402

STAGES = [glyphs, textures, runner, obstacles, items, hud, screens]


def main():
    os.makedirs(OUT, exist_ok=True)
    only = set(sys.argv[1:])
    images = Image_List()
    for stage in STAGES:
        name = stage.__name__
        if only and name not in only:
            continue
        stage.make(images)
    if not only:
        images.write(os.path.join(OUT, "image_info.zqt"))


if __name__ == "__main__":
    main()
