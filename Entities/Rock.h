// A rock in the way; only a boosted runner blasts it apart.
#pragma once

#include "World/Entity.h"

class Rock : public Entity
{
public:
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;
    float GetCollisionMargin() const override { return 0.1f; }
};
