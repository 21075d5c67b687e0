// Everything that moves on screen is an Animation: a list of sets, one current; a set
// is a timed list of frames; a frame names an image of the bank. Each level carries
// its own rotation, scale and tint, which nest when drawn. Owners set members directly.
#pragma once

#include <string>
#include <vector>

#include "Graphics/Draw_Types.h"

class Animation_Frame
{
public:
    Animation_Frame();                                // key "NONE", full rectangle
    explicit Animation_Frame(const std::string& key); // takes the image's rectangle
    void SetImage(const std::string& key);

    std::string mKey;
    Rotation mRotation;
    Scale mScale;
    Tint mTint;
    const Texture_Rect* mTextureRect; // the image entry's rectangle; entries never move
    int mDuration;                    // update ticks
};

class Animation_Set
{
public:
    // Advances by ticks × speed: loops, stops at the stop frame, holds, finishes.
    void Update(int ticks);
    void Reset(); // back to the start frame, playing
    Animation_Frame& GetCurrentFrame();
    const Animation_Frame& GetCurrentFrame() const;
    void Resize(size_t count);

    std::vector<Animation_Frame> mFrames;
    bool mVisible = true;
    bool mStopped = false;
    bool mLoop = true;
    bool mFinished = false;
    int mStartFrame = 0;
    int mCurrentFrame = 0;
    int mTime = 0;
    int mStopFrame = -1; // > 0: the set finishes on reaching it
    int mHold = 0;       // ticks to wait after finishing before a loop restarts
    int mSpeed = 1;      // the set's rate: ticks are multiplied by it
    int mNextSet = -1;   // set the Animation switches to when this one finishes
    Rotation mRotation;
    Scale mScale;
    Tint mTint;

private:
    // Wraps many loops at once; false when the frames take no time at all.
    bool SkipWholeCycles();
    // Walks the frames the time covers; true when that finished the set, with the time
    // left over in ticks.
    bool StepFrames(int& ticks);
};

class Animation
{
public:
    // Advances the current set; a finished set with a next set hands over to it.
    void Update(int ticks);
    // Every set rewound, set 0 current; the animation's own transform back to neutral.
    void Reset();
    Animation_Set& GetCurrentSet();
    const Animation_Set& GetCurrentSet() const;

    std::vector<Animation_Set> mSets;
    int mCurrentSet = 0;
    Rotation mRotation;
    Scale mScale;
    Tint mTint;
};
