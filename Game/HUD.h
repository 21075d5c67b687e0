// The layer drawn over play: the chase bar and panic bar, the red hurt flash, the score
// pop-up, the carried item flying in and thrown away, and the dragon's claw attacks.
// Its update also sets the loudness of the dragon's voice and starts claw earthquakes.
#pragma once

#include <cstdint>
#include <string>

#include "Graphics/Animation.h"
#include "Graphics/Font.h"
#include "World/Overlay.h"

class Entity;

class HUD final : public Overlay
{
public:
    HUD();

    void Init();
    void Update(int32_t score, float dragonProgress, Entity* heldItem, float playerProgress,
                float playerDistance, float dragonDistance);
    void Draw();
    void DrawChaseBar();
    void Hide() override { mHidden = true; }
    void Show() override { mHidden = false; }
    bool IsHidden() const { return mHidden; }
    void SetTexture(const std::string& key) override;
    float Panic() const override { return mPanic; }

    // Scale of the "PANIC!" text for the current pulse (finite for every period).
    float PulseScale() const;
    // Image, angle and x of attack number count at sweep fraction f (0 to 1).
    static void ClawPose(int32_t count, float f, std::string& key, float& angle, float& x);

    Animation_Frame mItemImage;
    Animation_Frame mLastItemImage;
    Animation_Frame mThrownItemImage;
    Animation_Frame mGemImage;
    Animation_Frame mOverlayImage;
    Animation_Frame mPanicBar;
    Animation_Frame mPanicBarOutline;
    Animation_Frame mPanicBarLabel;
    Animation_Frame mChaseBar;
    Animation_Frame mChaseDragon;
    Animation_Frame mChasePlayer;
    Animation_Frame mClaw;

    int32_t mScore;
    int32_t mLastSeenScore;
    float mScorePopupTimer;
    float mPanic;
    float mPreviousPanic;
    float mHurtTimer;
    float mPanicBarPosition[3];
    int32_t mPulseCounter;
    int32_t mPulsePeriod;
    bool mItemShown;
    float mItemStart[3], mItemCurrent[3], mItemTarget[3];
    int32_t mItemCounter;
    int32_t mItemKey, mPreviousItemKey;
    float mThrownStart[3], mThrownCurrent[3], mThrownTarget[3];
    int32_t mThrownCounter;
    float mThrownSpin;
    float mPlayerDistance, mDragonDistance;
    float mDragonProgress, mPlayerProgress;
    int32_t mClawFrame;
    int32_t mClawCount;
    bool mClawActive;
    bool mClawVoicePending;
    bool mHidden;
    Font mFont;

private:
    void PanicColour(float alpha);
    void HurtColour();
    void DrawClaw();
    void DrawPanicBar();
};

extern HUD gHUD;
