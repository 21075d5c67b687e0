// A spike on the floor or on either wall; it keeps a fraction of the runner's speed.
#pragma once

#include "World/Entity.h"

class Spike : public Entity
{
public:
    void Setup() override;
    void Touch(Player& player) override;
    // The teeth fill only part of their box, and the runner's box is wider than its body:
    // a runner brushing the box's edge, or clearing the points in a jump, is not struck.
    float GetCollisionMargin() const override { return 0.12f; }
};
