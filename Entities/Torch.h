// A torch the runner takes: it clears the fog for 450 frames, then the dark returns.
#pragma once

#include <cstdint>

#include "World/Entity.h"

class Torch : public Entity
{
public:
    Torch();
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    int32_t mCount;
    int32_t mDuration;
    float mSavedDensity;
    float mSavedStart;
    float mSavedEnd;
};
