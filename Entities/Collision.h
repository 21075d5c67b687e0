// Decides which on-screen entities the runner touches this frame: a thin slab along
// the run, then a strict overlap of the two projected rectangles.
#pragma once

class Entity;
class Player;

void CheckCollisions(Player& player, Entity* const* first, Entity* const* last);
