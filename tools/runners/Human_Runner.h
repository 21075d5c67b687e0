// A runner that plays like a person, to measure how hard the levels are for one.
//
// Unlike the automatic runner it knows only what the screen shows: an object counts as
// seen once some of its box lies inside the window and enough of its own colour shows
// through the fog at its depth, and it is acted on only 250 ms after that; a moving
// boulder is judged from where it was 250 ms ago. It steers with limited precision (it
// aims a little off, lets go of the key when close enough, holds a key at least a
// moment), times its jumps with a spread, and now and then makes a mistake: it notices
// an obstacle late, misjudges where it stands, or times a jump badly. All chance comes
// from one seeded generator, so a run with the same seed is played the same way. It
// plays safe as people do: no threading of a needle when a wide way round exists, a
// second look after a knock, and a jump when pressed against something low.
//
// It drives the game through the real keys and the real frame of play (UpdatePlay),
// with the game's clock advanced by each frame's length, so the clock item's slow
// motion gives it more time as it gives a person.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <typeinfo>
#include <vector>

#include "Core/Clock.h"
#include "Core/Constants.h"
#include "Core/Game_Speed.h"
#include "Core/Game_Timer.h"
#include "App/Main_Loop.h"
#include "Graphics/Graphics.h"
#include "Graphics/Image_Bank.h"
#include "tools/runners/Auto_Runner.h"

namespace human_run
{

using run_plan::Spans;

struct Human_Traits
{
    float mReactionMs = 250.0f;
    float mSeenThroughFog = 0.35f; // share of an object's colour that must show through the fog
    float mPlanSteer = 0.012f;     // steering it counts on per frame (the game's 0.015 less doubt)
    float mMargin = 0.06f;         // screen units it keeps round an obstacle
    float mAimSpread = 0.025f;     // one sigma of where it aims, across the corridor
    float mCloseEnough = 0.02f;    // lets go of the key this near its aim
    float mShortestPressMs = 70.0f;
    float mJumpSpreadMs = 45.0f;  // one sigma of the moment it jumps
    float mMistakeChance = 0.05f; // per obstacle seen
    int mHorizon = 120;           // frames it plans ahead (it sees less than that anyway)
};

inline int32_t gClockMs = 0;
inline FILE* gTrace = nullptr; // where to list each knock taken, when set
inline int32_t Clock()
{
    return gClockMs;
}

// One object the runner has seen: when, and what it made of it.
struct Sighting
{
    const Entity* mEntity = nullptr;
    float mKnownAt = 0.0f;   // clock time from which it acts on it
    float mShiftX = 0.0f;    // a misjudged position, across the corridor
    float mJumpEarly = 0.0f; // frames it jumps early (negative: late) at this one
    struct State
    {
        float mMs, mX, mY, mZ, mVX, mVY;
    };
    std::deque<State> mSeen; // a moving boulder as it was seen, oldest first
};

// A meeting as this runner believes it, with the sighting it believes it from.
struct Meeting : run_plan::Meeting
{
    const Sighting* mSighting;
};

class Human_Runner : private run_plan::Planner
{
public:
    Human_Runner(uint32_t seed, const Human_Traits& traits = Human_Traits())
        : Planner(traits.mHorizon, traits.mPlanSteer, traits.mMargin), mRandom(seed), mTraits(traits)
    {
    }

    void Frame(auto_run::Keyboard& keys);
    int Mistakes() const { return mMistakes; }

private:
    bool Visible(const Entity& e);
    void Look();
    bool Perceived(const Sighting& s, Sighting::State& state) const;
    std::vector<Meeting> Meetings() const;
    float Gauss(float sigma) { return std::normal_distribution<float>(0.0f, sigma)(mRandom); }
    float Chance() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(mRandom); }

    std::mt19937 mRandom;
    Human_Traits mTraits;
    std::vector<Sighting> mSightings;
    float mAim = 0.5f, mAimFor = -1.0f, mAimOffset = 0.0f;
    int mPressing = 0; // -1 left, +1 right
    float mPressedAt = 0.0f;
    int mMistakes = 0;
};

inline bool Relevant(const Entity* e)
{
    return run_plan::Dangerous(e) || run_plan::Wanted(e);
}

