// The shared reaction of an obstacle that strikes the runner: the base touch, a new
// speed, then recovery and the hit flag for the HUD.
#pragma once

#include "Entities/Player.h"
#include "World/Entity.h"

inline void Knock(Entity& obstacle, Player& player, float newSpeed)
{
    obstacle.Entity::Touch(player);
    player.SetSpeed(newSpeed);
    player.mAccelerating = true;
    player.mHitThisFrame = true;
}
