// A picture worth points: gems, gold, the cave's riches. Vanishes when taken.
#pragma once

#include "World/Entity.h"

class Treasure : public Entity
{
public:
    Treasure();
    void Setup() override;
};
