// The layer drawn over play: the chase bar and panic bar, the red hurt flash, the score
// pop-up, the carried item flying in and thrown away, and the dragon's claw attacks.
// Update takes play as it stands and moves all of it on a frame; what that asks of the
// sound and the backdrop it hands back to the caller. Draw only draws.
#pragma once

#include <cstdint>
#include <string>

#include "Graphics/Animation.h"
#include "Graphics/Font.h"
#include "Graphics/Graphics.h"
#include "World/Overlay.h"

class Entity;

class HUD final : public Overlay
{
public:
    // Play as this frame's update left it.
    struct Play_State
    {
        int32_t score;
        const Entity* heldItem; // null when nothing is carried
        float runnerX, runnerY; // across and up the corridor, 0 to 1: items fly from here
        bool runnerHit;         // knocked this frame
        float playerProgress;   // through the level, 0 to 1
        float dragonProgress;
        float playerDistance; // along the corridor
        float dragonDistance;
    };
    // What a frame of the HUD asks of the sound and the backdrop, in this order.
    struct Requests
    {
        float voiceLevel; // loudness of the dragon's lines
        bool attackVoice; // a claw attack began and the dragon calls out
        int quakeFrames;  // a claw attack began and the cave shakes (0: it does not)
        float quakeStrength;
    };
    // Where a claw attack is at sweep fraction f (0 to 1).
    struct Claw_Pose
    {
        const char* image;
        float angle;
        float x;
    };

    void Init();
    Requests Update(const Play_State& play);
    void Draw() const;
    // A claw attack moves on a frame each time it has been drawn: in play, and behind
    // the pause and death screens, which draw the world without updating it.
    void ClawSeen();
    // No claw attack moves on when the HUD is next drawn, so it would look the same.
    bool IsStill() const { return !mClaw.mShown; }
    void DrawChaseBar() const;
    // The red of a fresh hit, 0 when there is none. The backdrop takes it when it is
    // next drawn, so whoever draws the HUD passes it on after.
    float HurtFlash() const;
    void Hide() override;
    void Show() override;
    bool IsHidden() const { return mHidden; }
    void SetTexture(const std::string& key) override;
    std::string GetTexture() const override { return mOverlayImage.mKey; }
    float Panic() const override { return mPanic; }
    // The score gem, which the results screens draw too. A tint given here stays on it,
    // so it colours the score pop-up from then on.
    void TintGem(float a, float r, float g, float b) { mGemImage.mTint.Set(a, r, g, b); }
    const Tint& GemTint() const { return mGemImage.mTint; }
    void DrawGemAt(float x, float y, float z) const { gGraphics.DrawFrameAt(mGemImage, x, y, z); }

    // Scale of the "PANIC!" text for the current pulse (finite for every period).
    float PulseScale() const;
    // Attack number count at sweep fraction f.
    static Claw_Pose ClawPose(int32_t count, float f);

private:
    // Tests read the HUD's own state through this.
    friend struct HUD_Probe;

    static const int FLY_FRAMES = 30;    // an item flying in or thrown away
    static const int CLAW_FRAMES = 40;   // a claw attack's sweep
    static const int FLASH_SPACING = 20; // frames between red flashes, with flashing reduced

    // The carried item flying from the runner into its box, and a used one thrown off
    // toward the viewer. Items are told apart by their score value (-1: none held).
    struct Item_Flight
    {
        Animation_Frame mImage, mThrownImage;
        bool mShown = false;
        float mStart[3] = {}, mCurrent[3] = {};
        int32_t mCounter = 0;
        int32_t mKey = -1;
        float mThrownStart[3] = {}, mThrownCurrent[3] = {};
        int32_t mThrownCounter = FLY_FRAMES;
    };
    // The claw attack as it sweeps across the screen.
    struct Claw_Attack
    {
        Animation_Frame mImage;
        int32_t mFrame = CLAW_FRAMES; // the frame of the attack shown now
        int32_t mCount = 0;
        bool mActive = false;
        bool mShown = false; // drawn in the coming frames; the attack moves on only as it is seen
        float mX = 0, mY = 0;
        bool mVoicePending = true;
    };

    void UpdateItem(const Play_State& play);
    void UpdateThrown();
    void UpdateFlashes(bool runnerHit);
    void StartClaw(Requests& requests);
    void PanicColour(float alpha) const;
    void HurtColour() const;
    void PoseClaw();
    void DrawClaw() const;
    void DrawPanicBar() const;

    Item_Flight mItem;
    Claw_Attack mClaw;
    Animation_Frame mGemImage;
    Animation_Frame mOverlayImage;
    Animation_Frame mPanicBar;
    Animation_Frame mPanicBarFill; // the bar again, cut to the panic by its x scale
    Animation_Frame mPanicBarOutline;
    Animation_Frame mPanicBarLabel;
    Animation_Frame mChaseBar;
    Animation_Frame mChaseDragon;
    Animation_Frame mChasePlayer;

    int32_t mScore = 0;
    int32_t mLastSeenScore = 0;
    float mScorePopupTimer = 0;
    float mPanic = 0;
    float mPreviousPanic = 0;
    float mHurtTimer = 0;
    int32_t mFramesSinceFlash = FLASH_SPACING; // since the last red flash began
    int32_t mPulseCounter = 0;
    int32_t mPulsePeriod = 0;
    float mDragonProgress = -1.0f, mPlayerProgress = 0;
    bool mHidden = false;
    // A drawing tool: each string sets its scale and puts it back.
    mutable Font mFont;
};

extern HUD gHUD;
