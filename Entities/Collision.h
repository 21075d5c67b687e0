// Decides which on-screen entities the runner touches this frame: a thin slab along
// the run, then a strict overlap of the two projected rectangles.
#pragma once

#include <cmath>
#include <memory>
#include <utility>

class Entity;
class Player;

// The far edge of the last collision test, kept one frame: a runner that speeds up (a
// boost) is tested from there, not only from where it now stands. NaN: none.
struct Collision_Sweep
{
    float mCheckedUpTo = NAN;
    float mFrom = NAN;
    // Only last frame's test counts: not one from before a cloak or a respawn.
    void NextFrame() { mFrom = std::exchange(mCheckedUpTo, NAN); }
};

void CheckCollisions(Player& player, const std::unique_ptr<Entity>* first,
                     const std::unique_ptr<Entity>* last);

// Told of every touch just before the runner reacts to it, with both as they are drawn
// this frame; the level tools use it to compare touches with the pictures. None by default.
using Touch_Watcher = void (*)(const Player& player, const Entity& e);
void SetTouchWatcher(Touch_Watcher watcher);
