// Invisible: fades new cave textures in over the corridor and changes the HUD frame.
#pragma once

#include "World/Entity.h"

class Scenery_Trigger : public Entity
{
public:
    void Setup() override;
    void Touch(Player& player) override;
};
