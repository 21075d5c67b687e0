// A launch pad: throws the runner into a far higher and slower arc than a jump.
#pragma once

#include "World/Entity.h"

class Spring : public Entity
{
public:
    Spring() { Reset(); }
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    float mLaunchVelocity = 0.0f;
    float mLaunchGravity = 0.0f;
    bool mBuilt = false;
};
