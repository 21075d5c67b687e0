// Makes the runner untouchable for a little over 300 frames.
#pragma once

#include "World/Entity.h"

class Cloak_Item : public Entity
{
public:
    Cloak_Item();
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    float mTimer;
    Player* mWearer;
};
