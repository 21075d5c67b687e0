// What the automatic and the human-like runner both work out before they press a key:
// where the runner will be frame by frame, how high, which positions across the corridor
// would touch what it meets, and whether a way through all of it exists. The runners
// differ in what they know of the objects and how they act on the plan, not here.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "Core/Constants.h"
#include "Entities/Bone.h"
#include "Entities/Boost_Item.h"
#include "Entities/Boulder.h"
#include "Entities/Cloak_Item.h"
#include "Entities/Clock_Item.h"
#include "Entities/Player.h"
#include "Entities/Rock.h"
#include "Entities/Spike.h"
#include "Entities/Spinner_Item.h"
#include "Entities/Spring.h"
#include "Entities/Stalactite.h"
#include "Entities/Torch.h"
#include "Entities/Treasure.h"
#include "World/Camera.h"

namespace run_plan
{

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

// One thing the runner will meet: the frame it gets there and where the entity will be then.
struct Meeting
{
    int mFrame;
    const Entity* mEntity;
    float mX, mY;
    bool mSpring; // a loaded spring: be inside it, to ride it, rather than outside
};

// The first loaded spring it will meet, or null.
template <class M> const M* FirstSpring(const std::vector<M>& meetings)
{
    for (const M& m : meetings)
        if (m.mSpring)
            return &m;
    return nullptr;
}

// How a spring throws the runner.
struct Launch
{
    float mVelocity, mGravity;
};

class Planner
{
protected:
    // horizon: frames planned ahead; steer: steering counted on per frame; margin: screen
    // units kept round an obstacle; everySpring: the throw expected of every spring
    // (none: each spring's own).
    Planner(int horizon, float steer, float margin, std::optional<Launch> everySpring = std::nullopt)
        : mHorizon(horizon), mSteer(steer), mMargin(margin), mEverySpring(everySpring)
    {
    }

    // The runner's distance and slab length, frame by frame, into mZ and mSlab.
    void PredictRunner();
    // The runner's height frame by frame: its jump under way, a jump started at frame
    // jumpAt (-1: none), a spring ridden at its meeting.
    void PredictHeights(int jumpAt, const Meeting* spring, std::vector<float>& heights) const;
    // The span of runner positions across the corridor that would touch what it meets,
    // with the runner at height py, by the collision test's own boxes.
    bool BlockedSpan(const Meeting& m, float py, float& lo, float& hi) const;
    // Can the runner get through every meeting? Forward: where it can be at each meeting;
    // backward: which of those places still lead through the rest. Only meetings up to
    // frame `until` count; failFrame is the frame of the first one that cannot be got
    // through.
    template <class M>
    bool Plan(const std::vector<M>& meetings, int jumpAt, const Meeting* spring, int until, Spans& safe,
              int& safeFrame, int& failFrame) const;
    // The last run of jump frames, counting back from the frame that fails, whose plan gets
    // through up to `until`; false when none does or the runner is in the air.
    template <class M>
    bool JumpWindow(const std::vector<M>& meetings, int fail, int until, int& start, int& end) const;