// Drawn, inside the window, and clear enough of the fog to be told apart.
inline bool Human_Runner::Visible(const Entity& e)
{
    if (!e.mOnScreen || !e.mAlive)
        return false;
    const Quad q =
        gCamera.ProjectBox(e.mX, e.mY, 2.0f * e.mSize * e.mHalfWidth, 2.0f * e.mSize * e.mHalfHeight, e.mZ);
    const float halfWidth = Camera::GetVisibleHalfWidth(q.mZ);
    const float halfHeight = halfWidth * SCREEN_HEIGHT / SCREEN_WIDTH;
    if (halfWidth <= 0.0f || std::fabs(q.mX) - q.mWidth / 2.0f >= halfWidth ||
        std::fabs(q.mY) - q.mHeight / 2.0f >= halfHeight)
        return false;
    const float start = gGraphics.GetFogStart(), end = gGraphics.GetFogEnd();
    const float distance = VIEW_EYE_Z - q.mZ;
    const float clear = end > start ? (end - distance) / (end - start) : (distance < end ? 1.0f : 0.0f);
    return clear >= mTraits.mSeenThroughFog;
}

inline void Human_Runner::Look()
{
    const float now = static_cast<float>(gClockMs);
    const std::vector<std::unique_ptr<Entity>>& all = gEntities.GetEntities();
    const size_t first = gEntities.GetFirstIndex(), last = std::min(gEntities.GetLastIndex(), all.size());
    for (size_t i = first; i < last; ++i)
    {
        const Entity* e = all[i].get();
        if (e->mZ < gPlayer.mZ - 5.0f || !Relevant(e) || !Visible(*e))
            continue;
        auto known = std::find_if(mSightings.begin(), mSightings.end(),
                                  [e](const Sighting& s) { return s.mEntity == e; });
        if (known == mSightings.end())
        {
            Sighting s;
            s.mEntity = e;
            s.mKnownAt = now + mTraits.mReactionMs;
            // In steps of play, of which a slower game takes fewer a second.
            s.mJumpEarly =
                Gauss(mTraits.mJumpSpreadMs) * 60.0f / 1000.0f * gGameSpeed.GetPercent() / Game_Speed::FULL;
            if (run_plan::Dangerous(e) && Chance() < mTraits.mMistakeChance)
            {
                ++mMistakes;
                const float kind = Chance();
                if (kind < 0.4f)
                    s.mKnownAt += 150.0f + 300.0f * Chance(); // noticed late
                else if (kind < 0.7f)
                    s.mShiftX = (Chance() < 0.5f ? -1.0f : 1.0f) * (0.05f + 0.06f * Chance()); // misjudged
                else
                    s.mJumpEarly *= 3.5f; // a badly timed jump
            }
            mSightings.push_back(s);
            known = mSightings.end() - 1;
        }
        if (const Boulder* b = dynamic_cast<const Boulder*>(e))
        {
            known->mSeen.push_back({now, b->mX, b->mY, b->mZ, b->mSpeedX, b->mSpeedY});
            while (known->mSeen.size() > 2 && known->mSeen[1].mMs <= now - mTraits.mReactionMs)
                known->mSeen.pop_front();
        }
    }
    // Forget what is behind.
    mSightings.erase(std::remove_if(mSightings.begin(), mSightings.end(),
                                    [](const Sighting& s) { return s.mEntity->mZ < gPlayer.mZ - 20.0f; }),
                     mSightings.end());
}

// Where the runner believes the object is now (a boulder: as seen a reaction time ago).
inline bool Human_Runner::Perceived(const Sighting& s, Sighting::State& state) const
{
    const Entity& e = *s.mEntity;
    const float now = static_cast<float>(gClockMs);
    if (s.mKnownAt > now || !e.mSolid || !e.mAlive)
        return false;
    if (s.mSeen.empty())
    {
        state = {now, e.mX + s.mShiftX, e.mY, e.mZ, 0.0f, 0.0f};
        return true;
    }
    state = s.mSeen.front();
    for (const Sighting::State& seen : s.mSeen)
        if (seen.mMs <= now - mTraits.mReactionMs)
            state = seen;
    state.mX += s.mShiftX;
    return true;
}

