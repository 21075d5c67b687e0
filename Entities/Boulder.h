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
    // Round in a square box: the box's corners are bare.
    float GetCollisionMargin() const override { return 0.08f; }
    // One frame of the bounce across and down, from (x, y) at speeds (vx, vy): how Update
    // moves the boulder, and how the test runners foresee it. The roll is separate.
    void Bounce(float& x, float& y, float& vx, float& vy) const;

    float mSpeedX = 0.0f;
    float mRollSpeed;
    float mSpeedY = 0.0f;
    float mMinX = 0.0f;
    float mMaxX = 1.0f;
    float mStartY = 0.0f;
    float mFloorY = 1.0f;
    float mStartZ = 0.0f;
};
