// A boulder that drops from the ceiling, bounces between the walls and rolls toward
// the runner until it is well behind it.
#pragma once

#include "World/Entity.h"

class Boulder : public Entity
{
public:
    Boulder();
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;
    float GetApproachStep() const override { return mAlive ? mRollSpeed : 0.0f; }

    float mSpeedX;
    float mRollSpeed;
    float mSpeedY;
    float mMinX;
    float mMaxX;
    float mStartY;
    float mFloorY;
    float mStartZ;
};
