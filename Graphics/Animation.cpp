#include "Graphics/Animation.h"

#include <iostream>

#include "Graphics/Image_Bank.h"

namespace
{

// Frames without an image share this one; it is never written.
const Texture_Rect FULL_RECT;

// A set whose frames take no time (or that keeps re-finishing with zero-length
// frames) could otherwise cycle for ever inside one update.
const int MAX_RESTARTS = 1000;

} // namespace

Animation_Frame::Animation_Frame() : mKey("NONE"), mTextureRect(&FULL_RECT), mDuration(10) {}

Animation_Frame::Animation_Frame(const std::string& key) : Animation_Frame()
{
    SetImage(key);
}

void Animation_Frame::SetImage(const std::string& key)
{
    mKey = key;
    mTextureRect = &gImageBank.GetImage(key).mTextureRect;
}

void Animation_Set::Update(int ticks)
{
    const int count = static_cast<int>(mFrames.size());
    if (count == 0)
    {
        std::cerr << "Animation_Set::Update(" << ticks
                  << ") is being called, but there are no frames in the set!" << std::endl;
        return;
    }
    if (mStopped)
        return;
    if (mCurrentFrame < 0 || mCurrentFrame >= count)
        mCurrentFrame = 0;

    for (int restarts = 0; restarts < MAX_RESTARTS; ++restarts)
    {
        mTime += mSpeed * ticks;

        if (mFinished)
        {
            if (mTime < mHold)
                return;
            if (mLoop)
            {
                if (restarts + 1 == MAX_RESTARTS)
                    return;
                ticks = mTime - mHold;
                Reset();
                continue;
            }
        }

        if (!StepFrames(ticks))
            return;
    }
}

bool Animation_Set::StepFrames(int& ticks)
{
    const int count = static_cast<int>(mFrames.size());
    for (;;)
    {
        const int duration = mFrames[mCurrentFrame].mDuration;
        if (duration > mTime)
            return false;
        mTime -= duration;
        ++mCurrentFrame;
        const bool stop = mStopFrame > 0 && mCurrentFrame < count && mCurrentFrame == mStopFrame;
        if (mCurrentFrame == count && mLoop)
        {
            mCurrentFrame = 0;
            if (!SkipWholeCycles())
                return false;
        }
        else if (stop || mCurrentFrame == count)
        {
            // The last frame stays on show; the time past it starts the hold.
            if (!stop)
                mCurrentFrame = count - 1;
            ticks = mTime;
            mFinished = true;
            mTime = 0;
            return true;
        }
    }
}

bool Animation_Set::SkipWholeCycles()
{
    // Only valid while no stop frame can interrupt the cycle.
    if (mStopFrame > 0 && mStopFrame < static_cast<int>(mFrames.size()))
        return true;
    long long total = 0;
    bool allPositive = true;
    for (const Animation_Frame& frame : mFrames)
    {
        total += frame.mDuration;
        allPositive = allPositive && frame.mDuration > 0;
    }
    // Frames that take no time would cycle for ever: stay on the first one.
    if (total <= 0)
        return false;
    // With every frame taking time, a full cycle uses exactly the total.
    if (allPositive && mTime >= total)
        mTime = static_cast<int>(mTime % total);
    return true;
}

void Animation_Set::Reset()
{
    mStopped = false;
    mFinished = false;
    const int count = static_cast<int>(mFrames.size());
    mCurrentFrame = (mStartFrame >= 0 && mStartFrame < count) ? mStartFrame : 0;
    mTime = 0;
}

namespace
{

// What an empty set shows: nothing. Handed out rather than reading past the end.
Animation_Frame& EmptyFrame()
{
    static Animation_Frame frame;
    frame = Animation_Frame();
    return frame;
}

} // namespace

Animation_Frame& Animation_Set::GetCurrentFrame()
{
    if (mFrames.empty())
        return EmptyFrame();
    if (mCurrentFrame < 0 || mCurrentFrame >= static_cast<int>(mFrames.size()))
        return mFrames[0];
    return mFrames[mCurrentFrame];
}

const Animation_Frame& Animation_Set::GetCurrentFrame() const
{
    return const_cast<Animation_Set*>(this)->GetCurrentFrame();
}

void Animation_Set::Resize(size_t count)
{
    mFrames.resize(count);
}

void Animation::Update(int ticks)
{
    const int count = static_cast<int>(mSets.size());
    if (count == 0)
        return;
    if (mCurrentSet < 0 || mCurrentSet >= count)
        mCurrentSet = 0;

    Animation_Set& set = mSets[mCurrentSet];
    set.Update(ticks);
    if (set.mFinished && set.mNextSet != -1 && set.mNextSet >= 0 && set.mNextSet < count)
    {
        set.Reset();
        mCurrentSet = set.mNextSet;
    }
}

void Animation::Reset()
{
    mCurrentSet = 0;
    for (Animation_Set& set : mSets)
        set.Reset();
    mRotation.Set(0.0f, 1.0f, 1.0f, 1.0f);
    mScale.Set(1.0f, 1.0f, 1.0f);
    mTint.Set(1.0f, 1.0f, 1.0f, 1.0f);
}

Animation_Set& Animation::GetCurrentSet()
{
    static Animation_Set empty;
    if (mSets.empty())
    {
        empty = Animation_Set();
        return empty;
    }
    if (mCurrentSet < 0 || mCurrentSet >= static_cast<int>(mSets.size()))
        return mSets[0];
    return mSets[mCurrentSet];
}

const Animation_Set& Animation::GetCurrentSet() const
{
    return const_cast<Animation*>(this)->GetCurrentSet();
}
