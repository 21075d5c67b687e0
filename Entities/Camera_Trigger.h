// Invisible: glides the far end of the corridor sideways and up or down.
#pragma once

#include "World/Entity.h"

class Camera_Trigger : public Entity
{
public:
    void Setup() override;
    void Touch(Player& player) override;
};
