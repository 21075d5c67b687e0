// A stalactite that stops the runner dead; it must be steered round or jumped.
#pragma once

#include "World/Entity.h"

class Stalactite : public Entity
{
public:
    void Setup() override;
    void Touch(Player& player) override;
};
