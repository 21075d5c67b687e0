// Decides which on-screen entities the runner touches this frame: a thin slab along
// the run, then a strict overlap of the two projected rectangles.
#pragma once

#include <memory>

class Entity;
class Player;

void CheckCollisions(Player& player, const std::unique_ptr<Entity>* first,
                     const std::unique_ptr<Entity>* last);
