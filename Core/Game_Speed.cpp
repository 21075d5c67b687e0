#include "Core/Game_Speed.h"

Game_Speed gGameSpeed;

void Game_Speed::SetPercent(int percent)
{
    if (percent > FULL)
        percent = FULL;
    if (percent < SLOWEST)
        percent = SLOWEST;
    mPercent = (percent + STEP / 2) / STEP * STEP;
    if (mPercent > FULL)
        mPercent = FULL;
    mCredit = 0;
}

bool Game_Speed::TakeStep()
{
    mCredit += mPercent;
    if (mCredit < FULL)
        return false;
    mCredit -= FULL;
    return true;
}
