#include <gtest/gtest.h>

#include "Graphics/Animation.h"
#include "Graphics/Image_Bank.h"

namespace
{

Animation_Set MakeSet(int frames, int duration = 10)
{
    Animation_Set set;
    for (int i = 0; i < frames; ++i)
    {
        Animation_Frame frame;
        frame.mDuration = duration;
        set.mFrames.push_back(frame);
    }
    return set;
}

void Tick(Animation_Set& set, int times)
{
    for (int i = 0; i < times; ++i)
        set.Update(1);
}

} // namespace

TEST(Animation, LoopingSetCyclesAndNeverFinishes)
{
    Animation_Set set = MakeSet(2);
    Tick(set, 9);
    EXPECT_EQ(set.mCurrentFrame, 0);
    Tick(set, 1);
    EXPECT_EQ(set.mCurrentFrame, 1);
    Tick(set, 10);
    EXPECT_EQ(set.mCurrentFrame, 0);
    EXPECT_FALSE(set.mFinished);
    Tick(set, 1000);
    EXPECT_FALSE(set.mFinished);
}

TEST(Animation, LeftoverTicksCarryIntoTheNextFrames)
{
    Animation_Set set = MakeSet(2);
    set.Update(25);
    EXPECT_EQ(set.mCurrentFrame, 0);
    EXPECT_EQ(set.mTime, 5);

    Animation_Set uneven;
    for (int duration : {3, 4, 5})
    {
        Animation_Frame frame;
        frame.mDuration = duration;
        uneven.mFrames.push_back(frame);
    }
    uneven.Update(8); // 3 + 4 used up, 1 tick into the third frame
    EXPECT_EQ(uneven.mCurrentFrame, 2);
    EXPECT_EQ(uneven.mTime, 1);
    uneven.Update(12 * 1000 + 4); // a thousand whole cycles, then the last 4 of frame 2
    EXPECT_EQ(uneven.mCurrentFrame, 0);
    EXPECT_EQ(uneven.mTime, 0);
}

TEST(Animation, NonLoopingSetStaysOnItsLastFrame)
{
    Animation_Set set = MakeSet(2);
    set.mLoop = false;
    Tick(set, 19);
    EXPECT_FALSE(set.mFinished);
    Tick(set, 1);
    EXPECT_EQ(set.mCurrentFrame, 1);
    EXPECT_TRUE(set.mFinished);
    Tick(set, 55);
    EXPECT_EQ(set.mCurrentFrame, 1);
    EXPECT_TRUE(set.mFinished);
}

TEST(Animation, StopFrameFinishesOnThatFrame)
{
    Animation_Set set = MakeSet(4);
    set.mStopFrame = 2;
    set.mHold = 1000;
    Tick(set, 19);
    EXPECT_EQ(set.mCurrentFrame, 1);
    EXPECT_FALSE(set.mFinished);
    Tick(set, 1);
    EXPECT_EQ(set.mCurrentFrame, 2);
    EXPECT_TRUE(set.mFinished);
    Tick(set, 500);
    EXPECT_EQ(set.mCurrentFrame, 2);
}

TEST(Animation, HoldDelaysTheRestartOfALoopingSet)
{
    Animation_Set set = MakeSet(4);
    set.mStopFrame = 2;
    set.mHold = 30;
    set.mStartFrame = 1;
    Tick(set, 20);
    ASSERT_TRUE(set.mFinished);
    Tick(set, 29);
    EXPECT_TRUE(set.mFinished);
    EXPECT_EQ(set.mCurrentFrame, 2);
    Tick(set, 1);
    // Restarted from the start frame, not frame 0.
    EXPECT_FALSE(set.mFinished);
    EXPECT_EQ(set.mCurrentFrame, 1);
    EXPECT_EQ(set.mTime, 0);
    // And stops again after one more frame.
    Tick(set, 10);
    EXPECT_TRUE(set.mFinished);
    EXPECT_EQ(set.mCurrentFrame, 2);
}

TEST(Animation, NonLoopingStopFrameGoesOnAfterTheHold)
{
    Animation_Set set = MakeSet(4);
    set.mLoop = false;
    set.mStopFrame = 2;
    set.mHold = 5;
    Tick(set, 20);
    ASSERT_EQ(set.mCurrentFrame, 2);
    ASSERT_TRUE(set.mFinished);
    Tick(set, 9);
    EXPECT_EQ(set.mCurrentFrame, 2);
    Tick(set, 1); // the hold counts toward the stop frame's own duration
    EXPECT_EQ(set.mCurrentFrame, 3);
    Tick(set, 100);
    EXPECT_EQ(set.mCurrentFrame, 3);
}

TEST(Animation, SpeedMultipliesTheTicks)
{
    Animation_Set set = MakeSet(3);
    set.mSpeed = 2;
    Tick(set, 5);
    EXPECT_EQ(set.mCurrentFrame, 1);
    Tick(set, 5);
    EXPECT_EQ(set.mCurrentFrame, 2);
}

