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
#include "Core/Developer_Keys.h"
#include "Core/Globals.h"
#include "Core/Main_Loop.h"
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
#include "tests/support/Key_Pusher.h"

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

typedef std::vector<std::pair<float, float>> Spans;

inline Spans Expand(const Spans& s, float by, float lo, float hi)
{
    Spans out;
    for (auto p : s)
    {
        float a = std::max(lo, p.first - by), b = std::min(hi, p.second + by);
        if (a > b)
            continue;
        if (!out.empty() && a <= out.back().second)
            out.back().second = std::max(out.back().second, b);
        else
            out.push_back({a, b});
    }
    return out;
}

inline Spans Cut(const Spans& s, float a, float b)
{
    Spans out;
    for (auto p : s)
    {
        if (b <= p.first || a >= p.second)
        {
            out.push_back(p);
            continue;
        }
        if (p.first < a)
            out.push_back({p.first, a});
        if (b < p.second)
            out.push_back({b, p.second});
    }
    return out;
}

inline Spans Keep(const Spans& s, float a, float b)
{
    Spans out;
    for (auto p : s)
    {
        float lo = std::max(a, p.first), hi = std::min(b, p.second);
        if (lo <= hi)
            out.push_back({lo, hi});
    }
    return out;
}

inline Spans Both(const Spans& s, const Spans& t)
{
    Spans out;
    for (auto p : t)
    {
        Spans part = Keep(s, p.first, p.second);
        out.insert(out.end(), part.begin(), part.end());
    }
    std::sort(out.begin(), out.end());
    return out;
}

inline float Nearest(const Spans& s, float x)
{
    float best = x, distance = 1e9f;
    for (auto p : s)
    {
        float c = std::min(std::max(x, p.first), p.second);
        if (std::fabs(c - x) < distance)
        {
            distance = std::fabs(c - x);
            best = c;
        }
    }
    return best;
}

inline bool Dangerous(const Entity* e)
{
    return dynamic_cast<const Rock*>(e) || dynamic_cast<const Spike*>(e) ||
           dynamic_cast<const Stalactite*>(e) || dynamic_cast<const Boulder*>(e);
}

inline bool Wanted(const Entity* e)
{
    return dynamic_cast<const Treasure*>(e) || dynamic_cast<const Bone*>(e) ||
           dynamic_cast<const Boost_Item*>(e) || dynamic_cast<const Spinner_Item*>(e) ||
           dynamic_cast<const Cloak_Item*>(e) || dynamic_cast<const Clock_Item*>(e) ||
           dynamic_cast<const Spring*>(e) || dynamic_cast<const Torch*>(e);
}

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

// One thing the runner will meet: the frame it gets there and what it must do there.
struct Meeting
{
    int mFrame;
    const Entity* mEntity;
    float mX, mY;   // where the entity will be then
    bool mRequired; // be inside it (a spring to ride) rather than outside
};

class Auto_Runner
{
public:
    void Frame(Keyboard& keys);

private:
    void PredictRunner();
    std::vector<Meeting> Meetings();
    void PredictHeights(int jumpAt, const Meeting* spring, std::vector<float>& heights) const;
    bool BlockedSpan(const Entity& e, float ex, float ey, float py, float& lo, float& hi) const;
    bool Plan(const std::vector<Meeting>& meetings, int jumpAt, const Meeting* spring, int until,
              Spans& firstSafe, int& firstFrame, int& failFrame) const;

    std::vector<float> mZ, mSlab; // runner's distance and slab length, frame by frame
    float mLo = 0.0f, mHi = 1.0f; // where SetX lets the runner be
};

inline void Auto_Runner::PredictRunner()
{
    mZ.assign(HORIZON + 1, gPlayer.mZ);
    mSlab.assign(HORIZON + 1, gPlayer.mSpeed);
    float z = gPlayer.mZ, s = gPlayer.mSpeed;
    bool accelerating = gPlayer.mAccelerating;
    int boost = 0;
    if (const Boost_Item* b = dynamic_cast<const Boost_Item*>(gPlayer.mHeldItem))
        if (b->mHoldable && !gPlayer.mItemUseBlocked)
            boost = static_cast<int>(b->mTimer) + 1;
    for (int k = 1; k <= HORIZON; ++k)
    {
        if (boost > 0)
        {
            s = --boost > 0 ? BOOST_SPEED : 1.0f;
        }
        z += s;
        if (accelerating && s < 1.0f)
        {
            s += Player::RECOVERY_STEP;
            if (s > 1.0f)
            {
                s = 1.0f;
                accelerating = false;
            }
        }
        mZ[k] = z;
        mSlab[k] = s;
    }
}

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
                x += vx;
                if (x <= boulder->mMinX)
                {
                    x = boulder->mMinX + 0.005f;
                    vx = -vx;
                }
                if (x >= boulder->mMaxX)
                {
                    x = boulder->mMaxX - 0.005f;
                    vx = -vx;
                }
                vy += 0.002f;
                y += vy;
                if (y >= boulder->mFloorY)
                {
                    y = boulder->mFloorY - 0.005f;
                    vy *= -0.9f;
                }
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

