#include "Entities/Camera_Trigger.h"

#include "Entities/Object_Setup.h"
#include "World/Background_Handler.h"

void Camera_Trigger::Setup()
{
    mHalfWidth = FloatAttribute(*this, "HalfWidth", 0.5f, HALF_WIDTH_RANGE); // the whole corridor
    mHalfHeight = 0.5f;
}

void Camera_Trigger::Touch(Player& player)
{
    mSolid = false;
    Entity::Touch(player);
    // Distance is a count of frames for both glides.
    const int frames = IntAttribute(*this, "Distance", 100, FRAMES_RANGE);
    gBackground.SetShiftX(FloatAttribute(*this, "Yaw", 0.0f), frames);
    gBackground.SetShiftY(FloatAttribute(*this, "Pitch", 0.0f), frames);
}
