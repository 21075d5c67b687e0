#!/usr/bin/env bash
# Game logic never talks to the platform: SDL, OpenGL, SDL_image, SDL_mixer and
# libsndfile are reached only through Core/, Graphics/, Input/ and Audio/.
cd "$(dirname "$0")/.."
hits=$(grep -nE '#include *[<"](SDL|GL/|sndfile)|\b(SDL_|gl[A-Z]|glu[A-Z]|IMG_|Mix_|sf_open)' \
  World/ Entities/ Level/ Game/ -r --include='*.h' --include='*.cpp' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Platform calls outside the platform modules:"; echo "$hits"; exit 1
fi
# Lower layers never reach up: the world, levels and the platform modules do not include
# the screens, and drawing does not include the world.
hits=$(grep -nE '#include *"Game/' World/ Level/ Graphics/ Input/ Audio/ -r --include='*.h' --include='*.cpp' 2>/dev/null;
  grep -nE '#include *"World/' Graphics/ Input/ Audio/ -r --include='*.h' --include='*.cpp' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Includes that reach up a layer:"; echo "$hits"; exit 1
fi