inline std::vector<Meeting> Human_Runner::Meetings() const
{
    std::vector<Meeting> out;
    const float now = static_cast<float>(gClockMs);
    // A step of play lasts longer in a slower game: its boulders move less per millisecond.
    const float frameMs =
        (gTimer.GetTargetFrameTime() > 0.0f ? gTimer.GetTargetFrameTime() : 1000.0f / 60.0f) *
        Game_Speed::FULL / gGameSpeed.GetPercent();
    for (const Sighting& s : mSightings)
    {
        Sighting::State st;
        if (!Perceived(s, st))
            continue;
        const Entity* e = s.mEntity;
        const bool spring = dynamic_cast<const Spring*>(e) && e->mModel.mCurrentSet == 0;
        if (!run_plan::Dangerous(e) && !spring && !(run_plan::Wanted(e) && e->mOnScreen))
            continue;
        const Boulder* boulder = dynamic_cast<const Boulder*>(e);
        float x = st.mX, y = st.mY, z = st.mZ, vx = st.mVX, vy = st.mVY;
        // A boulder seen a while ago has rolled on since: carry it forward to now first.
        const int late = boulder ? static_cast<int>((now - st.mMs) / frameMs + 0.5f) : 0;
        for (int k = 1 - late; k <= mTraits.mHorizon; ++k)
        {
            if (boulder)
            {
                boulder->Bounce(x, y, vx, vy);
                z -= boulder->mRollSpeed;
            }
            if (k < 1)
                continue;
            if (mZ[k] <= z && z <= mZ[k] + std::max(mSlab[k], 0.0f))
            {
                out.push_back({{k, e, x, y, spring}, &s});
                break;
            }
            if (mZ[k] > z)
                break;
        }
    }
    std::sort(out.begin(), out.end(), [](const Meeting& a, const Meeting& b) { return a.mFrame < b.mFrame; });
    return out;
}

