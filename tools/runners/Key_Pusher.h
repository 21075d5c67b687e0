// Key presses put on SDL's event queue the way a keyboard sends them, for the runners and tests.
#pragma once

#include <SDL/SDL.h>

#include <cstring>

namespace test_keys
{

// False when SDL's queue is full.
inline bool PushKey(int key, bool down)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(key);
    return SDL_PushEvent(&e) == 0;
}

} // namespace test_keys
