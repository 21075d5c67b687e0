#include "Entities/Camera_Trigger.h"

#include "World/Background_Handler.h"

void Camera_Trigger::Setup()
{
    mHalfWidth = ParseFloat(GetAttribute("HalfWidth"));
    mHalfHeight = 0.5f;
}

void Camera_Trigger::Touch(Player& player)
{
    mSolid = false;
    Entity::Touch(player);
    // Distance is a count of frames for both glides.
    const int frames = ParseInt(GetAttribute("Distance"));
    gBackground.SetShiftX(ParseFloat(GetAttribute("Yaw")), frames);
    gBackground.SetShiftY(ParseFloat(GetAttribute("Pitch")), frames);
}