inline void Human_Runner::Frame(auto_run::Keyboard& keys)
{
    gPlayer.GetXRange(mLo, mHi);
    Look();
    // A knock makes it look again at what is right in front of it.
    if (gPlayer.mHitThisFrame)
        for (Sighting& s : mSightings)
            if (s.mEntity->mZ < gPlayer.mZ + 30.0f)
            {
                s.mShiftX = 0.0f;
                s.mJumpEarly = std::min(std::max(s.mJumpEarly, -2.0f), 2.0f);
            }
    PredictRunner();
    const std::vector<Meeting> meetings = Meetings();
    const int H = mTraits.mHorizon;

    const Meeting* spring = run_plan::FirstSpring(meetings);

    Spans safe;
    int safeFrame = H, fail = 0, f;
    bool jump = false;
    const Meeting* ride = nullptr;
    if (spring && gPlayer.mJumpState == 0 && Plan(meetings, -1, spring, H, safe, safeFrame, fail))
    {
        ride = spring;
    }
    else if (!Plan(meetings, -1, nullptr, H, safe, safeFrame, fail))
    {
        // Cannot steer round it: a jump, timed to the middle of the moments that clear
        // it, give or take this runner's own timing at this obstacle.
        const int until = fail + 5;
        int windowStart, windowEnd;
        if (JumpWindow(meetings, fail, until, windowStart, windowEnd))
        {
            float early = 0.0f;
            for (const Meeting& m : meetings)
                if (m.mFrame == fail)
                    early = m.mSighting->mJumpEarly;
            const float moment = 0.5f * (windowStart + windowEnd) - early;
            jump = moment <= 0.5f;
            Plan(meetings, std::max(0, static_cast<int>(moment + 0.5f)), nullptr, until, safe, safeFrame, f);
        }
        else
        {
            // Caught in front of it: head for the nearest opening there anyway (a knock
            // back gives time to reach it), not for what the blocked plan leaves.
            std::vector<float> ground;
            PredictHeights(-1, nullptr, ground);
            safe = {{mLo, mHi}};
            for (const Meeting& m : meetings)
            {
                float lo, hi;
                if (m.mFrame <= fail + 2 && run_plan::Dangerous(m.mEntity) &&
                    BlockedSpan(m, ground[m.mFrame], lo, hi))
                    safe = run_plan::Cut(safe, lo, hi);
            }
            if (safe.empty())
                safe = {{mLo, mHi}};
            safeFrame = fail;
            // Pressed against something low at a crawl: a jump lifts it over.
            bool low = fail <= 3 && gPlayer.mJumpState == 0;
            for (const Meeting& m : meetings)
                if (m.mFrame == fail && dynamic_cast<const Stalactite*>(m.mEntity))
                    low = false;
            jump = low;
        }
    }

    // A person does not thread a needle when there is a wide way round.
    {
        Spans wide;
        for (auto p : safe)
            if (p.second - p.first >= 0.04f)
                wide.push_back(p);
        if (!wide.empty())
            safe = wide;
    }

    // Where to go: the spring it rides, else the nearest pickup the plan allows, else the
    // middle of the opening nearest to it.
    float goal = 0.5f;
    {
        float best = 1e9f;
        for (auto p : safe)
        {
            const float d = std::fabs(run_plan::Nearest({p}, gPlayer.mX) - gPlayer.mX);
            if (d < best)
            {
                best = d;
                goal = 0.5f * (p.first + p.second);
            }
        }
    }
    if (ride)
    {
        goal = ride->mX;
    }
    else
    {
        for (const Meeting& m : meetings)
        {
            if (!run_plan::Wanted(m.mEntity) || m.mSpring)
                continue;
            if (std::fabs(m.mX - gPlayer.mX) > mTraits.mPlanSteer * m.mFrame)
                continue;
            if (m.mFrame <= safeFrame)
            {
                const Spans after = run_plan::Both(
                    run_plan::Expand({{m.mX, m.mX}}, mTraits.mPlanSteer * (safeFrame - m.mFrame), mLo, mHi),
                    safe);
                if (after.empty())
                    continue;
            }
            else if (run_plan::Nearest(safe, m.mX) != m.mX)
            {
                continue;
            }
            goal = m.mX;
            break;
        }
    }
    const float reach = mTraits.mPlanSteer * safeFrame;
    Spans allowed = run_plan::Keep(safe, gPlayer.mX - reach, gPlayer.mX + reach);
    if (allowed.empty())
        allowed = safe;
    float target = run_plan::Nearest(allowed, goal);
    for (auto p : allowed)
        if (target >= p.first && target <= p.second && p.second - p.first > 0.04f)
            target = std::min(std::max(target, p.first + 0.02f), p.second - 0.02f);

    // A person aims roughly: a new aim gets its own error, kept while the aim holds.
    if (std::fabs(target - mAimFor) > 0.05f)
    {
        mAimFor = target;
        mAimOffset = std::max(-2.5f * mTraits.mAimSpread,
                              std::min(2.5f * mTraits.mAimSpread, Gauss(mTraits.mAimSpread)));
    }
    else
    {
        mAimFor = target;
    }
    // It knows the opening it aims through: the error keeps it inside that opening.
    float lo = mLo, hi = mHi;
    for (auto p : allowed)
        if (target >= p.first && target <= p.second)
        {
            lo = std::max(lo, p.first);
            hi = std::min(hi, p.second);
        }
    mAim = std::min(std::max(target + mAimOffset, lo), hi);

    const float now = static_cast<float>(gClockMs);
    int want = 0;
    if (mAim < gPlayer.mX - mTraits.mCloseEnough)
        want = -1;
    else if (mAim > gPlayer.mX + mTraits.mCloseEnough)
        want = 1;
    // A key once pressed stays down a moment; a press the other way waits for it.
    if (mPressing != 0 && want != mPressing && now - mPressedAt < mTraits.mShortestPressMs)
        want = mPressing;
    if (want != mPressing)
    {
        mPressing = want;
        mPressedAt = now;
    }
    // ZQ_HUMAN_TRACE_AT=D lists its thinking frame by frame within 80 of distance D.
    if (const char* at = getenv("ZQ_HUMAN_TRACE_AT"))
        if (std::fabs(gPlayer.mZ - LEVEL_Z_OFFSET - std::atof(at)) < 80.0f)
        {
            FILE* to = gTrace ? gTrace : stderr;
            std::fprintf(to,
                         "z %.1f x %.3f speed %.2f ms %d known %zu aim %.3f target %.3f key %d jump %d safe",
                         gPlayer.mZ - LEVEL_Z_OFFSET, gPlayer.mX, gPlayer.mSpeed, gClockMs, mSightings.size(),
                         mAim, target, mPressing, jump);
            for (auto p : safe)
                std::fprintf(to, " [%.2f %.2f]", p.first, p.second);
            for (const Meeting& m : meetings)
                std::fprintf(to, " {%d %.2f %s}", m.mFrame, m.mX, typeid(*m.mEntity).name());
            std::fprintf(to, "\n");
        }
    const bool left = mPressing<0, right = mPressing> 0;
    keys.Want(left, right, jump);
}

