// Turns the whole view once around the line of sight, speeding up then slowing down.
#pragma once

#include "World/Entity.h"

class Spinner_Item : public Entity
{
public:
    Spinner_Item();
    void Setup() override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    // The turn handed to the view on the last update (degrees).
    float GetViewTurn() const { return mViewTurn; }

    float mTurnAngle;
    float mTurnRate;
    float mDirection;

private:
    void TurnView(float degrees);

    float mViewTurn;
};
