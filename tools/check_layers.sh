#!/usr/bin/env bash
# Keeps the layers apart.
# Game logic never talks to the platform: SDL, OpenGL, SDL_image, SDL_mixer and
# libsndfile are reached only through Core/, Graphics/, Input/ and Audio/.
# Includes point downwards: Core (the main loop) may include anything; the screens in
# Game/ sit above World/, Entities/ and Level/, which never include Game/; Graphics/,
# Input/ and Audio/ serve everyone and include none of World/, Entities/, Game/, Level/.
# Usage: tools/check_layers.sh [SOURCE_ROOT]
cd "${1:-$(dirname "$0")/..}" || exit 2
status=0

hits=$(grep -nE '#include *[<"](SDL|GL/|sndfile)|\b(SDL_|gl[A-Z]|glu[A-Z]|IMG_|Mix_|sf_open)' \
  World/ Entities/ Level/ Game/ -r --include='*.h' --include='*.cpp' 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Platform calls outside the platform modules:"; echo "$hits"; status=1
fi

# forbid FOLDERS... -- INCLUDED...: none of FOLDERS includes a header from INCLUDED.
forbid() {
  local from=() to=()
  while [ "$1" != -- ]; do from+=("$1"); shift; done
  shift
  local pattern
  pattern="^ *# *include *\"($(IFS='|'; echo "$*"))/"
  local found
  found=$(grep -nE "$pattern" -r "${from[@]}" --include='*.h' --include='*.cpp' 2>/dev/null)
  if [ -n "$found" ]; then
    echo "${from[*]} must not include from $*:"; echo "$found"; status=1
  fi
}
forbid World Entities Level -- Game
forbid Graphics Input Audio -- World Entities Game Level

exit $status