// The runner's height frame by frame: its jump under way, a jump started at frame
// jumpAt (-1: none), a spring ridden at its meeting.
inline void Auto_Runner::PredictHeights(int jumpAt, const Meeting* spring, std::vector<float>& heights) const
{
    heights.assign(HORIZON + 1, gPlayer.mY);
    float y = gPlayer.mY, vy = gPlayer.mVelocityY, g = gPlayer.mGravity;
    bool air = gPlayer.mJumpState == 1;
    float factor = gCamera.GetDepthFactor(gPlayer.mZ);
    if (factor == 0.0f)
        factor = -1.0f;
    for (int k = 1; k <= HORIZON; ++k)
    {
        if (k - 1 == jumpAt && !air)
        {
            air = true;
            vy = Player::JUMP_VELOCITY;
            g = Player::JUMP_GRAVITY;
        }
        if (air)
        {
            vy += g;
            y += (-2.0f * vy) / factor;
            if (y < 0.0f)
            {
                y = 0.1f;
                vy = 0.0f;
            }
            else if (y > 1.0f)
            {
                y = 1.0f;
                air = false;
            }
        }
        heights[k] = y;
        if (spring && k == spring->mFrame && !air)
        {
            air = true;
            vy = -0.085f;
            g = 0.0005f;
        }
    }
}

// The span of runner positions across the corridor that would touch the entity if it
// stood at (ex, ey) with the runner at height py, by the collision test's own boxes.
inline bool Auto_Runner::BlockedSpan(const Entity& e, float ex, float ey, float py, float& lo,
                                     float& hi) const
{
    const float w = 2.0f * e.mSize * e.mHalfWidth, h = 2.0f * e.mSize * e.mHalfHeight;
    const Quad E = gCamera.ProjectBox(ex, ey, w, h, e.mZ);
    const Quad P0 = gCamera.ProjectBox(0.0f, py, 2.0f * gPlayer.mHalfWidth, 2.0f * gPlayer.mHalfHeight, e.mZ);
    const Quad P1 = gCamera.ProjectBox(1.0f, py, 2.0f * gPlayer.mHalfWidth, 2.0f * gPlayer.mHalfHeight, e.mZ);
    const float m = e.GetCollisionMargin();
    const bool required = !Dangerous(&e);
    const float safe = required ? -0.05f : SAFETY;
    const float eTop = E.mY + E.mHeight / 2, eBottom = E.mY - E.mHeight / 2;
    const float pTop = P0.mY + P0.mHeight / 2, pBottom = P0.mY - P0.mHeight / 2;
    if (!(pBottom + m < eTop + safe && pTop - m > eBottom - safe))
        return false;
    const float a = P0.mX, b = P1.mX - P0.mX;
    const float eLeft = E.mX - E.mWidth / 2, eRight = E.mX + E.mWidth / 2;
    lo = (eLeft - P0.mWidth / 2 + m - safe - a) / b;
    hi = (eRight + P0.mWidth / 2 - m + safe - a) / b;
    return lo < hi;
}

// Can the runner get through every meeting? Forward: where it can be at each meeting;
// backward: which of those places still lead through the rest.
// Only meetings up to frame `until` count; failFrame is the frame of the first one
// that cannot be got through.
inline bool Auto_Runner::Plan(const std::vector<Meeting>& meetings, int jumpAt, const Meeting* spring,
                              int until, Spans& firstSafe, int& firstFrame, int& failFrame) const
{
    std::vector<float> heights;
    PredictHeights(jumpAt, spring, heights);
    std::vector<std::pair<int, Spans>> steps; // frame, where the runner may be then
    Spans here = {{gPlayer.mX, gPlayer.mX}};
    int frame = 0;
    failFrame = HORIZON + 1;
    firstSafe = {{mLo, mHi}};
    firstFrame = HORIZON;
    for (size_t i = 0; i < meetings.size(); ++i)
    {
        const Meeting& m = meetings[i];
        if (m.mFrame > until)
            break;
        if (!Dangerous(m.mEntity) && &m != spring)
            continue;
        here = Expand(here, STEER * (m.mFrame - frame), mLo, mHi);
        frame = m.mFrame;
        float lo, hi;
        const bool touches = BlockedSpan(*m.mEntity, m.mX, m.mY, heights[m.mFrame], lo, hi);
        if (&m == spring)
            here = touches ? Keep(here, lo, hi) : Spans();
        else if (touches)
            here = Cut(here, lo, hi);
        if (here.empty())
        {
            failFrame = m.mFrame;
            return false;
        }
        if (!steps.empty() && steps.back().first == frame)
            steps.back().second = here;
        else
            steps.push_back({frame, here});
    }
    if (steps.empty())
        return true;
    Spans later = steps.back().second;
    for (size_t i = steps.size() - 1; i-- > 0;)
    {
        later = Both(steps[i].second, Expand(later, STEER * (steps[i + 1].first - steps[i].first), mLo, mHi));
        steps[i].second = later;
    }
    firstSafe = steps.front().second;
    firstFrame = steps.front().first;
    return true;
}

inline void Auto_Runner::Frame(Keyboard& keys)
{
    gPlayer.GetXRange(mLo, mHi);
    PredictRunner();
    const std::vector<Meeting> meetings = Meetings();

    const Meeting* spring = nullptr;
    for (const Meeting& m : meetings)
        if (m.mRequired)
        {
            spring = &m;
            break;
        }

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
        int windowEnd = -1, windowStart = -1;
        if (gPlayer.mJumpState == 0)
        {
            for (int j = std::min(failFrame, HORIZON - 1); j >= 0; --j)
            {
                int ff;
                const bool ok = Plan(meetings, j, nullptr, until, s, f, ff);
                if (ok && windowEnd < 0)
                    windowEnd = j;
                if (ok)
                    windowStart = j;
                if (!ok && windowEnd >= 0)
                    break;
            }
        }
        if (windowEnd >= 0)
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
                BlockedSpan(*m.mEntity, m.mX, m.mY, 1.0f, lo, hi) && gPlayer.mX > lo && gPlayer.mX < hi)
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