struct Run_Report
{
    bool mFinished = false;
    bool mCaught = false;
    int mFrames = 0;
    int mHits = 0; // knocks taken (a knock lasting several frames counts once)
    int mMistakes = 0;
    int32_t mScore = 0;
};

// Sets the game up for headless runs: the images' sizes, the keys, the play state.
inline void SetUp()
{
    SetClockSource(&Clock);
    gImageBank.LoadImageList(IMAGE_PATH, IMAGE_INFO_FILE, nullptr);
    gInput.Init(0, SCREEN_WIDTH);
    gKeyboardControl = true;
    gMouseControl = false;
    gGameState.Init();
    SetUpPlay();
}

// Plays one level from its start as a new game would, with the cave's fog of start-up.
inline Run_Report PlayLevel(int level, uint32_t seed, const Human_Traits& traits = Human_Traits())
{
    auto_run::Keyboard keys;
    std::srand(seed);
    gClockMs = 0;
    gTimer.SetFps(TARGET_FPS);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    gGraphics.SetFogParameters(CAVE_FOG);
    auto_run::StartLevel(level, keys);

    Human_Runner runner(seed, traits);
    Run_Report r;
    gGameSpeed.SetPercent(gGameSpeed.GetPercent()); // every run steps alike
    const int limit =
        (static_cast<int>(gEntities.GetLastZ() * 3.0f) + 3000) * Game_Speed::FULL / gGameSpeed.GetPercent();
    bool wasHit = false;
    while (r.mFrames < limit)
    {
        // The runner looks and acts in every drawn frame; play steps in as many of them
        // as the game speed gives, as in the game's own loop.
        runner.Frame(keys);
        ++r.mFrames;
        gClockMs += static_cast<int32_t>(std::lround(gTimer.GetTargetFrameTime()));
        if (!gGameSpeed.TakeStep())
            continue;
        gInput.Update();
        UpdatePlay();
        if (gPlayer.mHitThisFrame && !wasHit)
        {
            ++r.mHits;
            if (gTrace)
            {
                std::fprintf(
                    gTrace, "knock at %.1f x %.3f y %.2f speed %.2f gap %.0f:", gPlayer.mZ - LEVEL_Z_OFFSET,
                    gPlayer.mX, gPlayer.mY, gPlayer.mSpeed, gPlayer.mZ - gEnvironment.gDragonDistance);
                for (const std::unique_ptr<Entity>& e : gEntities.GetEntities())
                    if (run_plan::Dangerous(e.get()) && std::fabs(e->mZ - gPlayer.mZ) < 3.0f)
                        std::fprintf(gTrace, " [%s x %.2f at %.0f]", typeid(*e).name(), e->mX,
                                     e->mZ - LEVEL_Z_OFFSET);
                std::fprintf(gTrace, "\n");
            }
        }
        wasHit = gPlayer.mHitThisFrame;
        if (gPlayer.IsCaught())
        {
            r.mCaught = true;
            break;
        }
        if (gEntities.IsLevelPassed())
        {
            r.mFinished = true;
            break;
        }
    }
    keys.ReleaseAll();
    gTimer.SetFps(TARGET_FPS);
    r.mMistakes = runner.Mistakes();
    r.mScore = gPlayer.mScore;
    return r;
}

} // namespace human_run
