#include "Entities/Camera_Trigger.h"

#include "World/Background_Handler.h"

void Camera_Trigger::Setup()
{
    mHalfWidth = Get("HalfWidth");
    mHalfHeight = 0.5f;
}

void Camera_Trigger::Touch(Player& player)
{
    mSolid = false;
    Entity::Touch(player);
    // Distance is a count of frames for both glides.
    const int frames = static_cast<int>(Get("Distance"));
    gBackground.SetShiftX(Get("Yaw"), frames);
    gBackground.SetShiftY(Get("Pitch"), frames);
}
