// An automatic runner for the levels: it plays through the main loop's own frame of play
// (UpdatePlay: runner, dragon, camera, entities, collisions, backdrop, HUD) with keys
// pressed through the real input handler, carried by SDL's event queue.
//
// It looks ahead at what it will meet, works out for each obstacle which positions
// across the corridor would touch it when it gets there, and steers (at the game's own
// steering speed) through what stays open, jumping only when nothing does. On the way
// it steers for treasure, items and springs. ZQ_RUN_TRACE=1 in the environment lists
// every hit it takes, to find the spot in a level that caused it.
#pragma once

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Clock.h"
#include "Core/Constants.h"
#include "App/Developer_Keys.h"
#include "Core/Globals.h"
#include "App/Main_Loop.h"
#include "Entities/Bone.h"
#include "Entities/Boost_Item.h"
#include "Entities/Boulder.h"
#include "Entities/Cloak_Item.h"
#include "Entities/Clock_Item.h"
#include "Entities/Collision.h"
#include "Entities/Hole.h"
#include "Entities/Player.h"
#include "Entities/Rock.h"
#include "Entities/Spike.h"
#include "Entities/Spinner_Item.h"
#include "Entities/Spring.h"
#include "Entities/Stalactite.h"
#include "Entities/Torch.h"
#include "Entities/Treasure.h"
#include "Game/Game_State.h"
#include "Game/HUD.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "tools/runners/Key_Pusher.h"
#include "tools/runners/Run_Planner.h"

