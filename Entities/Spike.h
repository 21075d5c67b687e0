// A spike on the floor or on either wall; it keeps a fraction of the runner's speed.
#pragma once

#include "World/Entity.h"

class Spike : public Entity
{
public:
    void Setup() override;
    void Touch(Player& player) override;
};
