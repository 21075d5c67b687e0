#include "World/Environment_Handler.h"

#include "Core/Constants.h"

Environment_Handler gEnvironment;

Environment_Handler::Environment_Handler() : mDragonSpeed(DRAGON_SPEED), gDragonDistance(0.0f) {}

void Environment_Handler::Init()
{
    // Filled afresh, so a second Init leaves the same banks rather than doubling them.
    mEatingLines = {
        VOICE_MMM_CHEWY_NICER, VOICE_DINNERS_ON_YOU, VOICE_BURP,     VOICE_EATING,
        VOICE_LUNCH_TIME,      VOICE_MMM_CHEWY,      VOICE_LAUGHING, VOICE_LAUGHING2,
    };
    mGiveUpLines = {VOICE_NOT_WORTH_IT, VOICE_TOO_OLD, VOICE_FORGET_IT};
    mTauntLines = {
        VOICE_I_SEE_YOU,     VOICE_GONNA_CATCH, VOICE_GONNA_GETCHA,   VOICE_FOUND_YOU,
        VOICE_PUT_THAT_DOWN, VOICE_PETTY_ROGUE, VOICE_STOLE_TREASURE, VOICE_HANDS_OFF,
    };
    mAttackLines = {
        VOICE_BREATHING, VOICE_BET_THAT_HURT, VOICE_SNARLING, VOICE_MINE_AGAIN, VOICE_ROAR,
    };
}

void Environment_Handler::Reset()
{
    gDragonDistance = 0.0f;
    mDragonSpeed = DRAGON_SPEED;
}
