// A hole lying flat on the floor.
#pragma once

#include "World/Entity.h"

class Hole : public Entity
{
public:
    void Setup() override;
    // An oval lying flat: its box's corners are bare floor.
    float GetCollisionMargin() const override { return 0.1f; }
};
