// A boost carried for 100 frames: the runner goes fast enough to blast rocks.
#pragma once

#include "World/Entity.h"

class Boost_Item : public Entity
{
public:
    Boost_Item();
    void Setup() override;
    void Use(Player& player) override;
    void Touch(Player&) override {}
    void Reset() override;

    float mTimer;
    bool mUseSoundPlayed;
};