namespace auto_run
{

inline int32_t gFakeMs = 0;
inline int32_t FakeClock()
{
    return gFakeMs;
}

// Frames looked ahead. ZQ_RUN_HORIZON shortens it, to see how a less watchful
// player fares (about 30 is a quick human's warning).
inline const int HORIZON = getenv("ZQ_RUN_HORIZON") ? std::max(20, std::atoi(getenv("ZQ_RUN_HORIZON"))) : 150;
constexpr float STEER = 0.0135f; // planned steering per frame: the real 0.015 less a margin
constexpr float SAFETY = 0.03f;  // screen units added round every obstacle

using namespace run_plan;

// Keys go through SDL's queue, and the input handler takes one event a frame, so the
// runner changes one key a frame, as a quick player would.
class Keyboard
{
public:
    void Want(bool left, bool right, bool jump)
    {
        if (jump && !mSpace)
            Push(KEY_SPACE, mSpace = true);
        else if (mLeft && !left)
            Push(KEY_LEFT, mLeft = false);
        else if (mRight && !right)
            Push(KEY_RIGHT, mRight = false);
        else if (left && !mLeft)
            Push(KEY_LEFT, mLeft = true);
        else if (right && !mRight)
            Push(KEY_RIGHT, mRight = true);
        else if (mSpace)
            Push(KEY_SPACE, mSpace = false);
    }
    void ReleaseAll()
    {
        mLeft = mRight = mSpace = false;
        SDL_Event e;
        while (SDL_PollEvent(&e))
        {
        }
        for (int key : {KEY_LEFT, KEY_RIGHT, KEY_SPACE})
        {
            Push(key, false);
            gInput.Update();
        }
    }

private:
    static void Push(int key, bool down) { test_keys::PushKey(key, down); }
    bool mLeft = false, mRight = false, mSpace = false;
};

// It takes every spring to throw as a new one does.
constexpr Launch SPRING_LAUNCH = {-0.085f, 0.0005f};

class Auto_Runner : private Planner
{
public:
    Auto_Runner() : Planner(HORIZON, STEER, SAFETY, SPRING_LAUNCH) {}
    void Frame(Keyboard& keys);

private:
    std::vector<Meeting> Meetings();
};

inline std::vector<Meeting> Auto_Runner::Meetings()
{
    std::vector<Meeting> out;
    const size_t first = gEntities.GetFirstIndex(), last = gEntities.GetLastIndex();
    const std::vector<std::unique_ptr<Entity>>& all = gEntities.GetEntities();
    for (size_t i = first; i < last && i < all.size(); ++i)
    {
        const Entity* e = all[i].get();
        if (!e->mSolid || !e->mAlive)
            continue;
        const bool danger = Dangerous(e);
        const bool spring = dynamic_cast<const Spring*>(e) && e->mModel.mCurrentSet == 0;
        const bool hole = dynamic_cast<const Hole*>(e);
        if (!danger && !spring && !hole && !(Wanted(e) && e->mOnScreen))
            continue;
        const Boulder* boulder = dynamic_cast<const Boulder*>(e);
        float x = e->mX, y = e->mY, z = e->mZ, vx = 0, vy = 0;
        if (boulder)
        {
            vx = boulder->mSpeedX;
            vy = boulder->mSpeedY;
        }
        for (int k = 1; k <= HORIZON; ++k)
        {
            if (boulder)
            {
                boulder->Bounce(x, y, vx, vy);
                z -= boulder->mRollSpeed;
            }
            if (mZ[k] <= z && z <= mZ[k] + mSlab[k])
            {
                out.push_back({k, e, x, y, spring});
                break;
            }
            if (mZ[k] > z)
                break;
        }
    }
    std::sort(out.begin(), out.end(), [](const Meeting& a, const Meeting& b) { return a.mFrame < b.mFrame; });
    return out;
}

inline void Auto_Runner::Frame(Keyboard& keys)
{
    gPlayer.GetXRange(mLo, mHi);
    PredictRunner();
    const std::vector<Meeting> meetings = Meetings();

    const Meeting* spring = FirstSpring(meetings);

    // Plans in order of preference: ride the spring, run on, jump.
    Spans safe;
    int safeFrame = HORIZON, fail = 0;
    int jump = -1;
    const Meeting* ride = nullptr;
    Spans s;
    int f;
    if (spring && gPlayer.mJumpState == 0 && Plan(meetings, -1, spring, HORIZON, safe, safeFrame, fail))
    {
        ride = spring;
    }
    else if (!Plan(meetings, -1, nullptr, HORIZON, safe, safeFrame, fail))
    {
        // Something ahead cannot be steered round. A jump counts only for what it can
        // clear (what comes after is for the next plan, once landed); of the jumps that
        // get through, take the middle one of the last run.
        const int failFrame = fail;
        const int until = failFrame + 5;
        int windowStart, windowEnd;
        if (JumpWindow(meetings, failFrame, until, windowStart, windowEnd))
        {
            jump = (windowStart + windowEnd) / 2;
            Plan(meetings, jump, nullptr, until, safe, safeFrame, f);
        }
        else
        {
            // Nothing gets through clean: get as far as possible, then take the knock.
            Plan(meetings, -1, nullptr, failFrame - 1, safe, safeFrame, f);
        }
    }

    // A hole just ahead on the line is jumped for the joy of it, when that is safe too.
    if (jump == -1 && gPlayer.mJumpState == 0 && !ride)
    {
        for (const Meeting& m : meetings)
        {
            float lo, hi;
            if (dynamic_cast<const Hole*>(m.mEntity) && m.mFrame >= 12 && m.mFrame <= 16 &&
                BlockedSpan(m, 1.0f, lo, hi) && gPlayer.mX > lo && gPlayer.mX < hi)
            {
                int ff;
                if (Plan(meetings, 0, nullptr, HORIZON, s, f, ff))
                    jump = 0;
                break;
            }
        }
    }

    // Where to steer: the ridden spring, else the nearest pickup that fits the plan.
    float goal = 0.5f;
    if (ride)
    {
        goal = ride->mX;
    }
    else
    {
        for (const Meeting& m : meetings)
        {
            if (!Wanted(m.mEntity) || dynamic_cast<const Spring*>(m.mEntity))
                continue;
            if (std::fabs(m.mX - gPlayer.mX) > STEER * m.mFrame)
                continue;
            if (m.mFrame <= safeFrame)
            {
                const Spans after =
                    Both(Expand({{m.mX, m.mX}}, STEER * (safeFrame - m.mFrame), mLo, mHi), safe);
                if (after.empty())
                    continue;
            }
            else if (Nearest(safe, m.mX) != m.mX)
            {
                continue;
            }
            goal = m.mX;
            break;
        }
    }
    // Keep to what the plan allows, off the very edge of an opening.
    const float reach = STEER * safeFrame;
    Spans allowed = Keep(safe, gPlayer.mX - reach, gPlayer.mX + reach);
    if (allowed.empty())
        allowed = safe;
    float target = Nearest(allowed, goal);
    for (auto p : allowed)
    {
        if (target >= p.first && target <= p.second)
        {
            if (p.second - p.first > 0.02f)
                target = std::min(std::max(target, p.first + 0.01f), p.second - 0.01f);
            else
                target = (p.first + p.second) / 2;
        }
    }
    // ZQ_RUN_TRACE=2 shows the runner's thinking frame by frame (1 shows only the hits).
    if (getenv("ZQ_RUN_TRACE") && getenv("ZQ_RUN_TRACE")[0] == '2')
    {
        fprintf(stderr,
                "z %.1f x %.3f s %.2f coll %d jump %d ride %d goal %.2f target %.2f safeFrame %d safe",
                gPlayer.mZ - 300, gPlayer.mX, gPlayer.mSpeed, gPlayer.mCollidable, jump, ride != nullptr,
                goal, target, safeFrame);
        for (auto p : safe)
            fprintf(stderr, " [%.2f %.2f]", p.first, p.second);
        fprintf(stderr, " meetings %zu\n", meetings.size());
    }
    const float dead = 0.004f;
    keys.Want(target<gPlayer.mX - dead, target> gPlayer.mX + dead, jump == 0);
}

struct Run_Report
{
    bool mPassed = false;
    bool mCaught = false;
    int mFrames = 0;
    int mHits = 0;
    float mClosestGap = 1e9f;
    int32_t mScore = 0;
    int mJumps = 0;
    int mSprings = 0;
    int mBoosts = 0;
};

// Starts a level the way the game does, with the keys all up.
inline void StartLevel(int level, Keyboard& keys)
{
    keys.ReleaseAll();
    gPlayer.ClearScores();
    gGameState.SetLevel(static_cast<uint16_t>(level));
    gGameState.StartLevel(false);
}

// One frame of play in the main loop's order, the runner at the keys. False once the
// level is over (passed or caught).
inline bool PlayFrame(Auto_Runner& runner, Keyboard& keys, Run_Report& report)
{
    runner.Frame(keys);
    gInput.Update();
    const bool wasAir = gPlayer.mJumpState == 1;
    const Entity* held = gPlayer.mHeldItem;
    UpdatePlay();
    ++report.mFrames;
    gFakeMs = static_cast<int32_t>(static_cast<int64_t>(report.mFrames) * 1000 / 60);

    if (gPlayer.mHitThisFrame)
    {
        ++report.mHits;
        if (getenv("ZQ_RUN_TRACE"))
            fprintf(stderr, "hit frame %d z %.1f x %.3f y %.3f speed %.2f\n", report.mFrames,
                    gPlayer.mZ - LEVEL_Z_OFFSET, gPlayer.mX, gPlayer.mY, gPlayer.mSpeed);
    }
    if (!wasAir && gPlayer.mJumpState == 1)
    {
        if (gPlayer.mGravity < 0.001f)
            ++report.mSprings;
        else
            ++report.mJumps;
    }
    if (!held && dynamic_cast<const Boost_Item*>(gPlayer.mHeldItem))
        ++report.mBoosts;
    report.mClosestGap = std::min(report.mClosestGap, gPlayer.mZ - gEnvironment.gDragonDistance);
    report.mScore = gPlayer.mScore;
    if (gPlayer.IsCaught())
    {
        report.mCaught = true;
        return false;
    }
    if (gEntities.IsLevelPassed())
    {
        report.mPassed = true;
        return false;
    }
    return true;
}

} // namespace auto_run
