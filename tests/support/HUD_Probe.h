// Tests read and set the HUD's own state through this; the HUD names it a friend.
#pragma once

#include "Game/HUD.h"

struct HUD_Probe
{
    static auto& Item(HUD& hud) { return hud.mItem; }
    static auto& Claw(HUD& hud) { return hud.mClaw; }
    static float PreviousPanic(const HUD& hud) { return hud.mPreviousPanic; }
    static int32_t PulsePeriod(const HUD& hud) { return hud.mPulsePeriod; }
    static int32_t PulseCounter(const HUD& hud) { return hud.mPulseCounter; }
    static float& HurtTimer(HUD& hud) { return hud.mHurtTimer; }
    static int32_t& LastSeenScore(HUD& hud) { return hud.mLastSeenScore; }
    static float ScorePopupTimer(const HUD& hud) { return hud.mScorePopupTimer; }
    static float FontScale(const HUD& hud) { return hud.mFont.GetScale(); }
};