    const int mHorizon;
    const float mSteer, mMargin;
    const std::optional<Launch> mEverySpring;
    std::vector<float> mZ, mSlab; // runner's distance and slab length, frame by frame
    float mLo = 0.0f, mHi = 1.0f; // where SetX lets the runner be
};

inline void Planner::PredictRunner()
{
    mZ.assign(mHorizon + 1, gPlayer.mZ);
    mSlab.assign(mHorizon + 1, gPlayer.mSpeed);
    float z = gPlayer.mZ, s = gPlayer.mSpeed;
    bool accelerating = gPlayer.mAccelerating;
    int boost = 0;
    if (const Boost_Item* b = dynamic_cast<const Boost_Item*>(gPlayer.mHeldItem))
        if (b->mHoldable && !gPlayer.mItemUseBlocked)
            boost = static_cast<int>(b->mTimer) + 1;
    for (int k = 1; k <= mHorizon; ++k)
    {
        if (boost > 0)
            s = --boost > 0 ? BOOST_SPEED : 1.0f;
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

inline void Planner::PredictHeights(int jumpAt, const Meeting* spring, std::vector<float>& heights) const
{
    heights.assign(mHorizon + 1, gPlayer.mY);
    float y = gPlayer.mY, vy = gPlayer.mVelocityY, g = gPlayer.mGravity;
    bool air = gPlayer.mJumpState == 1;
    float factor = gCamera.GetDepthFactor(gPlayer.mZ);
    if (factor == 0.0f)
        factor = -1.0f;
    for (int k = 1; k <= mHorizon; ++k)
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
                y = Player::JUMP_CEILING;
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
            const Spring* s = static_cast<const Spring*>(spring->mEntity);
            const Launch launch =
                mEverySpring ? *mEverySpring : Launch{s->mLaunchVelocity, s->mLaunchGravity};
            air = true;
            vy = launch.mVelocity;
            g = launch.mGravity;
        }
    }
}

inline bool Planner::BlockedSpan(const Meeting& m, float py, float& lo, float& hi) const
{
    // A spring or a pickup counts only with the runner well inside it.
    const float INSIDE = -0.05f;
    const Entity& e = *m.mEntity;
    const float w = 2.0f * e.mSize * e.mHalfWidth, h = 2.0f * e.mSize * e.mHalfHeight;
    const Quad E = gCamera.ProjectBox(m.mX, m.mY, w, h, e.mZ);
    const Quad P0 = gCamera.ProjectBox(0.0f, py, 2.0f * gPlayer.mHalfWidth, 2.0f * gPlayer.mHalfHeight, e.mZ);
    const Quad P1 = gCamera.ProjectBox(1.0f, py, 2.0f * gPlayer.mHalfWidth, 2.0f * gPlayer.mHalfHeight, e.mZ);
    const float margin = e.GetCollisionMargin();
    const float keep = Dangerous(&e) ? mMargin : INSIDE;
    const float eTop = E.mY + E.mHeight / 2, eBottom = E.mY - E.mHeight / 2;
    const float pTop = P0.mY + P0.mHeight / 2, pBottom = P0.mY - P0.mHeight / 2;
    if (!(pBottom + margin < eTop + keep && pTop - margin > eBottom - keep))
        return false;
    const float a = P0.mX, b = P1.mX - P0.mX;
    const float eLeft = E.mX - E.mWidth / 2, eRight = E.mX + E.mWidth / 2;
    lo = (eLeft - P0.mWidth / 2 + margin - keep - a) / b;
    hi = (eRight + P0.mWidth / 2 - margin + keep - a) / b;
    return lo < hi;
}

template <class M>
bool Planner::Plan(const std::vector<M>& meetings, int jumpAt, const Meeting* spring, int until, Spans& safe,
                   int& safeFrame, int& failFrame) const
{
    std::vector<float> heights;
    PredictHeights(jumpAt, spring, heights);
    std::vector<std::pair<int, Spans>> steps; // frame, where the runner may be then
    Spans here = {{gPlayer.mX, gPlayer.mX}};
    int frame = 0;
    failFrame = mHorizon + 1;
    safe = {{mLo, mHi}};
    safeFrame = mHorizon;
    for (const M& m : meetings)
    {
        if (m.mFrame > until)
            break;
        if (!Dangerous(m.mEntity) && &m != spring)
            continue;
        here = Expand(here, mSteer * (m.mFrame - frame), mLo, mHi);
        frame = m.mFrame;
        float lo, hi;
        const bool touches = BlockedSpan(m, heights[m.mFrame], lo, hi);
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
        later =
            Both(steps[i].second, Expand(later, mSteer * (steps[i + 1].first - steps[i].first), mLo, mHi));
        steps[i].second = later;
    }
    safe = steps.front().second;
    safeFrame = steps.front().first;
    return true;
}

template <class M>
bool Planner::JumpWindow(const std::vector<M>& meetings, int fail, int until, int& start, int& end) const
{
    end = start = -1;
    if (gPlayer.mJumpState != 0)
        return false;
    for (int j = std::min(fail, mHorizon - 1); j >= 0; --j)
    {
        Spans s;
        int f, ff;
        const bool ok = Plan(meetings, j, nullptr, until, s, f, ff);
        if (ok && end < 0)
            end = j;
        if (ok)
            start = j;
        if (!ok && end >= 0)
            break;
    }
    return end >= 0;
}

} // namespace run_plan
