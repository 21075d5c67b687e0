#include "Entities/Hole.h"

#include "Entities/Object_Setup.h"

void Hole::Setup()
{
    Animation_Set& set = AddSingleFrameSet(mModel, "HOLE");
    set.mFrames[0].mRotation.Set(-90.0f, 1.0f, 0.0f, 0.0f);
    TakeHalfExtents(*this, "HOLE");
}
