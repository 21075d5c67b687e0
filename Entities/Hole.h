// A hole lying flat on the floor.
#pragma once

#include "World/Entity.h"

class Hole : public Entity
{
public:
    void Setup() override;
};
