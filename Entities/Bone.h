// A bone carried for one frame: worth 10 points when used.
#pragma once

#include "World/Entity.h"

class Bone : public Entity
{
public:
    Bone();
    void Setup() override;
    void Use(Player& player) override;
    void Reset() override;
};
