// A stalactite that stops the runner dead; it must be steered round or jumped.
#pragma once

#include "World/Entity.h"

class Stalactite : public Entity
{
public:
    void Setup() override;
    // Its box is as wide as its root, but the runner's head meets it near the tip: a
    // runner passing clearly beside the tip is not struck.
    float GetCollisionMargin() const override { return 0.2f; }
    void Touch(Player& player) override;
};
