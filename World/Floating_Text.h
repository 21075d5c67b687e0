// Lines of text that glide from a start state to an end state (position, depth,
// colour) over a number of frames, then vanish. Never cleared: they outlive screens.
#pragma once

#include <list>
#include <string>

#include "Graphics/Draw_Types.h"

struct Floating_Text
{
    std::string mText;
    float mStartX, mEndX;
    float mStartY, mEndY;
    float mStartZ, mEndZ;
    Tint mStartColour, mEndColour;
    float mFrames;
    float mFramesLeft;
};

// What a text looks like at its current age, colour as drawn (r, g, b, a).
struct Floating_Text_State
{
    float mX, mY, mZ;
    float mR, mG, mB, mA;
};

class Floating_Text_List
{
public:
    void Add(const std::string& text, float frames, float startX, float startY, float startZ,
             const Tint& startColour, float endX, float endY, float endZ, const Tint& endColour);
    // Ages every text by a frame, drops the expired and draws the rest with the main font.
    void UpdateAndDraw();
    static Floating_Text_State GetState(const Floating_Text& text);
    size_t Count() const { return mTexts.size(); }
    const std::list<Floating_Text>& GetTexts() const { return mTexts; }

private:
    std::list<Floating_Text> mTexts;
};

extern Floating_Text_List gFloatingTexts;
