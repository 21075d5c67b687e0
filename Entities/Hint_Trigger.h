// Opens a level and is its checkpoint: stops the runner and the dragon, shows a hint
// picture and a word of praise, then wakes the dragon and sends the runner off again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Graphics/Animation.h"
#include "World/Entity.h"

class Hint_Trigger : public Entity
{
public:
    Hint_Trigger();
    void Setup() override;
    void DrawOverlay() override;
    bool OverlayIsStill() const override;
    bool Update(Player& player) override;
    void Touch(Player& player) override;
    void Reset() override;

    int32_t mHintEndTime;
    int32_t mMessageEndTime;
    int32_t mFadeTime;
    Animation_Frame mHintFrame;
    bool mHintActive;
    std::vector<std::string> mPraiseWords;
    bool mTextPending;
    float mSpin;
    bool mFadingIn;
    int32_t mWordIndex;

private:
    bool mTouched; // the hint has started (cleared again by Reset)
};
