// Screen fractions (from the left, from the top) to the screen plane the game draws
// on: 3.5 units wide, 2.0 high, centred. Stateless, so drawing and the world share it.
#pragma once

#include "Core/Constants.h"

inline float FractionToWidth(float f)
{
    return f * SCREEN_PLANE_WIDTH;
}

inline float FractionToHeight(float f)
{
    return f * SCREEN_PLANE_HEIGHT;
}

inline float FractionToScreenX(float f)
{
    return f * SCREEN_PLANE_WIDTH - SCREEN_PLANE_HALF_WIDTH;
}

inline float FractionToScreenY(float f)
{
    return 1.0f - f * SCREEN_PLANE_HEIGHT;
}
