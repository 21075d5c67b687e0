// Slows the whole game to 20 frames a second for three seconds, then eases back to 60.
#pragma once

#include <cstdint>

#include "World/Entity.h"

class Clock_Item : public Entity
{
public:
    Clock_Item();
    ~Clock_Item() override;
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    int32_t mEndTime;
    float mFps;
};