TEST(Animation, StoppedOrEmptySetsDoNotMove)
{
    Animation_Set set = MakeSet(2);
    set.mStopped = true;
    Tick(set, 50);
    EXPECT_EQ(set.mCurrentFrame, 0);
    EXPECT_EQ(set.mTime, 0);

    Animation_Set empty;
    testing::internal::CaptureStderr();
    empty.Update(3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Animation_Set::Update(3) is being called, but there are no frames in the set!\n");
    EXPECT_EQ(empty.mTime, 0);
}

TEST(Animation, FramesThatTakeNoTimeDoNotHang)
{
    Animation_Set set = MakeSet(3, 0);
    set.Update(1);
    EXPECT_GE(set.mCurrentFrame, 0);
    EXPECT_LT(set.mCurrentFrame, 3);

    Animation_Set stopping = MakeSet(3, 0);
    stopping.mStopFrame = 1;
    stopping.Update(1);
    EXPECT_TRUE(stopping.mFinished);
}

TEST(Animation, ResetGoesBackToAValidStartFrame)
{
    Animation_Set set = MakeSet(3);
    set.mStartFrame = 2;
    set.mCurrentFrame = 1;
    set.mFinished = true;
    set.mStopped = true;
    set.mTime = 7;
    set.Reset();
    EXPECT_EQ(set.mCurrentFrame, 2);
    EXPECT_FALSE(set.mFinished);
    EXPECT_FALSE(set.mStopped);
    EXPECT_EQ(set.mTime, 0);
    set.mStartFrame = 3;
    set.Reset();
    EXPECT_EQ(set.mCurrentFrame, 0);
}

TEST(Animation, FinishedSetHandsOverToItsNextSet)
{
    Animation animation;
    Animation_Set first = MakeSet(2);
    first.mLoop = false;
    first.mNextSet = 1;
    animation.mSets.push_back(first);
    animation.mSets.push_back(MakeSet(3));

    for (int i = 0; i < 19; ++i)
        animation.Update(1);
    EXPECT_EQ(animation.mCurrentSet, 0);
    animation.Update(1);
    EXPECT_EQ(animation.mCurrentSet, 1);
    // The set handed away from is rewound, ready to play again.
    EXPECT_FALSE(animation.mSets[0].mFinished);
    EXPECT_EQ(animation.mSets[0].mCurrentFrame, 0);
    EXPECT_EQ(animation.mSets[1].mCurrentFrame, 0);

    // A next set that does not exist is ignored rather than followed.
    Animation lost;
    Animation_Set only = MakeSet(1);
    only.mLoop = false;
    only.mNextSet = 4;
    lost.mSets.push_back(only);
    lost.Update(10);
    EXPECT_EQ(lost.mCurrentSet, 0);
    EXPECT_EQ(lost.GetCurrentSet().GetCurrentFrame().mKey, "NONE");
}

TEST(Animation, ResetRewindsEverySetAndTheTransform)
{
    Animation animation;
    animation.mSets.push_back(MakeSet(2));
    animation.mSets.push_back(MakeSet(2));
    animation.mCurrentSet = 1;
    animation.mSets[1].Update(10);
    animation.mRotation.Set(40.0f, 0, 0, 1);
    animation.mScale.Set(2, 2, 2);
    animation.Reset();
    EXPECT_EQ(animation.mCurrentSet, 0);
    EXPECT_EQ(animation.mSets[1].mCurrentFrame, 0);
    EXPECT_EQ(animation.mRotation.mAngle, 0.0f);
    EXPECT_EQ(animation.mScale.mX, 1.0f);
    EXPECT_TRUE(animation.mTint.mEnabled);
    EXPECT_EQ(animation.mTint.mR, 1.0f);
    EXPECT_EQ(animation.mTint.mA, 1.0f);

    Animation empty;
    empty.Update(5); // nothing to do, nothing to crash on
    EXPECT_TRUE(empty.GetCurrentSet().mFrames.empty());
}

TEST(Animation, FramesFollowTheirImageEntry)
{
    Animation_Frame plain;
    EXPECT_EQ(plain.mKey, "NONE");
    EXPECT_EQ(plain.mDuration, 10);
    EXPECT_EQ(plain.mTextureRect->mRight, 1.0f);

    // A frame made before its image is loaded sees the rectangle the loading sets later.
    Animation_Frame early("LATE_IMAGE");
    gImageBank.GetImage("LATE_IMAGE").mTextureRect = Texture_Rect(0.25f, 0.0f, 0.5f, 1.0f);
    EXPECT_EQ(early.mTextureRect->mLeft, 0.25f);
    EXPECT_EQ(early.mTextureRect, &gImageBank.GetImage("LATE_IMAGE").mTextureRect);
    // Other keys added afterwards do not move it.
    for (int i = 0; i < 200; ++i)
        gImageBank.GetImage("FILLER_" + std::to_string(i));
    EXPECT_EQ(early.mTextureRect->mRight, 0.5f);

    Animation_Set set;
    set.Resize(3);
    EXPECT_EQ(set.mFrames.size(), 3u);
    EXPECT_EQ(set.mFrames[2].mKey, "NONE");
    set.Resize(1);
    EXPECT_EQ(set.mFrames.size(), 1u);
}
