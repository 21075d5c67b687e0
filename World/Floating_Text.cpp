#include "World/Floating_Text.h"

#include "Graphics/Font.h"

Floating_Text_List gFloatingTexts;

namespace
{

float Blend(float start, float end, float t)
{
    return end + t * (start - end);
}

} // namespace

void Floating_Text_List::Add(const std::string& text, float frames, float startX, float startY, float startZ,
                             const Tint& startColour, float endX, float endY, float endZ,
                             const Tint& endColour)
{
    Floating_Text added;
    added.mText = text;
    added.mStartX = startX;
    added.mEndX = endX;
    added.mStartY = startY;
    added.mEndY = endY;
    added.mStartZ = startZ;
    added.mEndZ = endZ;
    added.mStartColour = startColour;
    added.mEndColour = endColour;
    added.mFrames = frames;
    added.mFramesLeft = frames;
    mTexts.push_back(added);
}

Floating_Text_State Floating_Text_List::GetState(const Floating_Text& text)
{
    const float t = text.mFramesLeft / text.mFrames;
    const Tint& s = text.mStartColour;
    const Tint& e = text.mEndColour;
    Floating_Text_State state;
    state.mX = Blend(text.mStartX, text.mEndX, t);
    state.mY = Blend(text.mStartY, text.mEndY, t);
    state.mZ = Blend(text.mStartZ, text.mEndZ, t);
    // Green and blue trade places on the way to the font: a (0, 0, 1) colour shows
    // green. Every caller picks its colours for that look.
    state.mR = Blend(s.mR, e.mR, t);
    state.mG = Blend(s.mB, e.mB, t);
    state.mB = Blend(s.mG, e.mG, t);
    state.mA = Blend(s.mA, e.mA, t);
    return state;
}

void Floating_Text_List::UpdateAndDraw()
{
    for (auto it = mTexts.begin(); it != mTexts.end();)
    {
        it->mFramesLeft -= 1.0f;
        if (it->mFramesLeft <= 0.0f)
        {
            it = mTexts.erase(it);
            continue;
        }
        const Floating_Text_State s = GetState(*it);
        gFont.drawStringNormalized(it->mText, s.mX, s.mY, s.mZ, s.mR, s.mG, s.mB, s.mA);
        ++it;
    }
}
