#!/usr/bin/env bash
# Keeps the layers apart. From the ground up:
#   Core      constants, clock, frame timer, file writing: includes nothing of ours
#   Graphics, Input, Audio   the platform, each behind its manager: Core only
#   World     camera, backdrop, fog, the entity list
#   Entities  the runner and the level objects
#   Level     reads level files into entities
#   Game      screens, HUD, scores, settings
#   App       start-up and the main loop: may include anything of ours, no platform
# A folder includes only from itself and the folders below it, so no two folders
# include each other. Game logic never talks to the platform: SDL, OpenGL, SDL_image,
# SDL_mixer and libsndfile are reached only through Core/, Graphics/, Input/, Audio/.
# Usage: tools/check_layers.sh [SOURCE_ROOT]
cd "${1:-$(dirname "$0")/..}" || exit 2
status=0

hits=$(grep -nE '#include *[<"](SDL|GL/|sndfile)|\b(SDL_|gl[A-Z]|glu[A-Z]|IMG_|Mix_|sf_open)' \
  World/ Entities/ Level/ Game/ App/ -r --include='*.h' --include='*.cpp' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Platform calls outside the platform modules:"; echo "$hits"; status=1
fi

# allow FOLDER ALLOWED...: FOLDER includes our headers only from itself and ALLOWED.
allow() {
  local folder=$1
  shift
  local found
  found=$(grep -nE '^ *# *include *"[A-Za-z_]+/' -r "$folder" --include='*.h' --include='*.cpp' 2>/dev/null |
    grep -vE "\"($(echo "$folder $*" | tr ' ' '|'))/")
  if [ -n "$found" ]; then
    echo "$folder may include only from ${*:-nothing but itself}:"; echo "$found"; status=1
  fi
}
allow Core
allow Graphics Core
allow Input Core
allow Audio Core
allow World Core Graphics Input Audio
allow Entities Core Graphics Input Audio World
allow Level Core Graphics Input Audio World Entities
allow Game Core Graphics Input Audio World Entities Level

exit $status
